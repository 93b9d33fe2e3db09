#pragma once

#include <QObject>
#include <QRect>
#include <QString>

#include <span>
#include <vector>

class QScreen;
class QWidget;

namespace rovex {

// Where the application's windows go: each kept window is put back at the size and place
// it had in the last run, and "Show all windows" lays them side by side on one screen.
class WindowPlaces final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WindowPlaces)

public:
    explicit WindowPlaces(QObject* parent = nullptr);

    // Restores the window's saved size and place (settings key "windows/NAME"), and saves
    // them whenever it is hidden and when the application quits.
    void keep(QWidget& window, const QString& name);
    void saveAll() const;

    // Shows the windows without covering each other on the screen: the screen under the
    // pointer, else the primary one.
    static void tile(std::span<QWidget* const> windows);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static void save(const QWidget& window);

    std::vector<QWidget*> m_windows;
};

// Cells of a grid over the area for count windows, row by row. Of the grids whose cells hold
// the windows' smallest size, the one whose cells are shaped most like the windows'
// preferred size; where none does (a small screen), one window per row.
std::vector<QRect> tiledPlaces(const QRect& available, std::size_t count, const QSize& smallest,
                               const QSize& preferred);

} // namespace rovex
