#include "DesktopTestSupport.h"

#include "app/desktop/CategoryTablePanel.h"
#include "app/desktop/CategoryWindow.h"
#include "app/desktop/LiveTables.h"
#include "app/desktop/RovexController.h"
#include "app/desktop/TortaPopover.h"
#include "app/desktop/TrafficTableModel.h"
#include "app/images/MenuTexts.h"
#include "app/widgets/CustomCircle.h"
#include "app/widgets/PieLegendModel.h"
#include "app/widgets/PortInfoPopover.h"

#include <QApplication>
#include <QFileDialog>
#include <QItemSelectionModel>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <fstream>
#include <sys/resource.h>

namespace rovex {
namespace {

using namespace std::chrono_literals;
using test::ChildProcess;

// Port 22 met 203.0.113.7 three times and 198.51.100.9 once, port 443 met 198.51.100.9
// twice: both addresses count 3, 203.0.113.7 seen first.
std::string blockedLog()
{
    std::string log;
    for (const auto& [source, port] : std::vector<std::pair<std::string, std::string>>{{"203.0.113.7", "22"},
                                                                                       {"198.51.100.9", "443"},
                                                                                       {"203.0.113.7", "22"},
                                                                                       {"198.51.100.9", "22"},
                                                                                       {"203.0.113.7", "22"},
                                                                                       {"198.51.100.9", "443"}})
        log += test::pfLine("block", "in", source, "40000", "192.168.1.10", port);
    return log;
}

std::vector<std::pair<std::string, double>> legendOf(const TortaPopover& torta)
{
    std::vector<std::pair<std::string, double>> legend;
    for (const RXDiaObj& slice : torta.controllerLegenda().slices())
        legend.emplace_back(slice.theName, slice.theNumber);
    return legend;
}

// The application with the blocked log read into its tables.
struct PieAndHandOffTest : testing::Test {
    PieAndHandOffTest()
    {
        root.appendLog("");
        app = std::make_unique<test::Delegate>(root);
        app->delegate.openInboundBlocked(); // rows are chosen in a window the user sees
        root.appendLog(blockedLog());
        // The views are told in batches: wait until they have been told all six lines.
        const bool filled = test::runUntil([this] {
            return shownCount(TrafficCategory::PortBlockIn) == 6 && shownCount(TrafficCategory::IpBlockIn) == 6;
        });
        EXPECT_TRUE(filled);
        // The product runs as far as the viewer can tell: a process named Rovex is listed.
        EXPECT_TRUE(QDir(procs.path()).mkpath(QStringLiteral("4242")));
        std::ofstream(procs.filePath(QStringLiteral("4242/comm")).toStdString()) << "Rovex\n";
        delegate().rovexController().handOff().setProcessFolder(procs.path());
    }

    AppDelegate& delegate() { return app->delegate; }
    std::int64_t shownCount(TrafficCategory category)
    {
        QAbstractItemModel& rows = tables().sorted(category);
        std::int64_t total = 0;
        for (int row = 0; row < rows.rowCount(); ++row)
            total += rows.index(row, TrafficTableModel::CountColumn).data(TrafficTableModel::countRole).toLongLong();
        return total;
    }
    LiveTables& tables() { return delegate().tables(); }
    TortaPopover& torta() { return delegate().tortaPopover(); }
    CategoryTablePanel& panel(TrafficCategory category)
    {
        CategoryWindow& window = delegate().categoryWindow(kindOf(category));
        return isPortTable(category) ? window.portPanel() : window.addressPanel();
    }
    void openPie(TrafficCategory category, int shownRow)
    {
        test::selectRows(panel(category).table(), {shownRow});
        panel(category).pieButton().click();
    }

