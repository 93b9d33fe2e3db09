#include "app/desktop/WindowPlaces.h"

#include <QCoreApplication>
#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QWidget>

namespace rovex {
namespace {

QString settingsKey(const QWidget& window) { return QStringLiteral("windows/") + window.objectName(); }

// The frame a window manager adds around a window: a title bar and a thin border, guessed
// until the manager has framed the window once.
QMargins frameOf(const QWidget& window)
{
    const QRect frame = window.frameGeometry();
    const QRect inner = window.geometry();
    const QMargins measured(inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
                            frame.bottom() - inner.bottom());
    static constexpr QMargins guessed(2, 28, 2, 2);
    return measured.isNull() ? guessed : measured;
}

QScreen* screenUnderPointer()
{
    QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    return screen != nullptr ? screen : QGuiApplication::primaryScreen();
}

} // namespace

WindowPlaces::WindowPlaces(QObject* parent) : QObject(parent)
{
    connect(qApp, &QCoreApplication::aboutToQuit, this, &WindowPlaces::saveAll);
}

void WindowPlaces::keep(QWidget& window, const QString& name)
{
    window.setObjectName(name);
    const QByteArray saved = QSettings().value(settingsKey(window)).toByteArray();
    if (!saved.isEmpty())
        window.restoreGeometry(saved);
    window.installEventFilter(this);
    m_windows.push_back(&window);
}

void WindowPlaces::saveAll() const
{
    for (const QWidget* window : m_windows) {
        if (window->isVisible())
            save(*window);
    }
}

void WindowPlaces::save(const QWidget& window) { QSettings().setValue(settingsKey(window), window.saveGeometry()); }

bool WindowPlaces::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Hide && watched->isWidgetType())
        save(*static_cast<QWidget*>(watched));
    return QObject::eventFilter(watched, event);
}

void WindowPlaces::tile(std::span<QWidget* const> windows)
{
    const QScreen* screen = screenUnderPointer();
    if (screen == nullptr || windows.empty())
        return;
    QSize smallest;
    QSize preferred;
    for (const QWidget* window : windows) {
        const QMargins frame = frameOf(*window);
        const QSize frameSize(frame.left() + frame.right(), frame.top() + frame.bottom());
        smallest = smallest.expandedTo(window->minimumSizeHint().expandedTo(window->minimumSize()) + frameSize);
        preferred = preferred.expandedTo(window->sizeHint() + frameSize);
    }
    const std::vector<QRect> cells = tiledPlaces(screen->availableGeometry(), windows.size(), smallest, preferred);
    for (std::size_t i = 0; i < windows.size(); ++i) {
        QWidget& window = *windows[i];
        window.setGeometry(cells[i].marginsRemoved(frameOf(window)));
    }
}

namespace {

struct Grid {
    int columns = 1;
    int rows = 1;
};

QSize cellOf(const QRect& available, Grid grid)
{
    return {available.width() / grid.columns, available.height() / grid.rows};
}

// How far a cell's shape is from the preferred one, as a ratio: 1 is the same shape.
double misshape(const QSize& cell, const QSize& preferred)
{
    const double ratio = (static_cast<double>(cell.width()) * preferred.height())
        / (static_cast<double>(cell.height()) * preferred.width());
    return ratio >= 1.0 ? ratio : 1.0 / ratio;
}

Grid chooseGrid(const QRect& available, int count, const QSize& smallest, const QSize& preferred)
{
    Grid best{1, count};
    double bestMisshape = -1.0;
    for (int columns = 1; columns <= count; ++columns) {
        const Grid grid{columns, (count + columns - 1) / columns};
        const QSize cell = cellOf(available, grid);
        if (cell.width() < smallest.width() || cell.height() < smallest.height())
            continue;
        const double shape = misshape(cell, preferred.isEmpty() ? smallest.expandedTo({1, 1}) : preferred);
        if (bestMisshape < 0.0 || shape < bestMisshape) {
            best = grid;
            bestMisshape = shape;
        }
    }
    return best;
}

} // namespace

std::vector<QRect> tiledPlaces(const QRect& available, std::size_t count, const QSize& smallest, const QSize& preferred)
{
    std::vector<QRect> cells;
    if (count == 0 || available.isEmpty())
        return cells;
    const Grid grid = chooseGrid(available, static_cast<int>(count), smallest, preferred);
    const QSize cell = cellOf(available, grid);
    for (int i = 0; i < static_cast<int>(count); ++i) {
        const QPoint corner(available.left() + (i % grid.columns) * cell.width(),
                            available.top() + (i / grid.columns) * cell.height());
        cells.emplace_back(corner, cell);
    }
    return cells;
}

} // namespace rovex
