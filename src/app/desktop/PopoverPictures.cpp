#include "app/desktop/PopoverPictures.h"

#include "app/desktop/AppDelegate.h"
#include "app/desktop/CategoryTablePanel.h"
#include "app/desktop/CategoryWindow.h"
#include "app/desktop/WindowPictures.h"
#include "app/simplelog/LogStringPopover.h"
#include "app/simplelog/RXSimpleLogController.h"
#include "app/simplelog/SimpleLogDetailPopover.h"
#include "app/simplelog/SimpleLogWindow.h"
#include "app/widgets/AddressInfoPopover.h"
#include "app/widgets/PortInfoPopover.h"

#include <QAbstractItemModel>
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
    written.removeAll(QString());
    return written;
}

} // namespace rovex
