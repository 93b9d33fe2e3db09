#pragma once

#include <QWidget>

class QMenu;
class QSystemTrayIcon;

namespace rovex {

class IconView;

// Where the desktop has no tray: a small window with the item's icon that opens the same
// menu the tray would.
class LauncherWindow final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LauncherWindow)

public:
    LauncherWindow(QMenu& menu, QSystemTrayIcon* item, QWidget* parent = nullptr);

    IconView& iconView() const { return *m_iconView; }
    // Opens the menu under the icon.
    void popUpMenu();

Q_SIGNALS:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QMenu& m_menu;
    IconView* m_iconView;
};

} // namespace rovex
