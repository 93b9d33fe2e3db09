#include "app/stats/RXLogParser.h"

#include "app/images/MenuTexts.h"
#include "app/images/QtText.h"
#include "app/intel/AddressLookup.h"
#include "app/intel/BackgroundWork.h"
#include "app/intel/PortLookup.h"
#include "app/stats/StatsEntryModel.h"
#include "app/stats/StatsPortPopover.h"
#include "app/stats/StatsWindow.h"
#include "app/widgets/AddressInfoPopover.h"
#include "app/widgets/BusyIndicator.h"
#include "app/widgets/CustomCircle.h"
#include "app/widgets/SelectedRows.h"
#include "lookup/WhoisServer.h"
#include "stats/StatsRun.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>

#include <algorithm>
#include <iostream>

namespace rovex {

namespace {

template <typename Entry>
std::vector<StatsEntry> entriesOf(const std::vector<Entry>& rows, QString (*name)(const Entry&))
{
    std::vector<StatsEntry> entries;
    entries.reserve(rows.size());
    for (const Entry& row : rows) {
        entries.push_back({name(row), row.theOccurrences, row.maxOccurrences,
                           row.theColor ? std::optional(colorOf(*row.theColor)) : std::nullopt});
    }
    return entries;
}

QString addressName(const RXAddress& address) { return textOf(address.theAddress); }
QString portName(const RXPort& port) { return textOf(port.portText); }

bool allDigits(const QString& text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

} // namespace

RXLogParser::RXLogParser(LogArchives log, const CountryDatabase& countries,
                         const std::optional<WhoisServer>& whoisServer, QObject* parent)
    : QObject(parent),
      m_log(log),
      m_lastLog(std::move(log)),
      m_window(std::make_unique<StatsWindow>()),
      m_portPopover(std::make_unique<StatsPortPopover>()),
      m_addressLookup(new AddressLookup(countries, whoisServer, QStringLiteral("LogParser"), this)),
      m_addrinfoPopover(std::make_unique<AddressInfoPopover>(*m_addressLookup)),
      m_portLookup(new PortLookup(systemServicesFile, this))
{
    StatsWindow& window = *m_window;
    connect(&window.buttonGetStats(), &QPushButton::clicked, this, &RXLogParser::getStats);
    connect(&window.portinfobtn(), &QPushButton::clicked, this,
            [this] { openPortPopoverTableView(&m_window->portinfobtn()); });
    connect(&window.ipinfobtn(), &QPushButton::clicked, this,
            [this] { showinfoaddresspopover(&m_window->ipinfobtn()); });
    connect(&window.consoleButton(), &QPushButton::clicked, this, &RXLogParser::openLogsInConsoleApp);
    connect(&m_portPopover->closebtn(), &QPushButton::clicked, this, &RXLogParser::clickclosebtn);
    connect(&m_portPopover->ipinfobtn(), &QPushButton::clicked, this,
            [this] { showinfoippopover(&m_portPopover->ipinfobtn()); });
    // Closed by a click elsewhere, the popover gives the buttons back as its close button does.
    connect(m_portPopover.get(), &Popover::hidden, this, [this] { enablePortButtons(true); });
    m_progress.setInterval(250);
    connect(&m_progress, &QTimer::timeout, this, [this] {
        if (m_linesRead)
            showLinesRead(m_linesRead->load(std::memory_order_relaxed));
    });
    connect(m_portLookup, &PortLookup::found, this, [this](const QString&, const QString& lines, const QString&) {
        m_portPopover->portServiceName().setPlainText(lines.isEmpty() ? menuText("noinfo") : lines);
    });
}

RXLogParser::~RXLogParser() = default;

void RXLogParser::setLog(const LogArchives& log, LayoutSetting layouts)
{
    m_log = log;
    m_layouts = layouts;
}

void RXLogParser::openLogsWindow()
{
    // Counted once each time the window is shown; the slider keeps at least one file.
    m_window->setFileCount(static_cast<int>(std::min<std::int64_t>(m_log.countEntries(), 10'000)));
    m_window->portinfobtn().setEnabled(true);
    m_window->ipinfobtn().setEnabled(true);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void RXLogParser::getStats()
{
    m_window->buttonGetStats().setEnabled(false);
    startRun();
}

void RXLogParser::clearCharts()
{
    for (QWidget* container : {&m_window->principale(), &m_window->principale2()})
        qDeleteAll(container->findChildren<CustomCircle*>(Qt::FindDirectChildrenOnly));
}

void RXLogParser::startRun()
{
    StatsWindow& window = *m_window;
    for (QGroupBox* box : {&window.ipBox(), &window.portBox(), &window.dangerBox()})
        box->hide();
    clearCharts();
    window.addressesCollectionViewArray().clear();
    window.portsCollectionViewArray().clear();
    m_portPopover->ipForPortCollViewArray().clear();
    m_result.reset();
    // Everything the run needs is read now: changing the controls meanwhile changes nothing.
    m_lastFileCount = window.parsingLimit().value();
    const StatsQuery query = StatsQuery::fromMatrices(window.passMatrix().checkedId(), window.inoutMatrix().checkedId(),
                                                      window.ipLimit().value());
    m_lastQuery = query;
    m_lastLog = m_log;
    m_lastLayouts = m_layouts;
    window.statsProgressIndicator().setRange(0, 0);
    window.statsProgressIndicator().show();
    showLinesRead(0);
    window.statsProgressString().show();
    m_running = true;
    m_linesRead = std::make_shared<std::atomic<std::int64_t>>(0);
    m_progress.start();
    const std::uint64_t generation = ++m_runGeneration;
    runInBackground<std::shared_ptr<const StatsResult>>(
        this,
        [log = m_lastLog, layouts = m_lastLayouts, files = m_lastFileCount, query, linesRead = m_linesRead] {
            StatsRunOptions options;
            options.linesRead = linesRead.get();
            options.layouts = layouts;
            return std::make_shared<const StatsResult>(runStatistics(log, files, query, options));
        },
        [this, generation](std::shared_ptr<const StatsResult> result) {
            if (generation == m_runGeneration)
                loadLayout(std::move(result));
        });
}

void RXLogParser::showLinesRead(std::int64_t lines)
{
    m_window->statsProgressString().setText(menuText("reading") + QStringLiteral(" ") + QLocale().toString(lines)
                                            + QStringLiteral(" ") + menuText("loglines"));
}

void RXLogParser::loadLayout(std::shared_ptr<const StatsResult> result)
{
    m_running = false;
    m_progress.stop();
    m_linesRead.reset();
    for (const std::string& line : result->diagnostics)
        std::cerr << line << '\n';
    StatsWindow& window = *m_window;
    window.statsProgressIndicator().hide();
    showLinesRead(result->lineCount);
    window.buttonGetStats().setEnabled(true);
    m_result = std::move(result);
    if (m_result->missing || m_result->empty) {
        restoreIdle(*m_result);
        return;
    }
    window.ipBox().show();
    window.portBox().show();
    window.statsProgressString().hide();
    CustomCircle::placeIn(window.principale(), m_result->addressSlices);
    CustomCircle::placeIn(window.principale2(), m_result->portSlices);
    window.addressesCollectionViewArray().setEntries(entriesOf(m_result->addresses, &addressName));
    window.portsCollectionViewArray().setEntries(entriesOf(m_result->ports, &portName));
    Q_EMIT loadLayoutLogParser();
}

// A missing log shows the empty boxes again; an empty selection hides them, showing only
// the (empty) box of dangerous addresses for inbound traffic.
void RXLogParser::restoreIdle(const StatsResult& result)
{
    StatsWindow& window = *m_window;
    window.statsProgressString().clear();
    window.statsProgressString().hide();
    window.ipBox().setVisible(result.boxes.ipBox);
    window.portBox().setVisible(result.boxes.portBox);
    window.dangerBox().setVisible(result.boxes.dangerBox);
    Q_EMIT loadLayoutLogParser();
}

void RXLogParser::enablePortButtons(bool enabled)
{
    m_window->portinfobtn().setEnabled(enabled);
    m_window->ipinfobtn().setEnabled(enabled);
}

void RXLogParser::openPortPopoverTableView(QWidget* sender)
{
    const std::vector<std::size_t> rows = selectedSourceRows(m_window->portsView());
    if (rows.size() != 1 || !m_result || rows.front() >= m_result->ports.size())
        return;
    const QString port = textOf(m_result->ports[rows.front()].portText);
    m_portPopover->closebtn().setEnabled(false);
    m_portPopover->ipforportScrollView().hide();
    m_portPopover->portServiceName().clear();
    m_portPopover->showRelativeTo(sender, PopoverEdge::Right);
    enablePortButtons(false); // after showing: showing closes the address popover, not this one
    m_portPopover->portLabel().setText(port);
    // The service table is searched only for a port number, never with other text.
    if (allDigits(port))
        m_portLookup->getPortInfo(port);
    else
        m_portPopover->portServiceName().setPlainText(menuText("noinfo"));
    findIPsForPort(port);
}

// The addresses seen on the port in the records the last run selected (the same files
// read again, the live log as far as the run read it), taken by the direction and length
// chosen now; the list of an earlier request is replaced, never added to.
void RXLogParser::findIPsForPort(const QString& port)
{
    StatsPortPopover& popover = *m_portPopover;
    const std::string direction = directionOfRow(m_window->inoutMatrix().checkedId());
    popover.ipforportScrollView().hide();
    popover.portProgress().show();
    popover.portProgress().startAnimation();
    popover.ipForPortCollViewArray().clear();
    StatsQuery query = m_lastQuery;
    query.port = PortQuery{port.toStdString(), direction, std::max(1, m_window->ipLimit().value())};
    const std::uint64_t generation = ++m_portGeneration;
    runInBackground<IpsForPort>(
        this,
        [log = m_lastLog, layouts = m_lastLayouts, files = m_lastFileCount, query,
         bytes = m_result ? m_result->liveLogBytes : 0] {
            // The live log only as far as the run read it: lines written since are not its.
            StatsRunOptions options;
            options.liveLogByteLimit = bytes;
            options.layouts = layouts;
            StatsResult result = runStatistics(log, files, query, options);
            return result.ipsForPort.value_or(IpsForPort{query.port->direction, {}});
        },
        [this, generation](const IpsForPort& list) {
            if (generation == m_portGeneration)
                loadPortLayout(list);
        });
}

void RXLogParser::loadPortLayout(const IpsForPort& list)
{
    m_portPopover->ipForPortCollViewArray().setEntries(entriesOf(list.entries, &addressName));
    m_portPopover->portProgress().stopAnimation();
    m_portPopover->portProgress().hide();
    m_portPopover->ipforportScrollView().show();
    m_portPopover->closebtn().setEnabled(true);
    Q_EMIT loadPortLayoutLogParser();
}

void RXLogParser::clickclosebtn()
{
    m_portPopover->hide();
    enablePortButtons(true);
}

void RXLogParser::showAddress(const QString& address, QWidget* sender)
{
    m_addressLookup->resolveIP(address);
    m_addrinfoPopover->showRelativeTo(sender, PopoverEdge::Top);
}

void RXLogParser::showinfoaddresspopover(QWidget* sender)
{
    const std::optional<std::size_t> row = topSelectedSourceRow(m_window->addressesView());
    const auto& entries = m_window->addressesCollectionViewArray().entries();
    if (row && *row < entries.size())
        showAddress(entries[*row].name, sender);
}

void RXLogParser::showinfoippopover(QWidget* sender)
{
    const std::optional<std::size_t> row = topSelectedSourceRow(m_portPopover->ipforportScrollView());
    const auto& entries = m_portPopover->ipForPortCollViewArray().entries();
    if (row && *row < entries.size())
        showAddress(entries[*row].name, sender);
}

void RXLogParser::openLogsInConsoleApp()
{
    const QString log = QString::fromStdString(m_log.liveLog().string());
    if (!QProcess::startDetached(QStringLiteral("xdg-open"), {log}))
        std::cout << "xdg-open could not be started for " << log.toStdString() << std::endl;
}

} // namespace rovex
