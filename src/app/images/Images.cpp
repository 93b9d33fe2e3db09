#include "app/images/Images.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QMutex>
#include <QMutexLocker>
#include <QPainter>
#include <QSaveFile>
#include <QStandardPaths>
#include <QSvgRenderer>

namespace rovex {

namespace {

// Notification servers show images at about 48 px; a larger file scales down cleanly.
constexpr int fileImageSize = 64;

void forgetAll();

struct Store {
    // Icons hold pixmaps and engines from plugins: they go with the application, not in
    // the static destructors after it.
    Store() { qAddPostRoutine(forgetAll); }

    QMutex mutex;
    QString flagsFolder = QStringLiteral("/usr/share/flags/countries/16x11");
    QHash<QString, QIcon> icons;
    QHash<QString, QString> files;
};

Store& store()
{
    static Store instance;
    return instance;
}

void forgetAll()
{
    Store& instance = store();
    const QMutexLocker lock(&instance.mutex);
    instance.icons.clear();
    instance.files.clear();
}

// Names come from the firewall product's library file too. A name with a path in it
// would reach beyond the app's images (QIcon::fromTheme loads an absolute path as it is).
bool isPlainName(const QString& name)
{
    return !name.isEmpty() && !name.startsWith(u'.') && !name.contains(u'/') && !name.contains(u'\\');
}

QString ownResource(const QString& name)
{
    for (const QString& suffix : {QStringLiteral(".svg"), QStringLiteral(".png")}) {
        const QString path = QStringLiteral(":/icons/") + name + suffix;
        if (QFileInfo::exists(path))
            return path;
    }
    return {};
}

bool isCountryCode(const QString& name)
{
    const auto isLower = [](QChar c) { return c >= u'a' && c <= u'z'; };
    return name.size() == 2 && isLower(name[0]) && isLower(name[1]);
}

QString flagFile(const QString& name, const QString& folder)
{
    if (!isCountryCode(name))
        return {};
    const QString path = folder + u'/' + name + QStringLiteral(".png");
    return QFileInfo(path).isFile() ? path : QString();
}

QIcon lookUp(const QString& name, const QString& flagsFolder)
{
    if (!isPlainName(name))
        return {};
    if (const QString own = ownResource(name); !own.isEmpty())
        return QIcon(own);
    if (const QString flag = flagFile(name, flagsFolder); !flag.isEmpty())
        return QIcon(flag);
    return QIcon::fromTheme(name);
}

QImage ownImage(const QString& resource)
{
    if (!resource.endsWith(QStringLiteral(".svg")))
        return QImage(resource);
    QSvgRenderer renderer(resource);
    QImage image(fileImageSize, fileImageSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

// The runtime folder is cleared at logout, which suits files that are only a cache; a
// session without one falls back to the user's cache folder.
QString renderFolder()
{
    QString base;
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        base = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (base.isEmpty())
        base = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    return base.isEmpty() ? QString() : base + QStringLiteral("/rovex-logs-visualizer/icons");
}

// Written whole or not at all: a notification server never reads half a file.
QString saved(const QImage& image, const QString& name)
{
    const QString folder = renderFolder();
    if (image.isNull() || folder.isEmpty() || !QDir().mkpath(folder))
        return {};
    QSaveFile file(folder + u'/' + name + QStringLiteral(".png"));
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit())
        return {};
    return file.fileName();
}

QString findFile(const QString& name)
{
    if (const QString own = ownResource(name); !own.isEmpty())
        return saved(ownImage(own), name);
    if (const QString flag = flagFile(name, Images::flagsFolder()); !flag.isEmpty())
        return flag;
    // An icon of the desktop's theme: hand over what the app shows, rendered.
    const QIcon icon = Images::named(name);
    return icon.isNull() ? QString() : saved(icon.pixmap(fileImageSize).toImage(), name);
}

} // namespace

QIcon Images::named(const QString& name)
{
    Store& cache = store();
    const QMutexLocker lock(&cache.mutex);
    if (const auto found = cache.icons.constFind(name); found != cache.icons.cend())
        return *found;
    const QIcon icon = lookUp(name, cache.flagsFolder);
    cache.icons.insert(name, icon);
    return icon;
}

QString Images::filePath(const QString& name)
{
    if (!isPlainName(name))
        return {};
    Store& cache = store();
    {
        const QMutexLocker lock(&cache.mutex);
        // A known file is handed out again while it exists (the runtime folder may have
        // been cleared since); a name known to have no image is not looked up again.
        if (const auto known = cache.files.constFind(name); known != cache.files.cend())
            if (known->isEmpty() || QFileInfo::exists(*known))
                return *known;
    }
    const QString file = findFile(name);
    if (!file.isEmpty() || named(name).isNull()) {
        const QMutexLocker lock(&cache.mutex);
        cache.files.insert(name, file);
    }
    return file;
}

void Images::setFlagsFolder(const QString& folder)
{
    Store& cache = store();
    const QMutexLocker lock(&cache.mutex);
    cache.flagsFolder = folder;
    // Any name may have been a flag, or missed one, in the folder before.
    cache.icons.clear();
    cache.files.clear();
}

QString Images::flagsFolder()
{
    Store& cache = store();
    const QMutexLocker lock(&cache.mutex);
    return cache.flagsFolder;
}

} // namespace rovex
