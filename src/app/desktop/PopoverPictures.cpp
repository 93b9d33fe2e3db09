#include "app/desktop/PopoverPictures.h"

#include "app/desktop/AppDelegate.h"
#include "app/desktop/CategoryTablePanel.h"
#include "app/desktop/CategoryWindow.h"
#include "app/desktop/TortaPopover.h"
#include "app/desktop/TrafficTableModel.h"
#include "app/stats/RXLogParser.h"
#include "app/stats/StatsPortPopover.h"
#include "app/stats/StatsWindow.h"
#include "app/desktop/WindowPictures.h"
#include "app/simplelog/LogStringPopover.h"
#include "app/simplelog/RXSimpleLogController.h"
#include "app/simplelog/SimpleLogDetailPopover.h"
#include "app/simplelog/SimpleLogWindow.h"
#include "app/widgets/AddressInfoPopover.h"
#include "app/widgets/PortInfoPopover.h"

#include <QApplication>
#include <QMessageBox>
#include <QSlider>
#include <QTimer>

#include <QAbstractItemModel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

namespace rovex {

namespace {

// Selects the row (a live table may have cut the one selected before), clicks the button,
// lets the lookups answer for a while, and pictures the window with the popover that opened.
QString pictureOfPopover(QWidget& window, QTableView& table, int row, QPushButton& button, QWidget& popover,
                         const QString& folder, const QString& name, int wait)
{
    table.selectRow(row);
    button.click();
    settle(wait);
    QString file = takeScreenPicture({&window, &popover}, folder, name);
    popover.hide();
    return file;
}

// Asks the version server and pictures the alert that answers, then closes it.
QString pictureOfVersionAlert(AppDelegate& delegate, const QString& folder)
{
    QString file;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &poll, [&poll, &file, &folder] {
        auto* alert = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (alert == nullptr)
            return;
        poll.stop();
        settle(300);
        file = takeScreenPicture({alert}, folder, QStringLiteral("version-alert"));
        alert->accept();
    });
    poll.start(50);
    delegate.checkforupdate();
    for (int waited = 0; poll.isActive() && waited < 5000; waited += 100)
        settle(100);
    return file;
}

// The pie of the top row of each table of the window.
QStringList picturesOfPies(AppDelegate& delegate, CategoryWindow& window, const QString& folder)
{
    QStringList written;
    for (CategoryTablePanel* panel : {&window.portPanel(), &window.addressPanel()}) {
        if (panel->table().model()->rowCount() == 0)
            continue;
        const QString name = isPortTable(panel->category()) ? QStringLiteral("pie-port")
                                                            : QStringLiteral("pie-address");
        written << pictureOfPopover(window, panel->table(), 0, panel->pieButton(), delegate.tortaPopover(), folder,
                                    name, 300);
    }
    return written;
}

// A run over the log and every archive, the window once it shows the result, and the port
// popover of the most frequent port.
QStringList picturesOfStatistics(RXLogParser& parser, const QString& folder)
{
    StatsWindow& window = parser.logswindow();
    parser.openLogsWindow();
    window.limitSlider().setValue(window.limitSlider().maximum());
    parser.getStats();
    for (int waited = 0; parser.isRunning() && waited < 20000; waited += 100)
        settle(100);
    settle(300);
    QStringList written{takeScreenPicture({&window}, folder, QStringLiteral("statistics"))};
    if (window.portsView().model()->rowCount() > 0) {
        written << pictureOfPopover(window, window.portsView(), 0, window.portinfobtn(), parser.portPopover(), folder,
                                    QStringLiteral("statistics-port"), 2000);
    }
    window.hide();
    return written;
}

// The window as a user works in it: both tables filtered, a row selected, and paused while
// lines go on arriving; then as it was.
QString pictureOfFilteredAndPaused(CategoryWindow& window, const QString& folder)
{
    CategoryTablePanel& ports = window.portPanel();
    CategoryTablePanel& addresses = window.addressPanel();
    const QAbstractItemModel& shown = *addresses.table().model();
    const QString country = shown.rowCount() > 0 ? shown.index(0, TrafficTableModel::CountryColumn).data().toString()
                                                 : QString();
    ports.filterField().setText(QStringLiteral("http"));
    ports.applyFilter();
    addresses.filterField().setText(country);
    addresses.applyFilter();
    addresses.table().selectRow(0);
    window.setPaused(true);
    settle(2000);
    window.refreshStatus();
    settle(200);
    QString file = takeScreenPicture({&window}, folder, QStringLiteral("inbound-blocked-filtered-paused"));
    window.setPaused(false);
    for (CategoryTablePanel* panel : {&ports, &addresses}) {
        panel->filterField().clear();
        panel->applyFilter();
    }
    return file;
}

} // namespace

QStringList takePopoverPictures(AppDelegate& delegate, const QString& folder)
{
    QStringList written;
    RXSimpleLogController& simpleLog = delegate.simpleLogController();
    SimpleLogWindow& window = delegate.simplewindow();
    window.show();
    window.raise();
    settle(300);
    QTableView& table = window.tableviewSimpleLog();
    if (table.model()->rowCount() > 0) {
        const auto newest = [&table] { return table.model()->rowCount() - 1; };
        written << pictureOfPopover(window, table, newest(), window.rowButton("showInfoSimpleLog"),
                                    simpleLog.popOverSL(), folder, QStringLiteral("simplelog-detail"), 300);
        written << pictureOfPopover(window, table, newest(), window.rowButton("openLogStringPopover"),
                                    simpleLog.logStringPopover(), folder, QStringLiteral("simplelog-rawline"), 300);
        written << pictureOfPopover(window, table, newest(), window.rowButton("infoPopoverSourceIP"),
                                    simpleLog.addrinfoPopover(), folder, QStringLiteral("simplelog-address"), 2500);
        written << pictureOfPopover(window, table, newest(), window.rowButton("infoPopoverDestinationPort"),
                                    delegate.portInfoPopOver(), folder, QStringLiteral("simplelog-port"), 500);
    }
    window.hide();
    CategoryWindow& blocked = delegate.categoryWindow(TrafficKind::BlockIn);
    blocked.show();
    blocked.raise();
    settle(300);
    CategoryTablePanel& addresses = blocked.addressPanel();
    if (addresses.table().model()->rowCount() > 0) {
        written << pictureOfPopover(blocked, addresses.table(), 0, addresses.infoButton(), simpleLog.addrinfoPopover(),
                                    folder, QStringLiteral("inbound-blocked-address"), 2500);
    }
    written << pictureOfFilteredAndPaused(blocked, folder);
    written << picturesOfPies(delegate, blocked, folder);
    written << picturesOfStatistics(delegate.logParser(), folder);
    if (delegate.versionCheck() != nullptr)
        written << pictureOfVersionAlert(delegate, folder);
    written.removeAll(QString());
    return written;
}

} // namespace rovex
