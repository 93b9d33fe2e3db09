#pragma once

#include "app/desktop/IgnoreListModel.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QListView;
class QPushButton;

namespace rovex {

class LiveTables;

// The two ignore lists side by side, each with the button that takes the selected names
// off it again and a field to add a name by hand. The lists hold for all four windows.
class IgnoreListWindow final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(IgnoreListWindow)

public:
    explicit IgnoreListWindow(LiveTables& tables, QWidget* parent = nullptr);

    QListView& tableIgnorePorts() const { return *m_ports.list; }
    QListView& tableIgnoreIp() const { return *m_addresses.list; }
    QPushButton& stopIgnoringPorts() const { return *m_ports.unignore; }
    QPushButton& stopIgnoringIp() const { return *m_addresses.unignore; }
    QLineEdit& portField() const { return *m_ports.field; }
    QLineEdit& addressField() const { return *m_addresses.field; }
    QPushButton& addPortButton() const { return *m_ports.add; }
    QPushButton& addAddressButton() const { return *m_addresses.add; }
    // Why the last name typed was refused; empty after one was taken.
    QString refusal() const;

    void deIgnorePort();
    void deIgnoreIp();
    // Puts the name typed in the list's field on the list, once checked.
    void addTypedPort();
    void addTypedAddress();

private:
    // The widgets of one list.
    struct Column {
        QListView* list = nullptr;
        QPushButton* unignore = nullptr;
        QLineEdit* field = nullptr;
        QPushButton* add = nullptr;
    };

    QWidget* makeColumn(const char* titleKey, Column& column, void (IgnoreListWindow::*unignore)(),
                        void (IgnoreListWindow::*add)());
    void addTyped(IgnoreListModel::Kind kind, Column& column);

    LiveTables& m_tables;
    Column m_ports;
    Column m_addresses;
    QLabel* m_refusal;
};

} // namespace rovex
