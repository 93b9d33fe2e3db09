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

namespace {

// Lets the display catch up with what was shown: a few turns of the event loop.
void settle(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

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
