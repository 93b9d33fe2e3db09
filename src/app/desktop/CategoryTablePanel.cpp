#include "app/desktop/CategoryTablePanel.h"

#include "app/desktop/LiveTables.h"
#include "app/widgets/SelectedRows.h"
#include "app/images/Images.h"
#include "app/images/QtText.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QEvent>
#include <QScrollBar>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace rovex {

namespace {

// Typing is filtered once it pauses: each filtering is a pass over the whole table.
constexpr int filterDelayMs = 200;

} // namespace

CategoryTablePanel::CategoryTablePanel(LiveTables& tables, TrafficCategory category, QWidget* parent)
    : QWidget(parent),
      m_tables(tables),
      m_category(category),
      m_filter(new QLineEdit(this)),
      m_filterDelay(new QTimer(this)),
      m_table(new QTableView(this)),
      m_ignore(addButton("btnignore", "ignore")),
      m_remove(addButton("btnremove", "remove")),
      m_info(addButton("btninfo", "info")),
      m_pie(addButton("btnpie", "grafici"))
{
    setObjectName(QStringLiteral("panel")
                  + QString::fromLatin1(suffix(category).data(), static_cast<qsizetype>(suffix(category).size())));
    if (!isPortTable(category)) {
        m_blacklist = addButton("btnblacklist", "blacklist");
        m_group = addButton("btnaddtogroup", "addToGroup");
        m_export = addButton("btnexport", "export");
    }
    configureTable();
    describeButtons();
    m_filter->setObjectName(QStringLiteral("filter") + textOf(suffix(category)));
    m_filter->setPlaceholderText(isPortTable(category) ? QStringLiteral("Filter by port or service")
                                                       : QStringLiteral("Filter by address or country"));
    m_filter->setClearButtonEnabled(true);
    m_filterDelay->setSingleShot(true);
    m_filterDelay->setInterval(filterDelayMs);
    connect(m_filter, &QLineEdit::textChanged, m_filterDelay, qOverload<>(&QTimer::start));
    connect(m_filter, &QLineEdit::returnPressed, this, &CategoryTablePanel::applyFilter);
    connect(m_filterDelay, &QTimer::timeout, this, &CategoryTablePanel::applyFilter);
    auto* remove = new QShortcut(QKeySequence(Qt::Key_Delete), m_table, nullptr, nullptr, Qt::WidgetShortcut);
    connect(remove, &QShortcut::activated, this, &CategoryTablePanel::removeSelected);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_filter);
    layout->addWidget(m_table, 1);
    layout->addLayout(makeButtons());
    connect(m_ignore, &QPushButton::clicked, this, &CategoryTablePanel::ignoreSelected);
    connect(m_remove, &QPushButton::clicked, this, &CategoryTablePanel::removeSelected);
    connect(m_info, &QPushButton::clicked, this, &CategoryTablePanel::getInfoSelected);
    connect(m_pie, &QPushButton::clicked, this, &CategoryTablePanel::graficiSelected);
    connect(m_table->verticalScrollBar(), &QScrollBar::valueChanged, this, &CategoryTablePanel::tellLastShownRow);
    m_table->viewport()->installEventFilter(this);
}

// The sorted table repaints only for rows the view shows; it learns which as the view
// scrolls and resizes.
void CategoryTablePanel::tellLastShownRow()
{
    const int first = std::max(0, m_table->rowAt(0));
    const int rowHeight = std::max(1, m_table->verticalHeader()->defaultSectionSize());
    m_tables.sorted(m_category).setLastShownRow(first + m_table->viewport()->height() / rowHeight + 1);
}

bool CategoryTablePanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_table->viewport() && event->type() == QEvent::Resize)
        tellLastShownRow();
    return QWidget::eventFilter(watched, event);
}

// The button's object name is the action's name followed by the table's suffix.
QPushButton* CategoryTablePanel::addButton(const char* textKey, const char* name)
{
    auto* button = new QPushButton(menuText(textKey), this);
    button->setObjectName(QString::fromLatin1(name) + textOf(suffix(m_category)));
    return button;
}

