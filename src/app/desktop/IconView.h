#pragma once

#include <QIcon>
#include <QWidget>

#include <functional>

class QSystemTrayIcon;

namespace rovex {

// The menu item's icon as a small square widget of its own: drawn highlighted while
// selected, and calling back when pressed. The launcher window uses it where the desktop
// has no tray.
class IconView : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(IconView)

public:
    // Side of the square: a panel's usual icon height.
    static constexpr int thickness = 24;

    // The name is not used: the view always shows "visualizermini".
    IconView(const QString& imageName, QSystemTrayIcon* item, QWidget* parent = nullptr);

    const QIcon& image() const { return m_image; }
    void setImage(const QIcon& image);
    QSystemTrayIcon* item() const { return m_item; }
    void setItem(QSystemTrayIcon* item) { m_item = item; }
    const std::function<void()>& onMouseDown() const { return m_onMouseDown; }
    void setOnMouseDown(std::function<void()> callback);
    bool isSelected() const { return m_isSelected; }
    // Repaints only when the value changes.
    void setIsSelected(bool selected);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QIcon m_image;
    QSystemTrayIcon* m_item;
    std::function<void()> m_onMouseDown = [] {};
    bool m_isSelected = false;
};

} // namespace rovex
