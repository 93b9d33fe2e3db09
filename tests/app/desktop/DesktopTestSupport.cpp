#include "DesktopTestSupport.h"

#include <QDBusConnection>

#include "firewall/FixedPaths.h"

#include <QApplication>
#include <QItemSelectionModel>
#include <QMessageBox>
#include <QTimer>

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace rovex::test {

TempRoot::TempRoot()
{
    if (!m_dir.isValid())
        throw std::runtime_error("no temporary folder");
    std::filesystem::create_directories(log().parent_path());
}

std::filesystem::path TempRoot::log() const { return paths::underRoot(path(), paths::pfLog); }
std::filesystem::path TempRoot::library() const { return paths::underRoot(path(), paths::library); }
std::filesystem::path TempRoot::nations() const { return paths::underRoot(path(), paths::nations); }

void TempRoot::writeLibrary() const
{
    if (runProgram(simTool(), {QStringLiteral("library"), QStringLiteral("--root"), m_dir.path()}) != 0)
        throw std::runtime_error("rovex-sim library failed");
}

void TempRoot::writeNation(const std::string& code, const std::string& blocks) const
{
    std::filesystem::create_directories(nations());
    std::ofstream(nations() / (code + "-aggregated.zone")) << blocks;
}

void TempRoot::appendLog(const std::string& text) const { std::ofstream(log(), std::ios::app) << text << std::flush; }

std::string pfLine(const std::string& action, const std::string& direction, const std::string& source,
                   const std::string& sourcePort, const std::string& destination, const std::string& destinationPort)
{
    return "Dec  4 10:15:01 mymac pf: 00:00:00.606036 rule 1/0(match): " + action + " " + direction
        + " on en0: " + source + "." + sourcePort + " > " + destination + "." + destinationPort
        + ": Flags [S], seq 1, win 1024, length 0\n";
}

QByteArray blockIn(const std::string& source, const std::string& port)
{
    return QByteArray::fromStdString(pfLine("block", "in", source, "40000", "192.168.1.10", port));
}

namespace {

std::filesystem::path writeServices(const TempRoot& root)
{
    const std::filesystem::path services = root.path() / "services";
    std::ofstream(services) << "ftp 21/tcp\nssh 22/tcp # secure shell\nhttp 80/tcp www\nhttp 80/udp\nhttps 443/tcp\n";
    return services;
}

} // namespace

LiveTablesFixture::LiveTablesFixture() : tables(countries, std::chrono::milliseconds{0}, writeServices(root))
{
    std::ostringstream ignored;
    countries.load(root.nations(), ignored);
    tables.sortByCount();
}

void selectRows(QAbstractItemView& view, std::initializer_list<int> rows)
{
    view.clearSelection();
    for (const int row : rows)
        view.selectionModel()->select(view.model()->index(row, 0),
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

void acceptNextModal(QString* text, bool* above)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, text, above] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr)
            return;
        if (text != nullptr)
            *text = box->text();
        if (above != nullptr)
            *above = box->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        box->accept();
        poll->deleteLater();
    });
    poll->start(10);
}

Delegate::Delegate(const TempRoot& root)
    : delegate(root.path(), QDBusConnection::sessionBus(), WhoisServer{"127.0.0.1", 1})
{
    delegate.applicationDidFinishLaunching();
}

void OpenedPages::open(const QUrl& url)
{
    urls.append(url);
    openedUnderADialog = openedUnderADialog || QApplication::activeModalWidget() != nullptr;
}

QString simTool() { return QStringLiteral(ROVEX_BINARY_DIR "/tools/sim/rovex-sim"); }
QString notificationRecorder() { return QStringLiteral(ROVEX_BINARY_DIR "/tests/app/bus/notification-recorder"); }

} // namespace rovex::test
