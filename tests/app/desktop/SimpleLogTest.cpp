#include "DesktopTestSupport.h"

#include "app/images/MenuTexts.h"
#include "app/intel/PortLookup.h"
#include "app/simplelog/LogStringPopover.h"
#include "app/simplelog/RXSimpleLogController.h"
#include "app/simplelog/SimpleLogDetailPopover.h"
#include "app/simplelog/SimpleLogModel.h"
#include "app/simplelog/SimpleLogWindow.h"
#include "app/widgets/AddressInfoPopover.h"
#include "app/widgets/BusyIndicator.h"
#include "app/widgets/PortInfoPopover.h"
#include "lookup/CountryDatabase.h"

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QSortFilterProxyModel>
#include <QSpinBox>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <fstream>

namespace rovex {
namespace {

using namespace std::chrono_literals;
using test::pfLine;

QByteArray line(const std::string& action, const std::string& direction, const std::string& source,
                const std::string& sourcePort, const std::string& destination = "192.168.1.10",
                const std::string& destinationPort = "22")
{
    return QByteArray::fromStdString(pfLine(action, direction, source, sourcePort, destination, destinationPort));
}

// The nth inbound block from a numbered source port, so that rows can be told apart.
QByteArray numbered(int n) { return line("block", "in", "203.0.113.7", std::to_string(10000 + n)); }

struct SimpleLogTest : testing::Test {
    SimpleLogTest() { window().resize(900, 400); }