QLayout* CategoryTablePanel::makeButtons()
{
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_pie);
    buttons->addWidget(m_ignore);
    buttons->addWidget(m_remove);
    buttons->addStretch(1);
    for (QPushButton* handOff : {m_blacklist, m_group, m_export}) {
        if (handOff != nullptr)
            buttons->addWidget(handOff);
    }
    buttons->addWidget(m_info);
    return buttons;
}

void CategoryTablePanel::describeButtons()
{
    const QString what = isPortTable(m_category) ? QStringLiteral("ports") : QStringLiteral("addresses");
    m_ignore->setToolTip(QStringLiteral("Stop counting lines for the selected %1, in all four windows "
                                        "(the ignore lists undo it)")
                             .arg(what));
    m_remove->setToolTip(QStringLiteral("Take the selected rows out of this table (Delete); "
                                        "they come back when seen again"));
}

void CategoryTablePanel::configureTable()
{
    m_table->setModel(&m_tables.sorted(m_category));
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->setAlternatingRowColors(true);
    m_table->setShowGrid(false);
    m_table->setWordWrap(false);
    m_table->setIconSize(QSize(16, 16));
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    QHeaderView& header = *m_table->horizontalHeader();
    header.setHighlightSections(false);
    // By count, highest first, until the user clicks another header.
    header.setSortIndicator(TrafficTableModel::CountColumn, Qt::DescendingOrder);
    m_table->setSortingEnabled(true);
    sizeColumns();
}

// Widths from the font: a whole IPv6 address, a date, a service name; the country takes
// what a long name needs, not the spare width, and the flag column fits the flag.
void CategoryTablePanel::sizeColumns()
{
    const QFontMetrics metrics = m_table->fontMetrics();
    const auto fit = [&metrics](const char* text) { return metrics.horizontalAdvance(QLatin1String(text)) + 16; };
    QHeaderView& header = *m_table->horizontalHeader();
    header.setStretchLastSection(false);
    header.setMinimumSectionSize(24);
    const bool ports = isPortTable(m_category);
    // Samples of wide characters: digits, not the narrow "f" of a real address.
    header.resizeSection(TrafficTableModel::IconColumn, ports ? fit("ms-wbt-server") + 20 : 26);
    header.resizeSection(TrafficTableModel::NameColumn,
                         ports ? fit("655350") : fit("8888:8888:8888:8888:8888:8888:8888:8888"));
    header.resizeSection(TrafficTableModel::CountColumn, fit("99999999"));
    header.resizeSection(TrafficTableModel::DateColumn, fit("2000-00-00 00:00:00"));
    if (!ports) {
        header.resizeSection(TrafficTableModel::FlagColumn, 28);
        header.resizeSection(TrafficTableModel::CountryColumn, fit("Bosnia and Herzegovina"));
    }
}

void CategoryTablePanel::applyFilter()
{
    m_filterDelay->stop();
    m_tables.sorted(m_category).setFilter(m_filter->text());
}

void CategoryTablePanel::ignoreSelected()
{
    const std::vector<std::size_t> rows = selectedSourceRows(*m_table);
    if (!rows.empty())
        m_tables.ignore(m_category, rows);
}

void CategoryTablePanel::getInfoSelected()
{
    const std::optional<std::size_t> row = topSelectedSourceRow(*m_table);
    if (!row)
        return;
    Q_EMIT informationRequested(m_category, textOf(m_tables.store().rowName(m_category, *row)), m_info);
}

void CategoryTablePanel::graficiSelected()
{
    const std::optional<std::size_t> row = topSelectedSourceRow(*m_table);
    if (!row)
        return;
    Q_EMIT pieRequested(m_category, textOf(m_tables.store().rowName(m_category, *row)), m_pie);
}

QStringList CategoryTablePanel::selectedNames() const
{
    QStringList names;
    for (const std::size_t row : selectedSourceRows(*m_table))
        names.append(textOf(m_tables.store().rowName(m_category, row)));
    return names;
}

void CategoryTablePanel::removeSelected()
{
    const std::vector<std::size_t> rows = selectedSourceRows(*m_table);
    if (!rows.empty())
        m_tables.remove(m_category, rows);
}

} // namespace rovex
