#include "DesktopTestSupport.h"

#include "app/desktop/CategoryTablePanel.h"
#include "app/desktop/CategoryWindow.h"
#include "app/desktop/IgnoreListWindow.h"
#include "app/desktop/LiveTables.h"
#include "firewall/RXReadRovexConf.h"
#include "follow/RXReadLog.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>

namespace rovex {
namespace {

using test::blockIn;
using test::pfLine;
using Column = TrafficTableModel::Column;

std::vector<std::string> column(const QAbstractItemModel& model, int which)
{
    std::vector<std::string> texts;
    for (int row = 0; row < model.rowCount(); ++row)
        texts.push_back(model.index(row, which).data().toString().toStdString());
    return texts;
}

std::vector<std::string> names(const QAbstractItemModel& model) { return column(model, Column::NameColumn); }

std::vector<std::string> selectedNames(const QTableView& view)
{
    std::vector<std::string> selected;
    for (const QModelIndex& index : view.selectionModel()->selectedRows(Column::NameColumn))
        selected.push_back(index.data().toString().toStdString());
    std::sort(selected.begin(), selected.end());
    return selected;
}

void typeFilter(CategoryTablePanel& panel, const QString& text)
{
    panel.filterField().setText(text);
    panel.applyFilter();
}

// The tables with a German block in the database.
struct TableToolsTest : test::LiveTablesFixture {
    TableToolsTest()
    {
        root.writeNation("de", "203.0.113.0/24\n");
        std::ostringstream ignored;
        countries.load(root.nations(), ignored);
    }
};

TEST_F(TableToolsTest, OtherColumnsSortOnClickAndKeepTheirOrderUntilTheNextClick)
{
    feed(blockIn("203.0.113.1", "8080") + blockIn("203.0.113.1", "443") + blockIn("203.0.113.2", "443")
         + blockIn("203.0.113.1", "22") + blockIn("203.0.113.1", "80"));
    CategoryTablePanel panel(tables, TrafficCategory::PortBlockIn);
    QTableView& view = panel.table();
    EXPECT_EQ(names(*view.model()), (std::vector<std::string>{"443", "8080", "22", "80"})) << "by count at first";

    view.horizontalHeader()->setSortIndicator(Column::NameColumn, Qt::AscendingOrder);
    EXPECT_EQ(names(*view.model()), (std::vector<std::string>{"22", "80", "443", "8080"})) << "ports as numbers";
    test::selectRows(view, {1});
    feed(blockIn("203.0.113.3", "8080") + blockIn("203.0.113.4", "8080") + blockIn("203.0.113.3", "25"));
    EXPECT_EQ(names(*view.model()), (std::vector<std::string>{"22", "80", "443", "8080", "25"}))
        << "counted rows stay, new rows join at the end";
    EXPECT_EQ(column(*view.model(), Column::CountColumn)[3], "3");
    EXPECT_EQ(selectedNames(view), (std::vector<std::string>{"80"}));

    view.horizontalHeader()->setSortIndicator(Column::NameColumn, Qt::DescendingOrder);
    EXPECT_EQ(names(*view.model()), (std::vector<std::string>{"8080", "443", "80", "25", "22"}));
    EXPECT_EQ(selectedNames(view), (std::vector<std::string>{"80"})) << "the selection goes with its row";

    view.horizontalHeader()->setSortIndicator(Column::IconColumn, Qt::AscendingOrder);
    EXPECT_EQ(column(*view.model(), Column::IconColumn), (std::vector<std::string>{"", "", "http", "https", "ssh"}));

    // Back to the count: the ranking went on in the meantime.
    view.horizontalHeader()->setSortIndicator(Column::CountColumn, Qt::DescendingOrder);
    feed(blockIn("203.0.113.5", "22") + blockIn("203.0.113.6", "22") + blockIn("203.0.113.7", "22"));
    EXPECT_EQ(names(*view.model()), (std::vector<std::string>{"22", "8080", "443", "80", "25"}));
}

TEST_F(TableToolsTest, FilterMatchesNameCountryOrServiceAndTakesNewRowsAsTheyCome)
{
    feed(blockIn("203.0.113.7", "22") + blockIn("198.51.100.9", "443") + blockIn("10.1.2.3", "80")
         + blockIn("203.0.113.8", "8080"));
    CategoryTablePanel addresses(tables, TrafficCategory::IpBlockIn);
    QAbstractItemModel& shown = *addresses.table().model();
    typeFilter(addresses, QStringLiteral("GERM"));
    EXPECT_EQ(names(shown), (std::vector<std::string>{"203.0.113.7", "203.0.113.8"}));
    typeFilter(addresses, QStringLiteral("private"));
    EXPECT_EQ(names(shown), (std::vector<std::string>{"10.1.2.3"})) << "the reason for no country counts too";
    typeFilter(addresses, QStringLiteral("113.8"));
    EXPECT_EQ(names(shown), (std::vector<std::string>{"203.0.113.8"}));

    // New rows: only those that match join; counts re-rank the filtered rows.
    typeFilter(addresses, QStringLiteral("germany"));
    test::selectRows(addresses.table(), {1});
    feed(blockIn("203.0.113.9", "22") + blockIn("198.51.100.10", "22") + blockIn("203.0.113.8", "22"));
    EXPECT_EQ(names(shown), (std::vector<std::string>{"203.0.113.8", "203.0.113.7", "203.0.113.9"}));
    EXPECT_EQ(selectedNames(addresses.table()), (std::vector<std::string>{"203.0.113.8"}));

    CategoryTablePanel ports(tables, TrafficCategory::PortBlockIn);
    typeFilter(ports, QStringLiteral("HTTP"));
    EXPECT_EQ(names(*ports.table().model()), (std::vector<std::string>{"443", "80"}));
    typeFilter(ports, QString());
    EXPECT_EQ(ports.table().model()->rowCount(), 4);
}

TEST_F(TableToolsTest, RowsMovingBelowWhatTheViewShowsRepaintNothing)
{
    feed(blockIn("203.0.113.1", "21") + blockIn("203.0.113.2", "21") + blockIn("203.0.113.3", "22")
         + blockIn("203.0.113.4", "23") + blockIn("203.0.113.5", "24"));
    ByCountProxyModel& sorted = tables.sorted(TrafficCategory::PortBlockIn);
    sorted.setLastShownRow(1);
    const QSignalSpy relaid(&sorted, &QAbstractItemModel::layoutChanged);
    const QSignalSpy repainted(&sorted, &QAbstractItemModel::dataChanged);
    feed(blockIn("203.0.113.6", "24")); // passes 22 and 23: rows 1 to 3 change
    EXPECT_EQ(names(sorted), (std::vector<std::string>{"21", "24", "22", "23"}));
    EXPECT_EQ(relaid.count(), 0) << "nobody holds on to a row that moved";
    ASSERT_FALSE(repainted.isEmpty());
    EXPECT_EQ(repainted.last().at(0).value<QModelIndex>().row(), 1) << "the shown rows from the first that moved";

    // A row someone holds (the selection) moving: the layout changes and the selection follows.
    QItemSelectionModel selection(&sorted);
    selection.select(sorted.index(3, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    feed(blockIn("203.0.113.7", "23") + blockIn("203.0.113.8", "23"));
    EXPECT_EQ(names(sorted), (std::vector<std::string>{"23", "21", "24", "22"}));
    EXPECT_EQ(relaid.count(), 1);
    ASSERT_EQ(selection.selectedRows().size(), 1);
    EXPECT_EQ(selection.selectedRows().at(0).row(), 0);
}

TEST_F(TableToolsTest, AHiddenWindowIsToldNothingUntilItIsShown)
{
    CategoryWindow window(tables, TrafficKind::BlockIn);
    feed(blockIn("203.0.113.1", "21"));
    EXPECT_EQ(window.portPanel().table().model()->rowCount(), 0) << "nobody would see the repaint";
    EXPECT_EQ(tables.sorted(TrafficCategory::PortPassIn).rowCount(), 0);
    window.show();
    EXPECT_EQ(names(*window.portPanel().table().model()), (std::vector<std::string>{"21"}));
    feed(blockIn("203.0.113.2", "22") + blockIn("203.0.113.3", "22"));
    EXPECT_EQ(names(*window.portPanel().table().model()), (std::vector<std::string>{"22", "21"}));

    // A batch that moves no row repaints just the rows it counted, not the whole view.
    const QAbstractItemModel& shown = *window.portPanel().table().model();
    const QSignalSpy relaid(&shown, &QAbstractItemModel::layoutChanged);
    const QSignalSpy repainted(&shown, &QAbstractItemModel::dataChanged);
    feed(blockIn("203.0.113.4", "22"));
    EXPECT_EQ(relaid.count(), 0);
    ASSERT_EQ(repainted.count(), 1);
    EXPECT_EQ(repainted.at(0).at(0).value<QModelIndex>().row(), 0);
    EXPECT_EQ(repainted.at(0).at(1).value<QModelIndex>().row(), 0);
    EXPECT_EQ(column(shown, Column::CountColumn), (std::vector<std::string>{"3", "1"}));
}

TEST_F(TableToolsTest, PauseHoldsBothTablesUntilItEndsThenCatchesUp)
{
    feed(blockIn("203.0.113.1", "21") + blockIn("203.0.113.1", "22") + blockIn("203.0.113.2", "22"));
    CategoryWindow window(tables, TrafficKind::BlockIn);
    QTableView& ports = window.portPanel().table();
    test::selectRows(ports, {1});
    window.pauseButton().click();
    EXPECT_TRUE(tables.isPaused(TrafficKind::BlockIn));

    feed(blockIn("203.0.113.3", "21") + blockIn("203.0.113.4", "21") + blockIn("203.0.113.5", "25"));
    EXPECT_EQ(names(*ports.model()), (std::vector<std::string>{"22", "21"}));
    EXPECT_EQ(column(*ports.model(), Column::CountColumn), (std::vector<std::string>{"2", "1"})) << "counts held too";
    EXPECT_EQ(window.addressPanel().table().model()->rowCount(), 2);
    EXPECT_EQ(selectedNames(ports), (std::vector<std::string>{"21"}));
    EXPECT_TRUE(window.pauseButton().text().contains(QStringLiteral("3 new lines")));
    EXPECT_EQ(tables.sorted(TrafficCategory::PortPassIn).rowCount(), 0);

    window.pauseButton().click();
    EXPECT_EQ(names(*ports.model()), (std::vector<std::string>{"21", "22", "25"}));
    EXPECT_EQ(column(*ports.model(), Column::CountColumn), (std::vector<std::string>{"3", "2", "1"}));
    EXPECT_EQ(window.addressPanel().table().model()->rowCount(), 5);
    EXPECT_EQ(selectedNames(ports), (std::vector<std::string>{"21"}));

    // Removing while paused tells the table what it missed first, then removes the right row.
    window.pauseButton().click();
    feed(blockIn("203.0.113.6", "23"));
    test::selectRows(ports, {0});
    window.portPanel().removeSelected();
    EXPECT_EQ(names(*ports.model()), (std::vector<std::string>{"22", "25", "23"}));
}

TEST_F(TableToolsTest, KeysRemoveFindAndClose)
{
    feed(blockIn("203.0.113.1", "21") + blockIn("203.0.113.1", "22") + blockIn("203.0.113.1", "23"));
    CategoryWindow window(tables, TrafficKind::BlockIn);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTableView& ports = window.portPanel().table();
    ports.setFocus();
    test::selectRows(ports, {0, 2});
    QTest::keyClick(&ports, Qt::Key_Delete);
    EXPECT_EQ(names(*ports.model()), (std::vector<std::string>{"22"}));

    QTest::keyClick(&ports, Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(window.portPanel().filterField().hasFocus()) << "the filter of the table worked in";
    QTest::keyClicks(&window.portPanel().filterField(), QStringLiteral("x"));
    QTest::keyClick(&window.portPanel().filterField(), Qt::Key_Delete);
    EXPECT_EQ(ports.model()->rowCount(), 1) << "Delete in the filter field edits the text only";

    QTest::keyClick(&window, Qt::Key_W, Qt::ControlModifier);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(TableToolsTest, StatusLineNamesTheLogItsStateAndItsLines)
{
    const QString path = QString::fromStdString(root.log().string());
    RXReadLog reader(path);
    tables.followLog(&reader);
    CategoryWindow window(tables, TrafficKind::PassOut);
    reader.checklogfileandreadlog();
    window.refreshStatus();
    EXPECT_EQ(window.statusLine().text(), QStringLiteral("Waiting for %1 · 0 lines read · 0 skipped").arg(path));

    QObject::connect(&reader, &RXReadLog::chunkRead, &tables, &LiveTables::readChunk);
    root.appendLog("not a pf line at all\n" + pfLine("block", "in", "203.0.113.1", "4000", "192.168.1.10", "22"));
    ASSERT_TRUE(test::runUntil([&] { return tables.status().lines() == 2; }));
    window.refreshStatus();
    EXPECT_EQ(window.statusLine().text(), QStringLiteral("Following %1 · 1 lines read · 1 skipped").arg(path));
}

TEST_F(TableToolsTest, IgnoredRowsAreMarkedInEveryWindowUntilNoLongerIgnored)
{
    feed(blockIn("203.0.113.1", "22")
         + QByteArray::fromStdString(pfLine("pass", "out", "192.168.1.10", "50000", "198.51.100.9", "22")));
    CategoryTablePanel blocked(tables, TrafficCategory::PortBlockIn);
    const QAbstractItemModel& passed = tables.sorted(TrafficCategory::PortPassOut);
    EXPECT_FALSE(passed.index(0, Column::NameColumn).data(Qt::ForegroundRole).isValid());
    test::selectRows(blocked.table(), {0});
    blocked.ignoreSelected();
    EXPECT_TRUE(passed.index(0, Column::CountColumn).data(Qt::ForegroundRole).isValid());
    EXPECT_TRUE(
        passed.index(0, Column::NameColumn).data(Qt::ToolTipRole).toString().contains(QStringLiteral("not counted")));

    IgnoreListWindow lists(tables);
    EXPECT_FALSE(lists.stopIgnoringPorts().isEnabled()) << "nothing selected";
    lists.tableIgnorePorts().selectionModel()->select(lists.tableIgnorePorts().model()->index(0, 0),
                                                      QItemSelectionModel::Select);
    EXPECT_TRUE(lists.stopIgnoringPorts().isEnabled());
    lists.stopIgnoringPorts().click();
    EXPECT_FALSE(lists.stopIgnoringPorts().isEnabled());
    EXPECT_FALSE(passed.index(0, Column::NameColumn).data(Qt::ForegroundRole).isValid());
}

TEST_F(TableToolsTest, NamesTypedIntoTheIgnoreListsAreCheckedFirst)
{
    IgnoreListWindow lists(tables);
    for (const char* refused : {"0", "65536", "22a", "-1", "", "123456"}) {
        lists.portField().setText(QString::fromLatin1(refused));
        lists.addPortButton().click();
        EXPECT_TRUE(lists.refusal().contains(QStringLiteral("1 to 65535"))) << refused;
    }
    for (const char* refused : {"1.2.3", "203.0.113.256", "fe80::1::2", "example.org"}) {
        lists.addressField().setText(QString::fromLatin1(refused));
        lists.addAddressButton().click();
        EXPECT_TRUE(lists.refusal().contains(QStringLiteral("IPv4 or IPv6"))) << refused;
    }
    EXPECT_TRUE(tables.store().ignorePort().empty());
    EXPECT_TRUE(tables.store().ignoreIp().empty());

    lists.portField().setText(QStringLiteral(" 080 "));
    lists.addPortButton().click();
    lists.addressField().setText(QStringLiteral("2001:DB8:0::1"));
    lists.addAddressButton().click();
    EXPECT_TRUE(lists.refusal().isEmpty());
    EXPECT_EQ(tables.store().ignorePort(), (std::vector<std::string>{"80"}));
    EXPECT_EQ(tables.store().ignoreIp(), (std::vector<std::string>{"2001:db8::1"}));
    lists.portField().setText(QStringLiteral("80"));
    lists.addPortButton().click();
    EXPECT_TRUE(lists.refusal().contains(QStringLiteral("already")));

    feed(blockIn("203.0.113.1", "80") + blockIn("203.0.113.1", "22"));
    EXPECT_EQ(names(tables.sorted(TrafficCategory::PortBlockIn)), (std::vector<std::string>{"22"}));
}

TEST_F(TableToolsTest, PortsShowTheLibrarysServiceNameElseTheSystemOne)
{
    feed(blockIn("203.0.113.1", "22") + blockIn("203.0.113.1", "21") + blockIn("203.0.113.1", "9999"));
    const QAbstractItemModel& shown = tables.sorted(TrafficCategory::PortBlockIn);
    EXPECT_EQ(column(shown, Column::IconColumn), (std::vector<std::string>{"ssh", "ftp", ""}));
    root.writeLibrary();
    tables.setServiceNames(RXReadRovexConf().loadServiceNames(root.library()));
    EXPECT_EQ(column(shown, Column::IconColumn), (std::vector<std::string>{"SSH", "ftp", ""}));
    CategoryTablePanel ports(tables, TrafficCategory::PortBlockIn);
    typeFilter(ports, QStringLiteral("sh"));
    EXPECT_EQ(names(*ports.table().model()), (std::vector<std::string>{"22"}));
}

TEST_F(TableToolsTest, AddressesWithoutCountrySayWhy)
{
    feed(blockIn("203.0.113.7", "1") + blockIn("10.0.0.1", "1") + blockIn("172.20.1.1", "1")
         + blockIn("100.64.0.1", "1") + blockIn("169.254.3.4", "1") + blockIn("198.51.100.1", "1")
         + blockIn("172.32.0.1", "1"));
    feed(QByteArray::fromStdString(pfLine("block", "in", "fe80::1", "4000", "fe80::2", "22")
                                   + pfLine("block", "in", "2001:db8::7", "4000", "2001:db8::8", "22")));
    const QAbstractItemModel& shown = tables.sorted(TrafficCategory::IpBlockIn);
    std::map<std::string, std::string> countryOf;
    for (int row = 0; row < shown.rowCount(); ++row)
        countryOf[shown.index(row, Column::NameColumn).data().toString().toStdString()]
            = shown.index(row, Column::CountryColumn).data().toString().toStdString();
    EXPECT_EQ(countryOf,
              (std::map<std::string, std::string>{{"203.0.113.7", "Germany"},
                                                  {"10.0.0.1", "private"},
                                                  {"172.20.1.1", "private"},
                                                  {"100.64.0.1", "private"},
                                                  {"169.254.3.4", "link-local"},
                                                  {"198.51.100.1", "unknown"},
                                                  {"172.32.0.1", "unknown"},
                                                  {"fe80::1", "link-local"},
                                                  {"2001:db8::7", "IPv6"}}));
}

} // namespace
} // namespace rovex
