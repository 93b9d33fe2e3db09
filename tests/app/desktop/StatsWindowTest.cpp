#include "DesktopTestSupport.h"

#include "app/images/MenuTexts.h"
#include "app/intel/BackgroundWork.h"
#include "app/stats/RXLogParser.h"
#include "app/stats/StatsEntryModel.h"
#include "app/stats/StatsPortPopover.h"
#include "app/stats/StatsWindow.h"
#include "app/widgets/AddressInfoPopover.h"
#include "app/widgets/CustomCircle.h"
#include "lookup/CountryDatabase.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QTableView>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace rovex {
namespace {

using test::pfLine;

std::string blockIn(const std::string& source, const std::string& port)
{
    return pfLine("block", "in", source, "40000", "192.168.1.10", port);
}

// Compresses text into the archive with the bzip2 tool.
void writeArchive(const std::filesystem::path& archive, const std::string& text)
{
    const std::filesystem::path plain = archive.parent_path() / "plain";
    std::ofstream(plain) << text;
    ASSERT_EQ(
        test::runProgram(QStringLiteral("/bin/sh"),
                         {QStringLiteral("-c"),
                          QStringLiteral("bzip2 -c '%1' > '%2' && rm '%1'")
                              .arg(QString::fromStdString(plain.string()), QString::fromStdString(archive.string()))}),
        0);
}

std::vector<std::pair<std::string, std::int64_t>> shown(const StatsEntryModel& model)
{
    std::vector<std::pair<std::string, std::int64_t>> rows;
    for (const StatsEntry& entry : model.entries())
        rows.emplace_back(entry.name.toStdString(), entry.theOccurrences);
    return rows;
}

// A root whose live log and one archive hold blocked inbound traffic: 203.0.113.7 four
// times on port 22, 198.51.100.9 on 22 once and on 443 twice.
struct StatsWindowTest : testing::Test {
    StatsWindowTest()
    {
        std::ostringstream ignored;
        countries.load(root.nations(), ignored);
        root.appendLog(blockIn("203.0.113.7", "22") + blockIn("198.51.100.9", "443")
                       + pfLine("pass", "out", "192.168.1.10", "5000", "192.0.2.80", "80"));
        writeArchive(root.log().string() + ".0.bz2",
                     blockIn("203.0.113.7", "22") + blockIn("203.0.113.7", "22") + blockIn("203.0.113.7", "22")
                         + blockIn("198.51.100.9", "22") + blockIn("198.51.100.9", "443"));
    }

    // Runs with the window's settings and waits for the result.
    void run()
    {
        QSignalSpy done(&parser, &RXLogParser::loadLayoutLogParser);
        parser.logswindow().buttonGetStats().click();
        ASSERT_TRUE(test::runUntil([&] { return done.count() == 1; }));
    }

    StatsWindow& window() { return parser.logswindow(); }

