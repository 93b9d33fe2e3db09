#include "app/desktop/IgnoreListWindow.h"

#include "app/desktop/LiveTables.h"
#include "app/widgets/SelectedRows.h"
#include "app/images/Images.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QVBoxLayout>

namespace rovex {

IgnoreListWindow::IgnoreListWindow(LiveTables& tables, QWidget* parent)
    : QWidget(parent, Qt::Window), m_tables(tables), m_ports(new QListView), m_addresses(new QListView)
{
    setWindowTitle(menuText("winignore"));
    m_ports->setModel(&tables.ignorePortModel());
    m_addresses->setModel(&tables.ignoreIpModel());
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(makeColumn("ignoredports", m_ports, &IgnoreListWindow::deIgnorePort));
    layout->addWidget(makeColumn("ignoredaddresses", m_addresses, &IgnoreListWindow::deIgnoreIp));
    resize(520, 400);
}

QWidget* IgnoreListWindow::makeColumn(const char* titleKey, QListView* list, void (IgnoreListWindow::*action)())
{
    auto* column = new QWidget(this);
    list->setParent(column);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    auto* title = new QLabel(menuText(titleKey), column);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    auto* unignore = new QPushButton(menuText("btnunignore"), column);
    connect(unignore, &QPushButton::clicked, this, action);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(title);
    layout->addWidget(list, 1);
    layout->addWidget(unignore, 0, Qt::AlignLeft);
    return column;
}

void IgnoreListWindow::deIgnorePort() { m_tables.deIgnorePort(selectedSourceRows(*m_ports)); }

void IgnoreListWindow::deIgnoreIp() { m_tables.deIgnoreIp(selectedSourceRows(*m_addresses)); }

} // namespace rovex
