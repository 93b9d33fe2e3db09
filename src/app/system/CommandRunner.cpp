#include "app/system/CommandRunner.h"

#include "app/system/ProcessRun.h"

#include <QByteArray>
#include <QChar>
#include <QStringDecoder>

namespace rovex {

namespace {

QString strictUtf8(const QByteArray& bytes)
{
    // Stateless: a sequence cut off at the end is an error, not something to wait for.
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = decoder.decode(bytes);
    return decoder.hasError() ? QString() : text;
}

QString asciiWithReplacement(const QByteArray& bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        text.append(value < 0x80 ? QChar(char16_t {value}) : QChar(QChar::ReplacementCharacter));
    }
    return text;
}

} // namespace

QString eseguiShellCommand(const QString& executable, const QStringList& argomenti,
                           OutputDecoding decoding)
{
    const ProcessRun run = runToEnd(executable, argomenti, CapturedStreams::Both);
    return decoding == OutputDecoding::Utf8 ? strictUtf8(run.captured)
                                            : asciiWithReplacement(run.captured);
}

} // namespace rovex
