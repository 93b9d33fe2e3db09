#pragma once

#include <QWidget>

class QListView;
class QPushButton;

namespace rovex {

class LiveTables;

// The two ignore lists side by side, each with the button that takes the selected names
// off it again.
class IgnoreListWindow final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(IgnoreListWindow)

public:
    explicit IgnoreListWindow(LiveTables& tables, QWidget* parent = nullptr);

    QListView& tableIgnorePorts() const { return *m_ports; }
    QListView& tableIgnoreIp() const { return *m_addresses; }

    void deIgnorePort();
    void deIgnoreIp();

private:
    QWidget* makeColumn(const char* titleKey, QListView* list, void (IgnoreListWindow::*action)());

    LiveTables& m_tables;
    QListView* m_ports;
    QListView* m_addresses;
};

} // namespace rovex