    SimpleLogWindow& window() { return controller.simplewindow(); }
    QTableView& table() { return window().tableviewSimpleLog(); }
    SimpleLogModel& rows() { return controller.simpleLogsArrayController(); }
    std::string_view firstPortOf(std::size_t row) { return rows().rowAt(row).logFirstPort(); }
    void show()
    {
        window().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window()));
    }
    void selectShownRow(int row)
    {
        table().clearSelection();
        table().selectionModel()->select(table().model()->index(row, 0),
                                         QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    // Through the window, as the desktop delivers it: press, release, press as a double click.
    void doubleClick(QPoint inViewport)
    {
        QTest::mouseDClick(window().windowHandle(), Qt::LeftButton, {},
                           table().viewport()->mapTo(&window(), inViewport));
    }
    bool readEnded() { return window().showLogsButton().isEnabled() && !controller.readsOnDemand(); }

    test::TempRoot root;
    ServiceImages services{{"22", "ssh"}};
    CountryDatabase countries;
    PortLookup ports;
    PortInfoPopover portPopover{ports};
    // A refused port on loopback: the whois probe never leaves the machine.
    RXSimpleLogController controller{
        root.log(), services, countries, WhoisServer{"127.0.0.1", 1}, ports, portPopover, std::chrono::milliseconds{0}};
};

TEST_F(SimpleLogTest, LiveRowsComeOnlyWhileShownAndWholeAcrossReads)
{
    controller.readLiveChunk(numbered(1));
    EXPECT_EQ(rows().size(), 0U) << "a hidden window never shows what came meanwhile";
    // A line that a read cuts in two is completed by the next read, even when its start
    // came while the window was hidden.
    const QByteArray cut = numbered(2);
    controller.readLiveChunk(cut.left(40));
    show();
    controller.readLiveChunk(cut.mid(40) + numbered(3).left(20));
    ASSERT_EQ(rows().size(), 1U);
    EXPECT_EQ(rows().rowAt(0).logString(), cut.chopped(1).toStdString());
    EXPECT_EQ(rows().rowAt(0).logFirstPortImage(), "genericservice");
    EXPECT_EQ(rows().rowAt(0).logSecondPortImage(), "ssh");
    controller.readLiveChunk(numbered(3).mid(20));
    EXPECT_EQ(rows().size(), 2U);

    window().showMinimized();
    controller.readLiveChunk(numbered(4));
    EXPECT_EQ(rows().size(), 2U) << "nor does a minimised one";
}

TEST_F(SimpleLogTest, TableIsCutBackToItsLimitOldestFirstUnderAnySorting)
{
    show();
    window().maxLogLines().setValue(100);
    // Sorted by source port, highest first: the oldest rows sit at the bottom of the view.
    table().sortByColumn(SimpleLogModel::SourcePortColumn, Qt::DescendingOrder);
    QByteArray chunk;
    for (int n = 0; n < 150; ++n)
        chunk += numbered(n);
    controller.readLiveChunk(chunk);
    EXPECT_EQ(rows().size(), 150U) << "up to the limit plus 50 nothing goes";
    controller.readLiveChunk(numbered(150));
    ASSERT_EQ(rows().size(), 100U);
    EXPECT_EQ(firstPortOf(0), "10051") << "the 51 rows added first went";
    EXPECT_EQ(table().model()->rowCount(), 100);
    EXPECT_EQ(table().model()->index(0, SimpleLogModel::SourcePortColumn).data().toString(), QStringLiteral("10150"));

    // The newest row is scrolled to wherever the sorting puts it: here, the top.
    table().scrollToBottom();
    controller.readLiveChunk(numbered(151));
    const QModelIndex newest = controller.arrangedRows().mapFromSource(rows().index(100, 0));
    EXPECT_EQ(newest.row(), 0);
    EXPECT_TRUE(table().viewport()->rect().intersects(table().visualRect(newest)));

    controller.clearLogTable();
    EXPECT_EQ(rows().size(), 0U);
    controller.readLiveChunk(numbered(152));
    EXPECT_EQ(rows().size(), 1U) << "the next chunk starts a new table";
}

TEST_F(SimpleLogTest, OnDemandReadShowsTheTailAndLiveRowsBelowIt)
{
    show();
    {
        std::ofstream log(root.log());
        for (int n = 0; n < 10; ++n)
            log << numbered(n).toStdString();
    }
    controller.readLiveChunk(numbered(99)); // a row the read replaces
    window().limiter().setValue(500);
    QSignalSpy laidOut(&controller, &RXSimpleLogController::doLayout);
    controller.openSimpleLogs();
    EXPECT_TRUE(window().progressIndicator().isVisible());
    EXPECT_TRUE(window().progressIndicator().isAnimating());
    EXPECT_FALSE(window().showLogsButton().isEnabled());
    EXPECT_EQ(rows().size(), 0U);
    EXPECT_EQ(laidOut.count(), 0) << "rows are handed over after the action returns";
    controller.readLiveChunk(numbered(100)); // arrives before the tail is laid out
    ASSERT_TRUE(test::runUntil([&] { return readEnded(); }));
    EXPECT_EQ(laidOut.count(), 1);
    EXPECT_FALSE(window().progressIndicator().isVisible());
    // Ten lines ending in "\n" are eleven pieces: the limiter says so, and the slider with it.
    EXPECT_EQ(window().limiter().value(), 11);
    EXPECT_EQ(window().limiterSlider().value(), 11);
    ASSERT_EQ(rows().size(), 11U);
    EXPECT_EQ(firstPortOf(0), "10000");
    EXPECT_EQ(firstPortOf(10), "10100") << "the live row lands below the tail";
    EXPECT_EQ(rows().rowAt(0).logString().find("  "), std::string_view::npos) << "the tail keeps the halved line";

    // No lines asked for: an empty table, and the controls ready again.
    window().limiter().setValue(0);
    controller.openSimpleLogs();
    ASSERT_TRUE(test::runUntil([&] { return readEnded(); }));
    EXPECT_EQ(rows().size(), 0U);
    EXPECT_FALSE(window().progressIndicator().isVisible());
}

TEST_F(SimpleLogTest, MissingLogIsToldAndLeavesTableAndLimiterAsTheyWere)
{
    show();
    std::filesystem::remove(root.log());
    controller.readLiveChunk(numbered(1));
    window().limiter().setValue(42);
    QSignalSpy notFound(&controller, &RXSimpleLogController::logFileNotFound);
    controller.openSimpleLogs();
    EXPECT_EQ(notFound.count(), 1);
    EXPECT_EQ(rows().size(), 1U);
    EXPECT_EQ(window().limiter().value(), 42);
    EXPECT_TRUE(window().showLogsButton().isEnabled());
    EXPECT_FALSE(window().progressIndicator().isVisible());
}

TEST_F(SimpleLogTest, ActionsActOnTheRowTheUserSelected)
{
    show();
    controller.setDoubleAction();
    controller.readLiveChunk(line("pass", "out", "192.168.1.10", "5353", "127.0.0.1", "22")
                             + line("reject", "in", "198.51.100.9", "443", "192.168.1.10", "80"));
    QPushButton& details = window().rowButton("showInfoSimpleLog");
    details.click();
    EXPECT_FALSE(controller.popOverSL().isVisible()) << "nothing selected, nothing shown";
    doubleClick(QPoint(5, table().viewport()->height() - 5));
    EXPECT_FALSE(controller.popOverSL().isVisible()) << "a double click on no row";

    // Sorted by source address, the second row added is shown first.
    table().sortByColumn(SimpleLogModel::SourceColumn, Qt::DescendingOrder);
    selectShownRow(1);
    details.click();
    SimpleLogDetailPopover& detail = controller.popOverSL();
    ASSERT_TRUE(detail.isVisible());
    EXPECT_EQ(detail.edge(), PopoverEdge::Right);
    EXPECT_EQ(detail.field("azione").text(), QStringLiteral("pass out"));
    EXPECT_EQ(detail.actionImage(), QStringLiteral("passedup"));
    EXPECT_EQ(detail.field("ipDestinazione").text(), QStringLiteral("127.0.0.1"));
    detail.hide();

    // Another action word shows no icon rather than the one shown before.
    doubleClick(table().visualRect(table().model()->index(0, 1)).center());
    ASSERT_TRUE(detail.isVisible());
    EXPECT_EQ(detail.field("azione").text(), QStringLiteral("reject in"));
    EXPECT_TRUE(detail.actionImage().isEmpty());

    // From the detail, the address it shows, whatever the table holds by then.
    controller.clearLogTable();
    detail.targetInfoButton().click();
    AddressInfoPopover& address = controller.addrinfoPopover();
    ASSERT_TRUE(address.isVisible());
    EXPECT_EQ(address.edge(), PopoverEdge::Top);
    EXPECT_EQ(address.ipaddr().text(), QStringLiteral("192.168.1.10"));
    address.hide();
    detail.hide();
}

TEST_F(SimpleLogTest, PopoversShowTheSelectedRowsLineAddressAndPort)
{
    show();
    controller.readLiveChunk(line("pass", "out", "192.168.1.10", "5353", "127.0.0.1", "22"));
    selectShownRow(0);

    QPushButton& raw = window().rowButton("openLogStringPopover");
    raw.click();
    EXPECT_EQ(controller.logStringPopover().edge(), PopoverEdge::Top);
    EXPECT_EQ(controller.logStringPopover().infoLabel().text().toStdString(), rows().rowAt(0).logString());
    controller.logStringPopover().hide();

    window().rowButton("infoPopoverDestinationIP").click();
    AddressInfoPopover& address = controller.addrinfoPopover();
    EXPECT_EQ(address.edge(), PopoverEdge::Left);
    EXPECT_EQ(address.ipaddr().text(), QStringLiteral("127.0.0.1"));
    // The loopback address has a name in every system's host table; the whois server on
    // the refused port does not answer.
    ASSERT_TRUE(test::runUntil([&] { return !address.queryProgress().isAnimating(); }, 20s));
    EXPECT_NE(address.resolveIPString().text(), QStringLiteral("Hostname not found"));
    EXPECT_FALSE(address.resolveIPString().text().isEmpty());
    ASSERT_TRUE(test::runUntil([&] { return !address.whoisString().toPlainText().isEmpty(); }, 10s));
    EXPECT_EQ(address.whoisString().toPlainText(), QStringLiteral("none"));
    EXPECT_FALSE(address.whoisProgress().isVisible());
    address.hide();

    window().rowButton("infoPopoverDestinationPort").click();
    EXPECT_EQ(portPopover.edge(), PopoverEdge::Left);
    EXPECT_EQ(portPopover.portLabel().text(), QStringLiteral("22"));
    ASSERT_TRUE(test::runUntil([&] { return !portPopover.portTypeLabel().text().isEmpty(); }));
    EXPECT_EQ(portPopover.portTypeLabel().text(), menuText("systemport"));
    EXPECT_TRUE(portPopover.portServiceName().toPlainText().contains(QStringLiteral("22/tcp")));
    portPopover.hide();
}

} // namespace
} // namespace rovex
