#include "app/desktop/IgnoreListWindow.h"

#include "app/desktop/LiveTables.h"
#include "app/desktop/TypedName.h"
#include "app/widgets/SelectedRows.h"
#include "app/images/Images.h"

#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QVBoxLayout>

namespace rovex {

IgnoreListWindow::IgnoreListWindow(LiveTables& tables, QWidget* parent)
    : QWidget(parent, Qt::Window), m_tables(tables), m_refusal(new QLabel(this))
{
    setWindowTitle(menuText("winignore"));
    m_ports.list = new QListView;
    m_addresses.list = new QListView;
    m_ports.list->setModel(&tables.ignorePortModel());
    m_addresses.list->setModel(&tables.ignoreIpModel());
    auto* note = new QLabel(QStringLiteral("Lines for these ports and addresses are not counted in any of the "
                                           "four traffic windows."),
                            this);
    note->setWordWrap(true);
    m_refusal->setObjectName(QStringLiteral("refusal"));
    m_refusal->setStyleSheet(QStringLiteral("color: #b00020"));
    auto* columns = new QHBoxLayout;
    columns->addWidget(
        makeColumn("ignoredports", m_ports, &IgnoreListWindow::deIgnorePort, &IgnoreListWindow::addTypedPort));
    columns->addWidget(
        makeColumn("ignoredaddresses", m_addresses, &IgnoreListWindow::deIgnoreIp, &IgnoreListWindow::addTypedAddress));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(note);
    layout->addLayout(columns, 1);
    layout->addWidget(m_refusal);
    m_ports.field->setPlaceholderText(QStringLiteral("Port, 1 to 65535"));
    m_addresses.field->setPlaceholderText(QStringLiteral("IPv4 or IPv6 address"));
    resize(560, 420);
}

QWidget* IgnoreListWindow::makeColumn(const char* titleKey, Column& column, void (IgnoreListWindow::*unignore)(),
                                      void (IgnoreListWindow::*add)())
{
    auto* widget = new QWidget(this);
    column.list->setParent(widget);
    column.list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    column.list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    auto* title = new QLabel(menuText(titleKey), widget);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    column.unignore = new QPushButton(menuText("btnunignore"), widget);
    column.unignore->setEnabled(false);
    connect(column.unignore, &QPushButton::clicked, this, unignore);
    // Enabled exactly while something is selected; a reset of the list clears the selection.
    QPushButton* button = column.unignore;
    QItemSelectionModel* selection = column.list->selectionModel();
    connect(selection, &QItemSelectionModel::selectionChanged, button,
            [button, selection] { button->setEnabled(selection->hasSelection()); });
    connect(column.list->model(), &QAbstractItemModel::modelReset, button, [button] { button->setEnabled(false); });
    column.field = new QLineEdit(widget);
    column.add = new QPushButton(QStringLiteral("Ignore"), widget);
    connect(column.add, &QPushButton::clicked, this, add);
    connect(column.field, &QLineEdit::returnPressed, this, add);
    auto* adding = new QHBoxLayout;
    adding->addWidget(column.field, 1);
    adding->addWidget(column.add);
    auto* layout = new QVBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(title);
    layout->addWidget(column.list, 1);
    layout->addWidget(column.unignore, 0, Qt::AlignLeft);
    layout->addLayout(adding);
    return widget;
}

QString IgnoreListWindow::refusal() const { return m_refusal->text(); }

void IgnoreListWindow::deIgnorePort() { m_tables.deIgnorePort(selectedSourceRows(*m_ports.list)); }

void IgnoreListWindow::deIgnoreIp() { m_tables.deIgnoreIp(selectedSourceRows(*m_addresses.list)); }

void IgnoreListWindow::addTypedPort() { addTyped(IgnoreListModel::Kind::Ports, m_ports); }

void IgnoreListWindow::addTypedAddress() { addTyped(IgnoreListModel::Kind::Addresses, m_addresses); }

void IgnoreListWindow::addTyped(IgnoreListModel::Kind kind, Column& column)
{
    const TypedName typed = kind == IgnoreListModel::Kind::Ports ? typedPort(column.field->text())
                                                                 : typedAddress(column.field->text());
    if (!typed.accepted()) {
        m_refusal->setText(QStringLiteral("“%1” refused: %2").arg(column.field->text().left(64), typed.refusal));
        return;
    }
    if (!m_tables.ignoreName(kind, typed.name)) {
        m_refusal->setText(QStringLiteral("%1 is on the list already.").arg(QString::fromStdString(typed.name)));
        return;
    }
    m_refusal->clear();
    column.field->clear();
}

} // namespace rovex
