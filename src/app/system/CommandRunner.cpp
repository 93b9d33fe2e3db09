#include "app/system/CommandRunner.h"

#include "app/system/ProcessRun.h"
#include "text/AsciiText.h"

#include <QByteArray>
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

} // namespace

QString eseguiShellCommand(const QString& executable, const QStringList& argomenti, OutputDecoding decoding)
{
    const ProcessRun run = runToEnd(executable, argomenti, CapturedStreams::Both);
    if (decoding == OutputDecoding::Utf8)
        return strictUtf8(run.captured);
    const std::string_view bytes(run.captured.constData(), static_cast<std::size_t>(run.captured.size()));
    return QString::fromStdString(asciiText(bytes));
}

} // namespace rovex
