#include "app/desktop/CategoryTablePanel.h"

#include "app/desktop/LiveTables.h"
#include "app/widgets/SelectedRows.h"
#include "app/images/Images.h"
#include "app/images/QtText.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace rovex {

CategoryTablePanel::CategoryTablePanel(LiveTables& tables, TrafficCategory category, QWidget* parent)
    : QWidget(parent),
      m_tables(tables),
      m_category(category),
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
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_table, 1);
    layout->addLayout(makeButtons());
    connect(m_ignore, &QPushButton::clicked, this, &CategoryTablePanel::ignoreSelected);
    connect(m_remove, &QPushButton::clicked, this, &CategoryTablePanel::removeSelected);
    connect(m_info, &QPushButton::clicked, this, &CategoryTablePanel::getInfoSelected);
    connect(m_pie, &QPushButton::clicked, this, &CategoryTablePanel::graficiSelected);
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

void CategoryTablePanel::configureTable()
{
    m_table->setModel(&m_tables.sorted(m_category));
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->setSortingEnabled(false); // always by count, as the tables are kept
    m_table->setAlternatingRowColors(true);
    m_table->setShowGrid(false);
    m_table->setWordWrap(false);
    m_table->setIconSize(QSize(16, 16));
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    QHeaderView& header = *m_table->horizontalHeader();
    header.setHighlightSections(false);
    header.setStretchLastSection(true);
    header.resizeSection(TrafficTableModel::IconColumn, 26);
    header.resizeSection(TrafficTableModel::NameColumn, isPortTable(m_category) ? 70 : 250);
    header.resizeSection(TrafficTableModel::CountColumn, 70);
    header.resizeSection(TrafficTableModel::DateColumn, 140);
    if (!isPortTable(m_category))
        header.resizeSection(TrafficTableModel::FlagColumn, 56);
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
