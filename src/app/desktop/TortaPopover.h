#pragma once

#include "app/widgets/Popover.h"
#include "chart/RXDiaObj.h"
#include "intake/TrafficCategory.h"

#include <QStringList>

#include <optional>
#include <vector>

class QLabel;
class QPushButton;
class QTableView;
class QToolButton;

namespace rovex {

class CustomCircle;
class PieLegendModel;

// The pie of what was seen with one row of a traffic table: the chart, its legend, and
// under it the hand-off of the selected slices (blacklist, the group menu with "add to
// group" and export) and the information about the selected slice.
class TortaPopover final : public Popover {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TortaPopover)

public:
    explicit TortaPopover(QWidget* parent = nullptr);

    // The slices of the previous pie go; these fill the legend and a new chart.
    void makegrafico(std::vector<RXDiaObj> slices);
    // The pie of a row of the table, opened beside the sender (port tables to its left,
    // address tables to its right); a row without a name fills the legend but opens nothing.
    void showPie(TrafficCategory category, const QString& name, std::vector<RXDiaObj> slices, const QWidget* sender);

    // "PORT" while it shows the addresses of a port, "IP" while it shows the ports of an
    // address; empty before the first pie.
    const QString& tortaPopoverIPorPORT() const { return m_tortaPopoverIPorPORT; }
    const std::vector<RXDiaObj>& valoripassatitemporanei() const { return m_valoripassatitemporanei; }
    // The names of the slices the user selected in the legend, in selection order.
    QStringList selectedSliceNames() const;
    // The selected slice highest up in the legend; nothing without a selection.
    std::optional<QString> topSelectedSliceName() const;

    CustomCircle* chart() const { return m_chart; }
    QWidget& grafico() const { return *m_grafico; }
    QLabel& tortaLabel() const { return *m_tortaLabel; }
    QLabel& iconaPort() const { return *m_iconaPort; }
    QLabel& iconaAddress() const { return *m_iconaAddress; }
    QTableView& legend() const { return *m_legend; }
    PieLegendModel& controllerLegenda() const { return *m_controllerLegenda; }
    QPushButton& tortablacklist() const { return *m_tortablacklist; }
    QToolButton& tortaPopup() const { return *m_tortaPopup; }
    QAction& addToGroupEntry() const { return *m_addToGroup; }
    QAction& exportEntry() const { return *m_export; }
    QPushButton& infoButton() const { return *m_info; }

Q_SIGNALS:
    void blacklistTorta();
    void addToGroupTorta();
    void exportTorta();
    void infoContenutoTortaPopoverIPorPort(QWidget* sender);

private:
    void dia();
    QLayout* makeHeader();
    QLayout* makeButtons();
    void configureLegend();

    QWidget* m_grafico;
    CustomCircle* m_chart = nullptr;
    QLabel* m_tortaLabel;
    QLabel* m_iconaPort;
    QLabel* m_iconaAddress;
    QTableView* m_legend;
    PieLegendModel* m_controllerLegenda;
    QPushButton* m_tortablacklist;
    QToolButton* m_tortaPopup;
    QAction* m_addToGroup;
    QAction* m_export;
    QPushButton* m_info;
    QString m_tortaPopoverIPorPORT;
    std::vector<RXDiaObj> m_valoripassatitemporanei;
};

} // namespace rovex
