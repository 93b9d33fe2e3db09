#pragma once

#include <QMenu>

namespace rovex {

class AppDelegate;

// The tray item's menu and its options submenu, built once at start-up and never changed
// afterwards but for the keep-in-front check mark. The entries the application keeps
// hold of are named; the others belong to the submenu.
class StatusMenu final {
public:
    StatusMenu();
    StatusMenu(const StatusMenu&) = delete;
    StatusMenu& operator=(const StatusMenu&) = delete;

    // Fills both menus in their fixed order and wires every entry to its action.
    void build(AppDelegate& delegate);

    QMenu& menu() { return m_menu; }
    QMenu& optionsmenu() { return m_optionsmenu; }

    QAction* blockeddownItem = nullptr;
    QAction* blockedupItem = nullptr;
    QAction* passeddownItem = nullptr;
    QAction* passedupItem = nullptr;
    QAction* tortaItem = nullptr;
    QAction* simplelogItem = nullptr;
    QAction* logsItem = nullptr;
    QAction* infoItem = nullptr;
    QAction* optionsItem = nullptr;
    QAction* showAllItem = nullptr;
    QAction* showAlwaysInFront = nullptr;
    QAction* updatesItem = nullptr;
    QAction* logFileItem = nullptr;
    QAction* allLayoutsItem = nullptr;

private:
    void buildStatusEntries(AppDelegate& delegate);
    void buildOptionsEntries(AppDelegate& delegate);

    QMenu m_menu;
    QMenu m_optionsmenu;
};

} // namespace rovex
