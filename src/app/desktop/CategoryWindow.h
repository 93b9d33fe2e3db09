#pragma once

#include "intake/TrafficCategory.h"

#include <QWidget>

#include <cstdint>

class QLabel;
class QPushButton;
class QTimer;

namespace rovex {

class CategoryTablePanel;
class LiveTables;

// The window of one kind of traffic: its port table on the left, its address table on
// the right, and under them the log's status and the pause.
class CategoryWindow final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CategoryWindow)

public:
    CategoryWindow(LiveTables& tables, TrafficKind kind, QWidget* parent = nullptr);

    TrafficKind kind() const { return m_kind; }
    CategoryTablePanel& portPanel() const { return *m_ports; }
    CategoryTablePanel& addressPanel() const { return *m_addresses; }
    QLabel& statusLine() const { return *m_status; }
    QPushButton& pauseButton() const { return *m_pause; }

    // Holds both tables still, or lets them catch up in one go.
    void setPaused(bool paused);
    // Puts the focus in the filter field of the table last worked in.
    void focusFilter();
    // Says again what the log and the pause are at.
    void refreshStatus();

    // The "MainMenu" key of the window's title: "wininboundblocked" and so on.
    static const char* titleKey(TrafficKind kind);

Q_SIGNALS:
    // The information button of one of its tables.
    void informationRequested(rovex::TrafficCategory category, const QString& name, QWidget* sender);
    // The pie button of one of its tables.
    void pieRequested(rovex::TrafficCategory category, const QString& name, QWidget* sender);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QWidget* makeStatusBar();
    void addShortcuts();

    LiveTables& m_tables;
    TrafficKind m_kind;
    CategoryTablePanel* m_ports;
    CategoryTablePanel* m_addresses;
    QLabel* m_status;
    QPushButton* m_pause;
    QTimer* m_refresh;
    std::uint64_t m_linesAtPause = 0;
};

} // namespace rovex