    test::TempRoot root;
    QTemporaryDir procs;
    std::unique_ptr<test::Delegate> app;
};

TEST_F(PieAndHandOffTest, PieShowsTheCounterpartsOfTheSelectedRowBesideItsButton)
{
    openPie(TrafficCategory::PortBlockIn, 0); // port 22
    EXPECT_TRUE(torta().isVisible());
    EXPECT_EQ(torta().tortaPopoverIPorPORT(), u"PORT");
    EXPECT_EQ(torta().tortaLabel().text(), u"22");
    EXPECT_FALSE(torta().iconaPort().isHidden());
    EXPECT_TRUE(torta().iconaAddress().isHidden());
    EXPECT_EQ(legendOf(torta()),
              (std::vector<std::pair<std::string, double>>{{"203.0.113.7", 3}, {"198.51.100.9", 1}}));
    EXPECT_EQ(torta().edge(), PopoverEdge::Left);
    EXPECT_EQ(torta().anchor().topLeft(), panel(TrafficCategory::PortBlockIn).pieButton().mapToGlobal(QPoint(0, 0)));
    torta().hide();

    openPie(TrafficCategory::IpBlockIn, 1); // 198.51.100.9
    EXPECT_EQ(torta().tortaPopoverIPorPORT(), u"IP");
    EXPECT_TRUE(torta().iconaPort().isHidden());
    EXPECT_EQ(legendOf(torta()), (std::vector<std::pair<std::string, double>>{{"443", 2}, {"22", 1}}));
    EXPECT_EQ(torta().edge(), PopoverEdge::Right);
    // One chart at a time, showing the latest pie.
    const QList<CustomCircle*> charts = torta().grafico().findChildren<CustomCircle*>();
    ASSERT_EQ(charts.size(), 1);
    EXPECT_EQ(charts.first()->valoripassati().size(), 2U);

    // The selected slice of a pie of an address is a port: its service lines.
    test::selectRows(torta().legend(), {0});
    torta().infoButton().click();
    EXPECT_TRUE(delegate().portInfoPopOver().isVisible());
    EXPECT_EQ(delegate().portInfoPopOver().portLabel().text(), u"443");

    // A row without a name fills the legend and opens nothing; the kind stays the last one's.
    torta().hide();
    torta().showPie(TrafficCategory::PortPassIn, QString(), {RXDiaObj{"x", 1}}, &torta().infoButton());
    EXPECT_FALSE(torta().isVisible());
    EXPECT_EQ(torta().controllerLegenda().rowCount(), 1);
    EXPECT_EQ(torta().tortaPopoverIPorPORT(), u"IP");
}

// The product's record of one signal: its member and user information.
struct Received {
    QString member;
    QJsonObject userInfo;
};

Received nextSignal(ChildProcess& product)
{
    const QJsonObject event = QJsonDocument::fromJson(product.lineContaining("\"signal\"")).object();
    return {event.value(QStringLiteral("member")).toString(), event.value(QStringLiteral("userInfo")).toObject()};
}

QJsonArray addresses(std::initializer_list<const char*> list)
{
    QJsonArray array;
    for (const char* address : list)
        array.append(QString::fromLatin1(address));
    return array;
}

TEST_F(PieAndHandOffTest, HandOffReachesTheProductInSelectionOrder)
{
    ChildProcess product(test::simTool(), {QStringLiteral("record")});
    ASSERT_FALSE(product.lineContaining("ready").isEmpty());
    CategoryTablePanel& addressPanel = panel(TrafficCategory::IpBlockIn);

    test::selectRows(addressPanel.table(), {1, 0});
    addressPanel.blacklistButton()->click();
    // The product is brought to the front before it gets the addresses.
    EXPECT_FALSE(product.lineContaining("Activate").isEmpty());
    Received received = nextSignal(product);
    EXPECT_EQ(received.member, u"blacklistIPs");
    EXPECT_EQ(received.userInfo.value(QStringLiteral("addresses")).toArray(),
              addresses({"198.51.100.9", "203.0.113.7"}));

    test::selectRows(addressPanel.table(), {1});
    addressPanel.blacklistButton()->click();
    received = nextSignal(product);
    EXPECT_EQ(received.member, u"blacklistIP");
    EXPECT_EQ(received.userInfo.value(QStringLiteral("address")).toString(), u"198.51.100.9");

    addressPanel.groupButton()->click();
    received = nextSignal(product);
    EXPECT_EQ(received.member, u"addToGroup");
    EXPECT_EQ(received.userInfo.value(QStringLiteral("addresses")).toArray(), addresses({"198.51.100.9"}));

    // A pie of ports hands nothing over; a pie of a port hands its selected slices as a list.
    openPie(TrafficCategory::IpBlockIn, 0);
    test::selectRows(torta().legend(), {0});
    torta().tortablacklist().click();
    openPie(TrafficCategory::PortBlockIn, 0);
    test::selectRows(torta().legend(), {1});
    torta().addToGroupEntry().trigger();
    received = nextSignal(product);
    EXPECT_EQ(received.member, u"addToGroup");
    EXPECT_EQ(received.userInfo.value(QStringLiteral("addresses")).toArray(), addresses({"198.51.100.9"}));
    test::selectRows(torta().legend(), {1, 0});
    torta().tortablacklist().click();
    received = nextSignal(product);
    EXPECT_EQ(received.member, u"blacklistIPs");
    EXPECT_EQ(received.userInfo.value(QStringLiteral("addresses")).toArray(),
              addresses({"198.51.100.9", "203.0.113.7"}));
}

TEST_F(PieAndHandOffTest, WithoutTheProductTheUserIsToldAndNothingIsSent)
{
    ChildProcess product(test::simTool(), {QStringLiteral("record")});
    ASSERT_FALSE(product.lineContaining("ready").isEmpty());
    const QTemporaryDir noProcesses;
    delegate().rovexController().handOff().setProcessFolder(noProcesses.path());
    CategoryTablePanel& addressPanel = panel(TrafficCategory::IpBlockIn);
    test::selectRows(addressPanel.table(), {0});
    for (QPushButton* button : {addressPanel.blacklistButton(), addressPanel.groupButton()}) {
        QString text;
        test::acceptNextModal(&text);
        button->click();
        EXPECT_EQ(text, menuText("norovex"));
    }
    // Once it runs, the next hand-off is the first thing it hears.
    delegate().rovexController().handOff().setProcessFolder(procs.path());
    addressPanel.groupButton()->click();
    EXPECT_EQ(nextSignal(product).member, u"addToGroup");
}

// Runs the export action, answering its save panel with the path (and confirming the
// replacement of a file); the text of the alert that followed, if one did.
QString exportThroughPanel(const QString& path, const std::function<void()>& action)
{
    QString alertText;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &poll, [&path, &alertText] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* panel = qobject_cast<QFileDialog*>(modal)) {
            EXPECT_EQ(panel->windowTitle(), u"Save IP list to file");
            // Typed as a user types it: the name box takes a whole path.
            panel->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
            // QFileDialog::accept checks the name and may ask whether to replace the file: in
            // a turn of its own, since a timer does not fire again inside its own handler.
            QTimer::singleShot(0, panel, [panel] { static_cast<QDialog*>(panel)->accept(); });
        } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            if (QAbstractButton* replace = box->button(QMessageBox::Yes)) {
                replace->click();
                return;
            }
            alertText = box->text();
            box->accept();
        }
    });
    poll.start(10);
    action();
    return alertText;
}

