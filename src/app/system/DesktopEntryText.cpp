#include "app/system/DesktopEntryText.h"

#include <QStringView>

#include <algorithm>

namespace rovex {

namespace {

// The characters that oblige an Exec argument to be quoted.
constexpr QStringView reservedInExec = u" \t\n\"'\\><~|&;$*?#()`";
// The characters escaped with a backslash inside the quotes.
constexpr QStringView escapedInQuotes = u"\"`$\\";

bool needsQuotes(const QString& argument)
{
    return std::any_of(argument.cbegin(), argument.cend(), [](const QChar c) { return reservedInExec.contains(c); });
}

QString quoted(const QString& argument)
{
    QString text = QStringLiteral("\"");
    for (const QChar c : argument) {
        if (escapedInQuotes.contains(c))
            text.append(u'\\');
        text.append(c);
    }
    text.append(u'"');
    return text;
}

// The escapes of a string value; the file is read with these undone before the Exec
// quoting is, so they come last.
QString escapedStringValue(const QString& value)
{
    QString text;
    text.reserve(value.size());
    for (const QChar c : value) {
        switch (c.unicode()) {
        case u'\\': text.append(u"\\\\"); break;
        case u'\n': text.append(u"\\n"); break;
        case u'\t': text.append(u"\\t"); break;
        case u'\r': text.append(u"\\r"); break;
        default: text.append(c); break;
        }
    }
    return text;
}

} // namespace

QString desktopExecArgument(const QString& argument)
{
    QString exec = needsQuotes(argument) ? quoted(argument) : argument;
    exec.replace(u'%', QStringLiteral("%%"));
    return escapedStringValue(exec);
}

QString autostartEntryText(const QString& executable)
{
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=RovexLogsVisualizer\n"
                          "Comment=Live view of the pf firewall log\n")
        + u"Exec=" + desktopExecArgument(executable) + u'\n'
        + QStringLiteral("Icon=rovex-logs-visualizer\n"
                         "Terminal=false\n"
                         "X-GNOME-Autostart-enabled=true\n");
}

} // namespace rovex
