#include "app/images/ThemeIconFile.h"

#include <QFileInfo>
#include <QIcon>
#include <QSet>
#include <QSettings>
#include <QStringList>

#include <cstdlib>
#include <limits>

namespace rovex {

namespace {

struct Candidate {
    QString path;
    int distance = std::numeric_limits<int>::max();
};

// How far the icons of one theme folder are from SIZE, by the folder's Type.
int sizeDistance(const QSettings& index, const QString& folder, int size)
{
    const int nominal = index.value(folder + QStringLiteral("/Size")).toInt();
    const QString type = index.value(folder + QStringLiteral("/Type"), QStringLiteral("Threshold")).toString();
    int low = nominal;
    int high = nominal;
    if (type == QStringLiteral("Scalable")) {
        low = index.value(folder + QStringLiteral("/MinSize"), nominal).toInt();
        high = index.value(folder + QStringLiteral("/MaxSize"), nominal).toInt();
    } else if (type != QStringLiteral("Fixed")) {
        const int threshold = index.value(folder + QStringLiteral("/Threshold"), 2).toInt();
        low = nominal - threshold;
        high = nominal + threshold;
    }
    return size < low ? low - size : (size > high ? size - high : 0);
}

// Only files a notification server can open: never Qt resources.
QStringList readableSearchPaths(const QStringList& paths)
{
    QStringList readable;
    for (const QString& path : paths)
        if (!path.startsWith(u':'))
            readable.append(path);
    return readable;
}

// PNG first: every notification server reads it.
QString iconIn(const QString& folder, const QString& name)
{
    for (const QString& suffix : {QStringLiteral(".png"), QStringLiteral(".svg"), QStringLiteral(".xpm")}) {
        const QString path = folder + u'/' + name + suffix;
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
}

QString indexOf(const QString& theme, const QStringList& bases)
{
    for (const QString& base : bases) {
        const QString index = base + u'/' + theme + QStringLiteral("/index.theme");
        if (QFileInfo(index).isFile())
            return index;
    }
    return {};
}

// The best icon of one theme over all search paths; its index also names the themes it
// inherits from.
Candidate bestInTheme(const QSettings& index, const QString& theme, const QStringList& bases,
                      const QString& name, int size)
{
    Candidate best;
    const QStringList folders = index.value(QStringLiteral("Icon Theme/Directories")).toStringList();
    for (const QString& folder : folders) {
        if (index.value(folder + QStringLiteral("/Scale"), 1).toInt() != 1)
            continue;
        const int distance = sizeDistance(index, folder, size);
        if (distance >= best.distance)
            continue;
        for (const QString& base : bases) {
            if (const QString path = iconIn(base + u'/' + theme + u'/' + folder, name); !path.isEmpty()) {
                best = {path, distance};
                break;
            }
        }
    }
    return best;
}

// The theme and the themes it inherits from, nearest first; a theme already searched
// (inherited twice, or in a loop) is skipped.
QString searchFrom(const QString& first, const QStringList& bases, const QString& name, int size,
                   QSet<QString>& searched)
{
    QStringList themes{first};
    for (qsizetype next = 0; next < themes.size(); ++next) {
        const QString theme = themes[next];
        if (theme.isEmpty() || searched.contains(theme))
            continue;
        searched.insert(theme);
        const QString indexFile = indexOf(theme, bases);
        if (indexFile.isEmpty())
            continue;
        const QSettings index(indexFile, QSettings::IniFormat);
        if (const Candidate best = bestInTheme(index, theme, bases, name, size); !best.path.isEmpty())
            return best.path;
        themes.append(index.value(QStringLiteral("Icon Theme/Inherits")).toStringList());
    }
    return {};
}

} // namespace

QString ThemeIconFile::find(const QString& name, int size)
{
    if (name.isEmpty() || name.contains(u'/'))
        return {};
    const QStringList bases = readableSearchPaths(QIcon::themeSearchPaths());
    QSet<QString> searched;
    for (const QString& theme : {QIcon::themeName(), QIcon::fallbackThemeName(), QStringLiteral("hicolor")})
        if (const QString path = searchFrom(theme, bases, name, size, searched); !path.isEmpty())
            return path;
    for (const QString& folder : readableSearchPaths(QIcon::fallbackSearchPaths()))
        if (const QString path = iconIn(folder, name); !path.isEmpty())
            return path;
    return {};
}

} // namespace rovex