std::string fileText(const QString& path)
{
    std::ifstream file(path.toStdString(), std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TEST_F(PieAndHandOffTest, ExportWritesTheSelectedAddressesOrTellsWhyNot)
{
    const QTemporaryDir folder;
    const QString list = folder.filePath(QStringLiteral("list.txt"));
    CategoryTablePanel& addressPanel = panel(TrafficCategory::IpBlockIn);
    test::selectRows(addressPanel.table(), {1, 0});
    QPushButton& exportButton = *addressPanel.exportButton();
    EXPECT_TRUE(exportThroughPanel(list, [&] { exportButton.click(); }).isEmpty());
    EXPECT_EQ(fileText(list), "198.51.100.9\n203.0.113.7\n");

    // The legend exports whatever the pie shows; empty names are left out.
    torta().makegrafico({RXDiaObj{"192.0.2.1", 3}, RXDiaObj{"", 2}, RXDiaObj{"192.0.2.3", 1}});
    test::selectRows(torta().legend(), {0, 1, 2});
    const QString legendList = folder.filePath(QStringLiteral("legend.txt"));
    exportThroughPanel(legendList, [this] { torta().exportEntry().trigger(); });
    EXPECT_EQ(fileText(legendList), "192.0.2.1\n192.0.2.3\n");

    // A write that fails (here: the file size limit, as a full disk would) is told, and the
    // file that was there stays whole.
    std::ofstream(list.toStdString(), std::ios::trunc) << "kept\n";
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    const rlimit small{8, previous.rlim_max};
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    const QString alert = exportThroughPanel(list, [&] { exportButton.click(); });
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_TRUE(alert.startsWith(menuText("exportfailed"))) << alert.toStdString();
    EXPECT_TRUE(alert.contains(list));
    EXPECT_EQ(fileText(list), "kept\n");
}

} // namespace
} // namespace rovex
