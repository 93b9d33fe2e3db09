#pragma once

#include "intake/TrafficCategory.h"

#include <QWidget>

namespace rovex {

class CategoryTablePanel;
class LiveTables;

// The window of one kind of traffic: its port table on the left, its address table on
// the right.
class CategoryWindow final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CategoryWindow)

public:
    CategoryWindow(LiveTables& tables, TrafficKind kind, QWidget* parent = nullptr);

    TrafficKind kind() const { return m_kind; }
    CategoryTablePanel& portPanel() const { return *m_ports; }
    CategoryTablePanel& addressPanel() const { return *m_addresses; }

    // The "MainMenu" key of the window's title: "wininboundblocked" and so on.
    static const char* titleKey(TrafficKind kind);

Q_SIGNALS:
    // The information button of one of its tables.
    void informationRequested(rovex::TrafficCategory category, const QString& name, QWidget* sender);
    // The pie button of one of its tables.
    void pieRequested(rovex::TrafficCategory category, const QString& name, QWidget* sender);

private:
    TrafficKind m_kind;
    CategoryTablePanel* m_ports;
    CategoryTablePanel* m_addresses;
};

} // namespace rovex
