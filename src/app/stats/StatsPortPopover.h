#pragma once

#include "app/widgets/Popover.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableView;

namespace rovex {

class BusyIndicator;
class StatsEntryModel;

// A port of the statistics: its service-table lines and the addresses seen on it in the
// last run, built in the background while the indicator turns.
class StatsPortPopover final : public Popover {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(StatsPortPopover)

public:
    explicit StatsPortPopover(QWidget* parent = nullptr);

    QLabel& portLabel() const { return *m_portLabel; }
    QPlainTextEdit& portServiceName() const { return *m_portServiceName; }
    BusyIndicator& portProgress() const { return *m_portProgress; }
    QTableView& ipforportScrollView() const { return *m_ipforportScrollView; }
    StatsEntryModel& ipForPortCollViewArray() const { return *m_ipForPort; }
    QPushButton& closebtn() const { return *m_closebtn; }
    QPushButton& ipinfobtn() const { return *m_ipinfobtn; }

private:
    QLabel* m_portLabel;
    QPlainTextEdit* m_portServiceName;
    BusyIndicator* m_portProgress;
    StatsEntryModel* m_ipForPort;
    QTableView* m_ipforportScrollView;
    QPushButton* m_ipinfobtn;
    QPushButton* m_closebtn;
};

} // namespace rovex
