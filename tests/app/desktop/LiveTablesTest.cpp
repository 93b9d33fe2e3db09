#include "DesktopTestSupport.h"

#include "app/desktop/CategoryTablePanel.h"
#include "app/desktop/IgnoreListWindow.h"
#include "app/desktop/LiveTables.h"

#include <QItemSelectionModel>
#include <QListView>
#include <QPushButton>
#include <QTableView>

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace rovex {
namespace {

using test::blockIn;
using test::pfLine;

// The names of a sorted table, top to bottom.
std::vector<std::string> shownNames(QAbstractItemModel& sorted)
{
    std::vector<std::string> names;
    for (int row = 0; row < sorted.rowCount(); ++row)
        names.push_back(sorted.index(row, TrafficTableModel::NameColumn).data().toString().toStdString());
    return names;
}

QString shown(QAbstractItemModel& sorted, int row, int column) { return sorted.index(row, column).data().toString(); }

void selectShownRows(QAbstractItemView& view, std::initializer_list<int> rows)
{
    view.clearSelection();
    for (const int row : rows) {
        view.selectionModel()->select(view.model()->index(row, 0),
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
}

using LiveTablesTest = test::LiveTablesFixture;

TEST_F(LiveTablesTest, TablesShowRowsByCountAndFollowNewCounts)
{
    feed(blockIn("203.0.113.7", "22") + blockIn("198.51.100.9", "443") + blockIn("198.51.100.9", "443")
         + blockIn("192.0.2.1", "80"));
    QAbstractItemModel& ports = tables.sorted(TrafficCategory::PortBlockIn);
    // Highest count first; equal counts in the order they were first seen.
    EXPECT_EQ(shownNames(ports), (std::vector<std::string>{"443", "22", "80"}));
    EXPECT_EQ(shown(ports, 0, TrafficTableModel::CountColumn), QStringLiteral("2"));

    feed(blockIn("203.0.113.7", "80") + blockIn("203.0.113.8", "80") + blockIn("203.0.113.9", "80"));
    EXPECT_EQ(shownNames(ports), (std::vector<std::string>{"80", "443", "22"}));
    EXPECT_EQ(shown(ports, 0, TrafficTableModel::CountColumn), QStringLiteral("4"));
    EXPECT_EQ(shownNames(tables.sorted(TrafficCategory::IpBlockIn)),
              (std::vector<std::string>{"203.0.113.7", "198.51.100.9", "192.0.2.1", "203.0.113.8", "203.0.113.9"}));
    EXPECT_EQ(tables.sorted(TrafficCategory::PortPassIn).rowCount(), 0);
}

// The selection belongs to rows, not to places: as counts reorder the table, the selected
// rows are still the selected ones wherever they moved.
TEST_F(LiveTablesTest, SelectionStaysOnItsRowsAsCountsReorderThem)
{
    feed(blockIn("203.0.113.1", "21") + blockIn("203.0.113.1", "22") + blockIn("203.0.113.1", "23")
         + blockIn("203.0.113.1", "25"));
    CategoryTablePanel panel(tables, TrafficCategory::PortBlockIn);
    selectShownRows(panel.table(), {1, 3}); // 22 and 25
    panel.table().selectionModel()->setCurrentIndex(panel.table().model()->index(3, TrafficTableModel::NameColumn),
                                                    QItemSelectionModel::NoUpdate);

    feed(blockIn("203.0.113.2", "25") + blockIn("203.0.113.3", "25") + blockIn("203.0.113.2", "23")
         + blockIn("203.0.113.2", "80"));
    EXPECT_EQ(shownNames(tables.sorted(TrafficCategory::PortBlockIn)),
              (std::vector<std::string>{"25", "23", "21", "22", "80"}));
    std::vector<std::string> selected;
    for (const QModelIndex& index : panel.table().selectionModel()->selectedRows(TrafficTableModel::NameColumn))
        selected.push_back(index.data().toString().toStdString());
    std::sort(selected.begin(), selected.end());
    EXPECT_EQ(selected, (std::vector<std::string>{"22", "25"}));
    EXPECT_EQ(panel.table().currentIndex().data().toString(), QStringLiteral("25"));
}

TEST_F(LiveTablesTest, NewAddressRowsCarryFlagAndCountry)
{
    root.writeNation("de", "203.0.113.0/24\n");
    std::ostringstream ignored;
    countries.load(root.nations(), ignored);
    feed(blockIn("203.0.113.7", "22") + blockIn("192.0.2.1", "22"));
    QAbstractItemModel& addresses = tables.sorted(TrafficCategory::IpBlockIn);
    ASSERT_EQ(addresses.rowCount(), 2);
    EXPECT_EQ(addresses.index(0, TrafficTableModel::FlagColumn).data(Qt::ToolTipRole).toString(), QStringLiteral("DE"));
    EXPECT_EQ(shown(addresses, 0, TrafficTableModel::CountryColumn), QStringLiteral("Germany"));
    EXPECT_FALSE(addresses.index(0, TrafficTableModel::FlagColumn).data(Qt::DecorationRole).value<QIcon>().isNull());
    EXPECT_EQ(shown(addresses, 1, TrafficTableModel::CountryColumn), QStringLiteral("unknown"));
}

TEST_F(LiveTablesTest, IgnoreTakesSelectedNamesInSelectionOrderOnce)
{
    feed(blockIn("203.0.113.7", "22") + blockIn("203.0.113.7", "22") + blockIn("203.0.113.7", "443")
         + blockIn("203.0.113.7", "80"));
    CategoryTablePanel panel(tables, TrafficCategory::PortBlockIn);
    // Shown: 22 (2), 443, 80. Select 80 first, then 22.
    selectShownRows(panel.table(), {2, 0});
    panel.ignoreButton().click();
    EXPECT_EQ(tables.store().ignorePort(), (std::vector<std::string>{"80", "22"}));
    EXPECT_EQ(tables.ignorePortModel().rowCount(), 2);
    EXPECT_EQ(panel.table().model()->rowCount(), 3) << "ignored rows stay in the table";

    selectShownRows(panel.table(), {0, 1});
    panel.ignoreButton().click();
    EXPECT_EQ(tables.store().ignorePort(), (std::vector<std::string>{"80", "22", "443"}));
    EXPECT_EQ(tables.ignorePortModel().index(2).data().toString(), QStringLiteral("443"));

    // Later lines to an ignored port are not counted.
    feed(blockIn("203.0.113.7", "80"));
    EXPECT_EQ(shown(tables.sorted(TrafficCategory::PortBlockIn), 2, TrafficTableModel::CountColumn),
              QStringLiteral("1"));
}

TEST_F(LiveTablesTest, RemovedRowsComeBackWithTheirHistory)
{
    feed(blockIn("203.0.113.7", "22") + blockIn("203.0.113.7", "443") + blockIn("203.0.113.8", "443")
         + blockIn("203.0.113.9", "80") + blockIn("203.0.113.9", "80") + blockIn("203.0.113.9", "80"));
    CategoryTablePanel panel(tables, TrafficCategory::PortBlockIn);
    // Shown: 80 (3), 443 (2), 22 (1): the sorted order is not the store's order.
    selectShownRows(panel.table(), {0, 2});
    panel.removeButton().click();
    EXPECT_EQ(shownNames(tables.sorted(TrafficCategory::PortBlockIn)), (std::vector<std::string>{"443"}));

    feed(blockIn("198.51.100.1", "80"));
    EXPECT_EQ(shownNames(tables.sorted(TrafficCategory::PortBlockIn)), (std::vector<std::string>{"443", "80"}));
    std::int64_t seen = 0;
    for (const auto& counterpart : tables.store().occurrences(TrafficCategory::PortBlockIn, "80"))
        seen += counterpart.count;
    EXPECT_EQ(seen, 4) << "occurrences from before the removal are kept";

    // Nothing selected, or an empty table: nothing happens.
    panel.table().clearSelection();
    panel.removeButton().click();
    EXPECT_EQ(tables.sorted(TrafficCategory::PortBlockIn).rowCount(), 2);
}

TEST_F(LiveTablesTest, CleanAllEmptiesTablesButKeepsIgnoreLists)
{
    feed(blockIn("203.0.113.7", "22")
         + QByteArray::fromStdString(pfLine("pass", "out", "192.168.1.10", "50000", "198.51.100.9", "443")));
    tables.store().addIgnoredAddress("192.0.2.99");
    tables.ignorePortModel().listGrew();
    tables.ignoreIpModel().listGrew();
    tables.cleanAll();
    for (const TrafficCategory category : allTrafficCategories) {
        EXPECT_EQ(tables.sorted(category).rowCount(), 0);
        EXPECT_TRUE(tables.store().occurrenceKeys(category).empty());
    }
    EXPECT_EQ(tables.ignoreIpModel().rowCount(), 1);
    feed(blockIn("203.0.113.7", "22"));
    EXPECT_EQ(shown(tables.sorted(TrafficCategory::PortBlockIn), 0, TrafficTableModel::CountColumn),
              QStringLiteral("1"));
}

TEST_F(LiveTablesTest, StopIgnoringCountsTheNameAgain)
{
    feed(blockIn("203.0.113.7", "22") + blockIn("203.0.113.8", "23"));
    tables.ignore(TrafficCategory::IpBlockIn, std::vector<std::size_t>{0, 1});
    IgnoreListWindow window(tables);
    ASSERT_EQ(window.tableIgnoreIp().model()->rowCount(), 2);
    window.tableIgnoreIp().selectionModel()->select(window.tableIgnoreIp().model()->index(0, 0),
                                                    QItemSelectionModel::Select);
    window.deIgnoreIp();
    EXPECT_EQ(tables.store().ignoreIp(), (std::vector<std::string>{"203.0.113.8"}));
    EXPECT_EQ(window.tableIgnoreIp().model()->rowCount(), 1);

    feed(blockIn("203.0.113.7", "22") + blockIn("203.0.113.8", "22"));
    EXPECT_EQ(shown(tables.sorted(TrafficCategory::IpBlockIn), 0, TrafficTableModel::CountColumn), QStringLiteral("2"));
    EXPECT_EQ(shown(tables.sorted(TrafficCategory::IpBlockIn), 1, TrafficTableModel::CountColumn), QStringLiteral("1"));
}

} // namespace
} // namespace rovex
