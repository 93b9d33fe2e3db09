#include "app/stats/StatsWindow.h"

#include "app/images/Images.h"
#include "app/images/MenuTexts.h"
#include "app/stats/ShareBarDelegate.h"
#include "app/stats/StatsEntryModel.h"
#include "app/widgets/KeptEqual.h"
#include "chart/RXDiaObj.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>

namespace rovex {

namespace {

constexpr int chartSide = 2 * static_cast<int>(pieRadius) + 10;

// A slider and the number box beside it, kept equal.
QHBoxLayout* pairedLimit(QSlider* slider, QSpinBox* box, int minimum, int maximum, int value)
{
    slider->setOrientation(Qt::Horizontal);
    slider->setRange(minimum, maximum);
    slider->setValue(value);
    box->setRange(minimum, maximum);
    box->setValue(value);
    keepEqual(*slider, *box);
    auto* row = new QHBoxLayout;
    row->addWidget(slider, 1);
    row->addWidget(box);
    return row;
}

// Two radio buttons as one choice: row 0 and row 1.
QButtonGroup* matrix(QWidget* parent, QLayout* layout, const char* row0Key, const char* row1Key)
{
    auto* group = new QButtonGroup(parent);
    int row = 0;
    for (const char* key : {row0Key, row1Key}) {
        auto* button = new QRadioButton(menuText(key), parent);
        group->addButton(button, row++);
        layout->addWidget(button);
    }
    group->button(0)->setChecked(true);
    return group;
}

} // namespace

void configureStatsList(QTableView& view, StatsEntryModel& model)
{
    view.setModel(&model);
    view.setSelectionBehavior(QAbstractItemView::SelectRows);
    view.setSelectionMode(QAbstractItemView::ExtendedSelection);
    view.setShowGrid(false);
    view.setWordWrap(false);
    view.verticalHeader()->hide();
    view.verticalHeader()->setDefaultSectionSize(view.fontMetrics().height() + 6);
    view.setItemDelegateForColumn(StatsEntryModel::ShareColumn, new ShareBarDelegate(&view));
    QHeaderView& header = *view.horizontalHeader();
    header.setHighlightSections(false);
    header.setSectionResizeMode(StatsEntryModel::SignColumn, QHeaderView::Fixed);
    header.resizeSection(StatsEntryModel::SignColumn, 24);
    header.setSectionResizeMode(StatsEntryModel::NameColumn, QHeaderView::Stretch);
    header.resizeSection(StatsEntryModel::CountColumn, 80);
    header.resizeSection(StatsEntryModel::ShareColumn, 110);
}

StatsWindow::StatsWindow(QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_buttonGetStats(new QPushButton(menuText("btngetstats"), this)),
      m_limitSlider(new QSlider(this)),
      m_parsingLimit(new QSpinBox(this)),
      m_ipSlider(new QSlider(this)),
      m_ipLimit(new QSpinBox(this)),
      m_ignoreUPD(new QCheckBox(menuText("ignoreupd"), this)),
      m_statsProgressIndicator(new QProgressBar(this)),
      m_statsProgressString(new QLabel(this)),
      m_principale(new QWidget(this)),
      m_principale2(new QWidget(this)),
      m_addresses(new StatsEntryModel(this)),
      m_ports(new StatsEntryModel(this)),
      m_addressesView(new QTableView(this)),
      m_portsView(new QTableView(this)),
      m_portinfobtn(new QPushButton(menuText("btninfo"), this)),
      m_ipinfobtn(new QPushButton(menuText("btninfo"), this)),
      m_console(new QPushButton(Images::named(QStringLiteral("menuconsole")), menuText("console"), this))
{
    setObjectName(QStringLiteral("logswindow"));
    setWindowTitle(menuText("winstats"));
    setWindowIcon(Images::named(QStringLiteral("menutorta")));
    m_buttonGetStats->setObjectName(QStringLiteral("buttonGetStats"));
    m_portinfobtn->setObjectName(QStringLiteral("portinfobtn"));
    m_ipinfobtn->setObjectName(QStringLiteral("ipinfobtn"));
    // Present as the window has it, but no statistics step reads it.
    m_ignoreUPD->setEnabled(false);
    m_statsProgressIndicator->hide();
    m_statsProgressString->hide();
    for (QWidget* chart : {m_principale, m_principale2})
        chart->setFixedSize(chartSide, chartSide);
    m_ipBox = makeResultBox("statsaddresses", m_principale, m_addressesView, m_addresses, m_ipinfobtn);
    m_ipBox->setObjectName(QStringLiteral("ipBox"));
    m_portBox = makeResultBox("statsports", m_principale2, m_portsView, m_ports, m_portinfobtn);
    m_portBox->setObjectName(QStringLiteral("portBox"));
    m_dangerBox = new QGroupBox(this);
    m_dangerBox->setObjectName(QStringLiteral("dangerBox"));
    m_dangerBox->hide(); // nothing fills it
    auto* results = new QHBoxLayout;
    results->addWidget(m_ipBox, 1);
    results->addWidget(m_portBox, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(makeControls());
    layout->addLayout(results, 1);
    layout->addWidget(m_dangerBox);
    resize(1180, 640);
}

QLayout* StatsWindow::makeControls()
{
    auto* files = pairedLimit(m_limitSlider, m_parsingLimit, 1, 1, 1);
    files->insertWidget(0, new QLabel(menuText("statsfiles"), this));
    auto* length = pairedLimit(m_ipSlider, m_ipLimit, 1, 100, 10);
    length->insertWidget(0, new QLabel(menuText("statslength"), this));
    m_limitSlider->setObjectName(QStringLiteral("limitSlider"));
    m_ipSlider->setObjectName(QStringLiteral("ipSlider"));
    auto* choices = new QHBoxLayout;
    m_passMatrix = matrix(this, choices, "statsblock", "statspass");
    choices->addSpacing(24);
    m_inoutMatrix = matrix(this, choices, "statsin", "statsout");
    choices->addSpacing(24);
    choices->addWidget(m_ignoreUPD);
    choices->addStretch(1);
    choices->addWidget(m_console);
    auto* run = new QHBoxLayout;
    run->addWidget(m_buttonGetStats);
    run->addWidget(m_statsProgressIndicator, 1);
    run->addWidget(m_statsProgressString);
    auto* controls = new QVBoxLayout;
    controls->addLayout(files);
    controls->addLayout(length);
    controls->addLayout(choices);
    controls->addLayout(run);
    return controls;
}

QGroupBox* StatsWindow::makeResultBox(const char* titleKey, QWidget* chart, QTableView* view, StatsEntryModel* model,
                                      QPushButton* info)
{
    auto* box = new QGroupBox(menuText(titleKey), this);
    configureStatsList(*view, *model);
    auto* top = new QHBoxLayout;
    top->addWidget(chart, 0, Qt::AlignTop);
    top->addWidget(view, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(info);
    auto* layout = new QVBoxLayout(box);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);
    box->hide();
    return box;
}

void StatsWindow::setFileCount(int count)
{
    const int maximum = std::max(count, 1);
    m_limitSlider->setMaximum(maximum);
    m_parsingLimit->setMaximum(maximum);
}

} // namespace rovex
