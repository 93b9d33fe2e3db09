// The options' log entries: another log file, and every pf log layout read in it.
#include "DesktopTestSupport.h"
#include "app/desktop/AppDelegate.h"
#include "app/desktop/InfoWindow.h"
#include "app/desktop/LiveTables.h"
#include "app/desktop/LogChoice.h"
#include "app/desktop/TrafficTableModel.h"
#include "app/simplelog/RXSimpleLogController.h"
#include "app/simplelog/SimpleLogModel.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

using namespace std::chrono_literals;

namespace rovex {
namespace {

using test::Delegate;

std::string filterlogLine(const std::string& source)
{
    return "<134>Mar 17 14:54:08 filterlog[1]: 5,,,1000000103,igb1,match,block,in,4,0x0,,64,12345,0,DF,6,tcp,60,"
        + source + ",10.0.0.1,40000,22,0,S,1,,64240,,mss";
}

bool hasRow(LiveTables& tables, TrafficCategory category, const QString& name)
{
    QAbstractItemModel& rows = tables.sorted(category);
    for (int row = 0; row < rows.rowCount(); ++row) {
        if (rows.index(row, TrafficTableModel::NameColumn).data().toString() == name)
            return true;
    }
    return false;
}

// Answers the file dialog with the path, as a user types it.
void chooseInDialog(const std::filesystem::path& path, const std::function<void()>& open)
{
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &poll, [&path] {
        if (auto* panel = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            panel->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QString::fromStdString(path));
            QTimer::singleShot(0, panel, [panel] { static_cast<QDialog*>(panel)->accept(); });
        }
    });
    poll.start(10);
    open();
}

TEST(LogChoiceTest, AChosenLogOfAnyLayoutIsFollowedReadAndRemembered)
{
    const test::TempRoot root;
    root.appendLog("");
    Delegate app(root);
    StatusMenu& menu = app.delegate.statusMenu();
    menu.simplelogItem->trigger();
    menu.blockeddownItem->trigger(); // the views of a hidden window are not told
    const std::filesystem::path chosen = root.path() / "pfsense.log";
    std::ofstream(chosen) << filterlogLine("198.51.100.1") << '\n'; // there before: not new traffic

    chooseInDialog(chosen, [&] { menu.logFileItem->trigger(); });
    EXPECT_EQ(LogChoice::remembered().file, chosen);
    menu.allLayoutsItem->trigger();
    EXPECT_TRUE(menu.allLayoutsItem->isChecked());
    EXPECT_EQ(LogChoice::remembered().layouts, LayoutSetting::All);

    // The product's log is no longer followed; the chosen one is, from its end.
    root.appendLog(test::pfLine("block", "in", "203.0.113.9", "40000", "10.0.0.1", "22"));
    const std::string line = filterlogLine("198.51.100.3");
    std::ofstream(chosen, std::ios::app) << line << '\n';
    LiveTables& tables = app.delegate.tables();
    ASSERT_TRUE(test::runUntil(
        [&] { return hasRow(tables, TrafficCategory::IpBlockIn, QStringLiteral("198.51.100.3")); }, 10s));
    EXPECT_TRUE(hasRow(tables, TrafficCategory::PortBlockIn, QStringLiteral("22")));
    EXPECT_FALSE(hasRow(tables, TrafficCategory::IpBlockIn, QStringLiteral("198.51.100.1")));
    EXPECT_FALSE(hasRow(tables, TrafficCategory::IpBlockIn, QStringLiteral("203.0.113.9")));

    // The simple log shows the line as the log holds it.
    const SimpleLogModel& rows = app.delegate.simpleLogController().simpleLogsArrayController();
    ASSERT_TRUE(test::runUntil([&rows] { return rows.size() > 0; }, 10s));
    EXPECT_EQ(rows.rowAt(rows.size() - 1).logString(), line);

    app.delegate.openinfowindow();
    const QString report = app.delegate.infowindow().readingText();
    EXPECT_TRUE(report.contains(QString::fromStdString(chosen.string()))) << report.toStdString();
    EXPECT_TRUE(report.contains(QStringLiteral("1 filterlog"))) << report.toStdString();

    // Back to the product's layout: filterlog lines are skipped again.
    menu.allLayoutsItem->trigger();
    EXPECT_EQ(LogChoice::remembered().layouts, LayoutSetting::Product);
    std::ofstream(chosen, std::ios::app) << filterlogLine("198.51.100.4") << '\n';
    test::runFor(300ms);
    EXPECT_FALSE(hasRow(tables, TrafficCategory::IpBlockIn, QStringLiteral("198.51.100.4")));
    LogChoice{}.remember(); // the next test starts from the product's log
}

} // namespace
} // namespace rovex
