#include "app/desktop/TortaPopover.h"

#include "app/images/Images.h"
#include "app/images/MenuTexts.h"
#include "app/widgets/CustomCircle.h"
#include "app/widgets/PieLegendModel.h"
#include "app/widgets/PopoverText.h"
#include "app/widgets/SelectedRows.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace rovex {

namespace {

constexpr int chartSide = 2 * static_cast<int>(pieRadius) + 10;

} // namespace

TortaPopover::TortaPopover(QWidget* parent)
    : Popover(parent),
      m_grafico(new QWidget(this)),
      m_tortaLabel(new QLabel(this)),
      m_iconaPort(new QLabel(this)),
      m_iconaAddress(new QLabel(this)),
      m_legend(new QTableView(this)),
      m_controllerLegenda(new PieLegendModel(this)),
      m_tortablacklist(new QPushButton(menuText("btnblacklist"), this)),
      m_tortaPopup(new QToolButton(this)),
      m_addToGroup(new QAction(menuText("btnaddtogroup"), this)),
      m_export(new QAction(menuText("btnexport"), this)),
      m_info(new QPushButton(menuText("btninfo"), this))
{
    setObjectName(QStringLiteral("tortaPopover"));
    m_grafico->setObjectName(QStringLiteral("grafico"));
    m_grafico->setFixedSize(chartSide, chartSide);
    configureLegend();
    auto* body = new QHBoxLayout;
    body->addWidget(m_grafico, 0, Qt::AlignTop);
    body->addWidget(m_legend, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(makeHeader());
    layout->addLayout(body, 1);
    layout->addLayout(makeButtons());
    connect(m_tortablacklist, &QPushButton::clicked, this, &TortaPopover::blacklistTorta);
    connect(m_addToGroup, &QAction::triggered, this, &TortaPopover::addToGroupTorta);
    connect(m_export, &QAction::triggered, this, &TortaPopover::exportTorta);
    connect(m_info, &QPushButton::clicked, this, [this] { Q_EMIT infoContenutoTortaPopoverIPorPort(m_info); });
    dia();
}

QLayout* TortaPopover::makeHeader()
{
    m_tortaLabel->setObjectName(QStringLiteral("tortaLabel"));
    styleAsPopoverTitle(*m_tortaLabel);
    m_iconaPort->setObjectName(QStringLiteral("iconaPort"));
    m_iconaPort->setPixmap(Images::named(QStringLiteral("iconaPort")).pixmap(24, 24));
    m_iconaAddress->setObjectName(QStringLiteral("iconaAddress"));
    m_iconaAddress->setPixmap(Images::named(QStringLiteral("iconaAddress")).pixmap(24, 24));
    auto* header = new QHBoxLayout;
    header->addWidget(m_iconaPort);
    header->addWidget(m_iconaAddress);
    header->addWidget(m_tortaLabel, 1);
    return header;
}

QLayout* TortaPopover::makeButtons()
{
    m_tortablacklist->setObjectName(QStringLiteral("tortablacklist"));
    m_tortaPopup->setObjectName(QStringLiteral("tortaPopup"));
    m_tortaPopup->setText(menuText("btngroup"));
    m_tortaPopup->setPopupMode(QToolButton::InstantPopup);
    auto* menu = new QMenu(m_tortaPopup);
    m_addToGroup->setObjectName(QStringLiteral("addToGroupTorta"));
    m_export->setObjectName(QStringLiteral("exportTorta"));
    menu->addAction(m_addToGroup);
    menu->addAction(m_export);
    m_tortaPopup->setMenu(menu);
    m_info->setObjectName(QStringLiteral("infoContenutoTortaPopoverIPorPort"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_tortablacklist);
    buttons->addWidget(m_tortaPopup);
    buttons->addStretch(1);
    buttons->addWidget(m_info);
    return buttons;
}

void TortaPopover::configureLegend()
{
    m_legend->setObjectName(QStringLiteral("tableLegenda"));
    m_legend->setModel(m_controllerLegenda);
    m_legend->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_legend->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_legend->setShowGrid(false);
    m_legend->setWordWrap(false);
    m_legend->verticalHeader()->hide();
    m_legend->verticalHeader()->setDefaultSectionSize(m_legend->fontMetrics().height() + 4);
    QHeaderView& header = *m_legend->horizontalHeader();
    header.setHighlightSections(false);
    header.setSectionResizeMode(PieLegendModel::SignColumn, QHeaderView::Fixed);
    header.resizeSection(PieLegendModel::SignColumn, 24);
    header.setSectionResizeMode(PieLegendModel::NameColumn, QHeaderView::Stretch);
    header.resizeSection(PieLegendModel::CountColumn, 70);
    m_legend->setMinimumSize(330, chartSide);
}

void TortaPopover::makegrafico(std::vector<RXDiaObj> slices)
{
    m_valoripassatitemporanei = std::move(slices);
    m_controllerLegenda->setSlices(m_valoripassatitemporanei);
    dia();
}

// One chart at a time: the new one takes the place of the one before.
void TortaPopover::dia()
{
    delete m_chart;
    m_chart = CustomCircle::placeIn(*m_grafico, m_valoripassatitemporanei);
}

void TortaPopover::showPie(TrafficCategory category, const QString& name, std::vector<RXDiaObj> slices,
                           const QWidget* sender)
{
    m_tortablacklist->show();
    m_tortaPopup->show();
    makegrafico(std::move(slices));
    const bool port = isPortTable(category);
    m_iconaPort->setVisible(port);
    m_iconaAddress->setVisible(!port);
    m_tortaLabel->setText(name);
    if (name.isEmpty())
        return;
    m_tortaPopoverIPorPORT = port ? QStringLiteral("PORT") : QStringLiteral("IP");
    showRelativeTo(sender, port ? PopoverEdge::Left : PopoverEdge::Right);
}

QStringList TortaPopover::selectedSliceNames() const
{
    QStringList names;
    for (const std::size_t row : selectedSourceRows(*m_legend))
        names.append(QString::fromStdString(m_valoripassatitemporanei.at(row).theName));
    return names;
}

std::optional<QString> TortaPopover::topSelectedSliceName() const
{
    const std::optional<std::size_t> row = topSelectedSourceRow(*m_legend);
    if (!row)
        return std::nullopt;
    return QString::fromStdString(m_valoripassatitemporanei.at(*row).theName);
}

} // namespace rovex