    test::TempRoot root;
    CountryDatabase countries;
    RXLogParser parser{LogArchives::productLog(root.path()), countries, WhoisServer{"127.0.0.1", 1}};
};

TEST_F(StatsWindowTest, ARunOverTheLogAndItsArchivesShowsBothListsAndPies)
{
    parser.openLogsWindow();
    EXPECT_EQ(window().limitSlider().maximum(), 2) << "the log and one archive";
    window().limitSlider().setValue(2);
    run();
    EXPECT_TRUE(window().buttonGetStats().isEnabled());
    EXPECT_TRUE(window().ipBox().isVisible());
    EXPECT_TRUE(window().portBox().isVisible());
    EXPECT_FALSE(window().statsProgressIndicator().isVisible());
    EXPECT_EQ(shown(window().addressesCollectionViewArray()),
              (std::vector<std::pair<std::string, std::int64_t>>{{"203.0.113.7", 4}, {"198.51.100.9", 3}}));
    EXPECT_EQ(shown(window().portsCollectionViewArray()),
              (std::vector<std::pair<std::string, std::int64_t>>{{"22", 5}, {"443", 2}}));
    EXPECT_EQ(window().addressesCollectionViewArray().entries().front().maxOccurrences, 7);
    const QList<CustomCircle*> charts = window().principale2().findChildren<CustomCircle*>();
    ASSERT_EQ(charts.size(), 1);
    EXPECT_EQ(charts.first()->valoripassati().size(), 2U);

    // Passed outbound traffic, one file: the destination addresses; a second run replaces
    // the first one's pies instead of adding to them.
    window().limitSlider().setValue(1);
    window().passMatrix().button(1)->click();
    window().inoutMatrix().button(1)->click();
    run();
    EXPECT_EQ(shown(window().addressesCollectionViewArray()),
              (std::vector<std::pair<std::string, std::int64_t>>{{"192.0.2.80", 1}}));
    EXPECT_EQ(window().principale2().findChildren<CustomCircle*>().size(), 1);
}

TEST_F(StatsWindowTest, EmptySelectionAndMissingLogLeaveTheWindowIdle)
{
    parser.openLogsWindow();
    window().passMatrix().button(1)->click(); // pass in: nothing
    run();
    EXPECT_FALSE(window().ipBox().isVisible());
    EXPECT_FALSE(window().portBox().isVisible());
    EXPECT_TRUE(window().dangerBox().isVisible()) << "shown again for inbound traffic";
    EXPECT_TRUE(window().statsProgressString().text().isEmpty());
    EXPECT_TRUE(window().principale().findChildren<CustomCircle*>().isEmpty());

    std::filesystem::remove(root.log());
    run();
    EXPECT_TRUE(window().buttonGetStats().isEnabled());
    EXPECT_TRUE(window().ipBox().isVisible());
    EXPECT_EQ(window().addressesCollectionViewArray().rowCount(), 0);
    EXPECT_TRUE(window().principale().findChildren<CustomCircle*>().isEmpty());
}

TEST_F(StatsWindowTest, PortPopoverListsTheAddressesSeenOnTheSelectedPortOnly)
{
    parser.openLogsWindow();
    window().limitSlider().setValue(2);
    run();
    StatsPortPopover& popover = parser.portPopover();
    QSignalSpy listed(&parser, &RXLogParser::loadPortLayoutLogParser);
    // Written after the run: not among its records.
    root.appendLog(blockIn("203.0.113.7", "22") + blockIn("192.0.2.99", "22"));

    test::selectRows(window().portsView(), {0, 1});
    window().portinfobtn().click();
    EXPECT_FALSE(popover.isVisible()) << "two ports: no popover";

    test::selectRows(window().portsView(), {0});
    window().portinfobtn().click();
    EXPECT_TRUE(popover.isVisible());
    EXPECT_FALSE(window().portinfobtn().isEnabled());
    EXPECT_FALSE(window().ipinfobtn().isEnabled());
    EXPECT_FALSE(popover.closebtn().isEnabled());
    ASSERT_TRUE(test::runUntil([&] { return listed.count() == 1; }));
    EXPECT_EQ(popover.portLabel().text(), u"22");
    EXPECT_EQ(shown(popover.ipForPortCollViewArray()),
              (std::vector<std::pair<std::string, std::int64_t>>{{"203.0.113.7", 4}, {"198.51.100.9", 1}}));
    EXPECT_TRUE(popover.closebtn().isEnabled());
    EXPECT_FALSE(popover.ipForPortCollViewArray().entries().front().theColor.has_value());
    popover.closebtn().click();
    EXPECT_FALSE(popover.isVisible());
    EXPECT_TRUE(window().portinfobtn().isEnabled());

    // Port 443 after port 22, the direction switched to "out" meanwhile: the destination
    // addresses of the same records. Closed by a click elsewhere, the buttons come back.
    window().inoutMatrix().button(1)->click();
    test::selectRows(window().portsView(), {1});
    window().portinfobtn().click();
    ASSERT_TRUE(test::runUntil([&] { return listed.count() == 2; }));
    EXPECT_EQ(popover.portLabel().text(), u"443");
    EXPECT_EQ(shown(popover.ipForPortCollViewArray()),
              (std::vector<std::pair<std::string, std::int64_t>>{{"192.168.1.10", 2}}));
    popover.hide();
    EXPECT_TRUE(window().portinfobtn().isEnabled());

    // An address of the list opens the address popover, above its button.
    test::selectRows(window().addressesView(), {1});
    window().ipinfobtn().click();
    EXPECT_TRUE(parser.addrinfoPopover().isVisible());
    EXPECT_EQ(parser.addrinfoPopover().ipaddr().text(), u"198.51.100.9");
}

TEST_F(StatsWindowTest, OnlyTheLatestRunIsShownAndQuittingDuringARunIsSafe)
{
    parser.openLogsWindow();
    QSignalSpy done(&parser, &RXLogParser::loadLayoutLogParser);
    parser.getStats();
    window().passMatrix().button(1)->click();
    parser.getStats();
    ASSERT_TRUE(test::runUntil([&] { return backgroundJobsPending(&parser) == 0; }));
    EXPECT_EQ(done.count(), 1);
    EXPECT_FALSE(window().ipBox().isVisible()) << "the pass run's empty selection, not the block run's lists";

    auto early = std::make_unique<RXLogParser>(LogArchives::productLog(root.path()), countries,
                                               WhoisServer{"127.0.0.1", 1});
    early->getStats();
    early.reset();
    test::runFor(std::chrono::milliseconds(200));
}

} // namespace
} // namespace rovex
