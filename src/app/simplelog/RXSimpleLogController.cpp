#include "app/simplelog/RXSimpleLogController.h"

#include "app/images/QtText.h"
#include "app/intel/AddressLookup.h"
#include "app/intel/BackgroundWork.h"
#include "app/intel/PortLookup.h"
#include "app/simplelog/LogStringPopover.h"
#include "app/simplelog/SimpleLogDetailPopover.h"
#include "app/simplelog/SimpleLogModel.h"
#include "app/simplelog/SimpleLogWindow.h"
#include "app/widgets/AddressInfoPopover.h"
#include "app/widgets/BusyIndicator.h"
#include "app/widgets/PortInfoPopover.h"
#include "app/widgets/SelectedRows.h"
#include "simplelog/SimpleLogLineReader.h"
#include "simplelog/SimpleLogTail.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSortFilterProxyModel>
#include <QSpinBox>
#include <QTableView>

#include <utility>

namespace rovex {

RXSimpleLogController::RXSimpleLogController(std::filesystem::path log, const ServiceImages& services,
                                             const CountryDatabase& countries,
                                             const std::optional<WhoisServer>& whoisServer, PortLookup& portLookup,
                                             PortInfoPopover& portInfoPopOver, std::chrono::milliseconds liveRowsDelay,
                                             QObject* parent)
    : QObject(parent),
      m_log(std::move(log)),
      m_services(services),
      m_portLookup(portLookup),
      m_portInfoPopOver(portInfoPopOver),
      m_window(std::make_unique<SimpleLogWindow>()),
      m_model(new SimpleLogModel(this)),
      m_arranged(new QSortFilterProxyModel(this)),
      m_addressLookup(new AddressLookup(countries, whoisServer, QStringLiteral("SimpleLog"), this)),
      m_popOverSL(std::make_unique<SimpleLogDetailPopover>()),
      m_logStringPopover(std::make_unique<LogStringPopover>()),
      m_addrinfoPopover(std::make_unique<AddressInfoPopover>(*m_addressLookup))
{
    m_showLiveRows.setSingleShot(true);
    m_showLiveRows.setInterval(liveRowsDelay);
    connect(&m_showLiveRows, &QTimer::timeout, this, [this] { runtimelog(std::exchange(m_liveRows, {})); });
    m_arranged->setSourceModel(m_model);
    m_arranged->setSortRole(SimpleLogModel::sortRole);
    m_window->tableviewSimpleLog().setModel(m_arranged);
    QHeaderView* header = m_window->tableviewSimpleLog().horizontalHeader();
    // Wide enough for a whole IPv6 address.
    const int address = header->fontMetrics().horizontalAdvance(
                            QStringLiteral("2a03:b0c0:9995:ab4a:eeca:f50c:eebd:8a0b"))
        + 24;
    header->resizeSection(SimpleLogModel::ActionColumn, 100);
    header->resizeSection(SimpleLogModel::DateColumn, 125);
    header->resizeSection(SimpleLogModel::InterfaceColumn, 70);
    header->resizeSection(SimpleLogModel::SourceColumn, address);
    header->resizeSection(SimpleLogModel::SourcePortColumn, 80);
    header->resizeSection(SimpleLogModel::DestinationColumn, address);
    connectButtons();
    connect(this, &RXSimpleLogController::doLayout, this, &RXSimpleLogController::layoutTempRows);
}

RXSimpleLogController::~RXSimpleLogController() = default;

void RXSimpleLogController::connectButtons()
{
    using Action = void (RXSimpleLogController::*)(QWidget*);
    const std::pair<const char*, Action> actions[] = {
        {"showInfoSimpleLog", &RXSimpleLogController::showInfoSimpleLog},
        {"openLogStringPopover", &RXSimpleLogController::openLogStringPopover},
        {"infoPopoverSourceIP", &RXSimpleLogController::infoPopoverSourceIP},
        {"infoPopoverDestinationIP", &RXSimpleLogController::infoPopoverDestinationIP},
        {"infoPopoverSourcePort", &RXSimpleLogController::infoPopoverSourcePort},
        {"infoPopoverDestinationPort", &RXSimpleLogController::infoPopoverDestinationPort},
    };
    for (const auto& [name, action] : actions) {
        QPushButton* button = &m_window->rowButton(name);
        connect(button, &QPushButton::clicked, this, [this, button, action = action] { (this->*action)(button); });
    }
    connect(&m_window->showLogsButton(), &QPushButton::clicked, this, &RXSimpleLogController::openSimpleLogs);
    connect(&m_window->clearButton(), &QPushButton::clicked, this, &RXSimpleLogController::clearLogTable);
    connect(m_popOverSL.get(), &SimpleLogDetailPopover::sourceInfoRequested, this, &RXSimpleLogController::sourceInfo);
    connect(m_popOverSL.get(), &SimpleLogDetailPopover::targetInfoRequested, this, &RXSimpleLogController::targetInfo);
}

void RXSimpleLogController::setDoubleAction()
{
    connect(&m_window->tableviewSimpleLog(), &QTableView::doubleClicked, this, &RXSimpleLogController::showRowAt,
            Qt::UniqueConnection);
}

// --- live road ---

void RXSimpleLogController::setLog(std::filesystem::path log, LayoutSetting layouts)
{
    m_log = std::move(log);
    m_liveLayouts.setSetting(layouts);
}

// Lines that arrive while the window is hidden are never shown: they are not even read,
// but the piece of a line a read cuts off is kept for the read that completes it.
void RXSimpleLogController::readLiveChunk(const QByteArray& chunk)
{
    const std::string_view bytes(chunk.constData(), static_cast<std::size_t>(chunk.size()));
    if (!m_window->showsLiveRows()) {
        m_liveLines.skip(bytes);
        return;
    }
    m_liveLines.feed(bytes, [this](std::string_view line) { appendLiveRow(m_liveRows, line); });
    showLiveRows();
}

void RXSimpleLogController::liveFileEnded()
{
    if (!m_window->showsLiveRows()) {
        m_liveLines.endOfFile([](std::string_view) {});
        return;
    }
    m_liveLines.endOfFile([this](std::string_view line) { appendLiveRow(m_liveRows, line); });
    showLiveRows();
}

void RXSimpleLogController::showLiveRows()
{
    if (m_liveRows.empty())
        return;
    if (m_showLiveRows.interval() == 0)
        runtimelog(std::exchange(m_liveRows, {}));
    else if (!m_showLiveRows.isActive())
        m_showLiveRows.start();
}

void RXSimpleLogController::appendLiveRow(std::vector<RXSimpleLog>& rows, std::string_view line)
{
    SimpleLogReading reading = readSimpleLogLine(line, SimpleLogRoad::Live, m_services, m_liveLayouts);
    if (reading.row)
        rows.push_back(std::move(*reading.row));
}

void RXSimpleLogController::runtimelog(std::vector<RXSimpleLog> rows)
{
    if (!rows.empty() && m_readingOnDemand) {
        // Newer than the tail being read: they go below it once it is shown.
        std::move(rows.begin(), rows.end(), std::back_inserter(m_heldRows));
    } else if (!rows.empty()) {
        m_model->appendRows(std::move(rows));
        followNewest();
    }
    cutToMaxLogLines();
}

// The table grows to the limit plus 50 rows and is then cut back to the limit at once, so
// that rows never leave one at a time.
void RXSimpleLogController::cutToMaxLogLines()
{
    const auto limit = static_cast<std::size_t>(m_window->maxLogLines().value());
    if (limit + 50 < m_model->size())
        m_model->removeOldest(m_model->size() - limit);
}

// The newest row is the model's last, wherever a sorted view shows it. Scrolling to the
// bottom first lays out the rows just added, which scrolling to a row alone would not.
void RXSimpleLogController::followNewest()
{
    if (!m_window->cleckboxScrollEnable().isChecked() || m_model->size() == 0)
        return;
    QTableView& table = m_window->tableviewSimpleLog();
    table.scrollToBottom();
    const QModelIndex newest = m_arranged->mapFromSource(m_model->index(static_cast<int>(m_model->size()) - 1, 0));
    if (newest.row() != m_arranged->rowCount() - 1)
        table.scrollTo(newest);
}

// --- on-demand road ---

void RXSimpleLogController::openSimpleLogs()
{
    // A log that cannot be read leaves the table and the limiter as they are.
    const QFileInfo log(QString::fromStdString(m_log.string()));
    if (!log.isFile() || !log.isReadable()) {
        Q_EMIT logFileNotFound();
        return;
    }
    m_window->progressIndicator().show();
    m_window->progressIndicator().startAnimation();
    m_window->showLogsButton().setEnabled(false);
    m_model->clear();
    m_simpleLogsArrayTemp.clear();
    m_readingOnDemand = true;
    const std::int64_t limiter = m_window->limiter().value();
    runInBackground<std::optional<SimpleLogTail>>(
        this,
        [path = m_log, limiter, services = m_services, layouts = m_liveLayouts.setting()] {
            return readSimpleLogTail(path, limiter, services, nullptr, layouts);
        },
        [this](std::optional<SimpleLogTail> tail) { tailRead(std::move(tail)); });
}

void RXSimpleLogController::tailRead(std::optional<SimpleLogTail> tail)
{
    if (!tail) {
        layoutTempRows();
        Q_EMIT logFileNotFound();
        return;
    }
    if (tail->limiter != m_window->limiter().value())
        m_window->limiter().setValue(static_cast<int>(tail->limiter)); // the slider follows
    m_simpleLogsArrayTemp = std::move(tail->rows);
    Q_EMIT doLayout();
}

void RXSimpleLogController::layoutTempRows()
{
    m_model->appendRows(std::exchange(m_simpleLogsArrayTemp, {}));
    m_window->showLogsButton().setEnabled(true);
    m_window->progressIndicator().stopAnimation();
    m_window->progressIndicator().hide();
    m_readingOnDemand = false;
    if (!m_heldRows.empty()) {
        m_model->appendRows(std::exchange(m_heldRows, {}));
        followNewest();
    }
}

void RXSimpleLogController::clearLogTable() { m_model->clear(); }

// --- actions on the selected row ---

const RXSimpleLog* RXSimpleLogController::selectedRow() const
{
    const std::optional<std::size_t> row = topSelectedSourceRow(m_window->tableviewSimpleLog());
    if (!row || *row >= m_model->size())
        return nullptr;
    return &m_model->rowAt(*row);
}

void RXSimpleLogController::showInfoSimpleLog(QWidget* sender)
{
    if (const RXSimpleLog* row = selectedRow()) {
        m_popOverSL->showRow(*row);
        m_popOverSL->showRelativeTo(sender, PopoverEdge::Right);
    }
}

// A double click opens the detail of the row clicked, beside that row.
void RXSimpleLogController::showRowAt(const QModelIndex& index)
{
    const QModelIndex source = m_arranged->mapToSource(index);
    if (!source.isValid() || static_cast<std::size_t>(source.row()) >= m_model->size())
        return;
    QTableView& table = m_window->tableviewSimpleLog();
    const QRect row = table.visualRect(index);
    m_popOverSL->showRow(m_model->rowAt(static_cast<std::size_t>(source.row())));
    m_popOverSL->showRelativeTo(QRect(table.viewport()->mapToGlobal(row.topLeft()), row.size()), PopoverEdge::Right);
}

void RXSimpleLogController::openLogStringPopover(QWidget* sender)
{
    if (const RXSimpleLog* row = selectedRow()) {
        m_logStringPopover->infoLabel().setText(textOf(row->logString()));
        m_logStringPopover->showRelativeTo(sender, PopoverEdge::Top);
    }
}

void RXSimpleLogController::infoPopoverSourceIP(QWidget* sender)
{
    if (const RXSimpleLog* row = selectedRow())
        openAddress(textOf(row->logFirstAddress()), sender, PopoverEdge::Left);
}

void RXSimpleLogController::infoPopoverDestinationIP(QWidget* sender)
{
    if (const RXSimpleLog* row = selectedRow())
        openAddress(textOf(row->logSecondAddress()), sender, PopoverEdge::Left);
}

// From the detail popover: the addresses of the row it shows, whatever the table holds now.
void RXSimpleLogController::sourceInfo(QWidget* sender)
{
    openAddress(m_popOverSL->field("ipSorgente").text(), sender, PopoverEdge::Top);
}

void RXSimpleLogController::targetInfo(QWidget* sender)
{
    openAddress(m_popOverSL->field("ipDestinazione").text(), sender, PopoverEdge::Top);
}

void RXSimpleLogController::openAddress(const QString& address, QWidget* sender, PopoverEdge edge)
{
    if (address.isEmpty())
        return;
    resolveIP(address);
    m_addrinfoPopover->showRelativeTo(sender, edge);
}

void RXSimpleLogController::resolveIP(const QString& address) { m_addressLookup->resolveIP(address); }

void RXSimpleLogController::infoPopoverSourcePort(QWidget* sender) { openPort(true, sender); }

void RXSimpleLogController::infoPopoverDestinationPort(QWidget* sender) { openPort(false, sender); }

void RXSimpleLogController::openPort(bool source, QWidget* sender)
{
    if (const RXSimpleLog* row = selectedRow()) {
        m_portLookup.getPortInfo(textOf(source ? row->logFirstPort() : row->logSecondPort()));
        m_portInfoPopOver.showRelativeTo(sender, PopoverEdge::Left);
    }
}

} // namespace rovex
