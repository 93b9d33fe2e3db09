#include "app/desktop/WindowPictures.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <iostream>

namespace rovex {

void settle(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

namespace {

QPixmap grab(QWidget& window)
{
    QScreen* screen = window.screen();
    if (screen == nullptr)
        return {};
    // The offscreen platform has no screen to grab from: the window's own rendering is the
    // fallback there.
    QPixmap picture = screen->grabWindow(window.winId());
    return picture.isNull() ? window.grab() : picture;
}

} // namespace

QString takeScreenPicture(const QList<QWidget*>& shown, const QString& folder, const QString& name)
{
    if (shown.isEmpty() || !QDir().mkpath(folder))
        return {};
    settle(400);
    QRect area;
    for (const QWidget* widget : shown)
        area |= widget->frameGeometry();
    QScreen* screen = shown.front()->screen();
    QPixmap picture = screen != nullptr ? screen->grabWindow(0, area.x(), area.y(), area.width(), area.height())
                                        : QPixmap();
    // Offscreen there is no screen to grab: the first widget's own rendering stands in.
    if (picture.isNull())
        picture = shown.front()->grab();
    const QString file = QDir(folder).filePath(name + QStringLiteral(".png"));
    return picture.save(file) ? file : QString();
}

QStringList takeWindowPictures(const QList<QPair<QString, QWidget*>>& windows, const QString& folder)
{
    QStringList written;
    QList<QWidget*> wereShown;
    for (const auto& entry : windows) {
        if (entry.second->isVisible())
            wereShown << entry.second;
    }
    if (!QDir().mkpath(folder)) {
        std::cout << "cannot create " << folder.toStdString() << std::endl;
        return written;
    }
    for (const auto& [name, window] : windows) {
        for (const auto& other : windows)
            other.second->setVisible(other.second == window);
        window->show();
        window->raise();
        window->activateWindow();
        settle(400);
        const QString file = QDir(folder).filePath(name + QStringLiteral(".png"));
        if (grab(*window).save(file))
            written << file;
        else
            std::cout << "no picture of " << name.toStdString() << std::endl;
    }
    for (const auto& entry : windows)
        entry.second->setVisible(wereShown.contains(entry.second));
    return written;
}

} // namespace rovex
