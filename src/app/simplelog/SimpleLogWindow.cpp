#include "app/simplelog/SimpleLogWindow.h"

#include "app/images/Images.h"
#include "app/widgets/BusyIndicator.h"
#include "app/widgets/KeptEqual.h"
#include "simplelog/SimpleLogTail.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>

namespace rovex {

namespace {

struct RowButton {
    const char* action;
    const char* titleKey;
};

constexpr RowButton rowButtons[] = {
    {"showInfoSimpleLog", "sldetails"},       {"openLogStringPopover", "slrawline"},
    {"infoPopoverSourceIP", "slsourceip"},    {"infoPopoverSourcePort", "slsourceport"},
    {"infoPopoverDestinationIP", "sldestip"}, {"infoPopoverDestinationPort", "sldestport"},
};

QSlider* lineSlider(int value, QWidget* parent)
{
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setRange(0, SimpleLogWindow::largestLogLines);
    slider->setSingleStep(100);
    slider->setPageStep(5000);
    slider->setValue(value);
    slider->setMinimumWidth(160);
    return slider;
}

} // namespace

SimpleLogWindow::SimpleLogWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), m_table(new QTableView(this)), m_progress(new BusyIndicator(this))
{
    setObjectName(QStringLiteral("simplewindow"));
    setWindowTitle(menuText("winsimplelog"));
    setWindowIcon(Images::named(QStringLiteral("menulogs")));
    configureTable();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table, 1);
    layout->addWidget(makeRowButtons());
    auto* controls = new QHBoxLayout;
    controls->addWidget(makeLiveControls());
    controls->addStretch(1);
    controls->addWidget(makeReadControls());
    layout->addLayout(controls);
    resize(1180, 620);
}

void SimpleLogWindow::configureTable()
{
    m_table->setObjectName(QStringLiteral("tableviewSimpleLog"));
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setAlternatingRowColors(true);
    m_table->setShowGrid(false);
    m_table->setWordWrap(false);
    m_table->setIconSize(QSize(16, 16));
    m_table->verticalHeader()->hide();
    // Rows of one height let the view place a hundred thousand rows without measuring them.
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    QHeaderView& header = *m_table->horizontalHeader();
    header.setHighlightSections(false);
    header.setStretchLastSection(true);
    // Arrival order until the user picks a column; a third click returns to it.
    header.setSortIndicator(-1, Qt::AscendingOrder);
    header.setSortIndicatorClearable(true);
    m_table->setSortingEnabled(true);
}

QWidget* SimpleLogWindow::makeRowButtons()
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    for (const RowButton& button : rowButtons) {
        auto* push = new QPushButton(menuText(button.titleKey), row);
        push->setObjectName(QString::fromLatin1(button.action));
        layout->addWidget(push);
    }
    layout->addStretch(1);
    return row;
}

QWidget* SimpleLogWindow::makeLiveControls()
{
    auto* box = new QWidget(this);
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    m_follow = new QCheckBox(menuText("slfollow"), box);
    m_follow->setObjectName(QStringLiteral("cleckboxScrollEnable"));
    m_follow->setChecked(true);
    m_maxLogLines = lineSlider(defaultMaxLogLines, box);
    m_maxLogLines->setObjectName(QStringLiteral("maxLogLines"));
    m_maxLogLines->setMinimum(100);
    m_maxLogLinesValue = new QLabel(QString::number(defaultMaxLogLines), box);
    m_maxLogLinesValue->setMinimumWidth(m_maxLogLinesValue->fontMetrics().horizontalAdvance(QStringLiteral("1000000")));
    connect(m_maxLogLines, &QSlider::valueChanged, m_maxLogLinesValue,
            [this](int value) { m_maxLogLinesValue->setNum(value); });
    m_clear = new QPushButton(menuText("slclear"), box);
    m_clear->setObjectName(QStringLiteral("clearLogTable"));
    layout->addWidget(m_follow);
    layout->addWidget(new QLabel(menuText("slmaxlines"), box));
    layout->addWidget(m_maxLogLines);
    layout->addWidget(m_maxLogLinesValue);
    layout->addWidget(m_clear);
    return box;
}

QWidget* SimpleLogWindow::makeReadControls()
{
    auto* box = new QWidget(this);
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    m_limiter = new QSpinBox(box);
    m_limiter->setObjectName(QStringLiteral("limiter"));
    m_limiter->setRange(0, largestLogLines);
    m_limiter->setValue(static_cast<int>(defaultSimpleLogLimiter));
    m_limiterSlider = lineSlider(static_cast<int>(defaultSimpleLogLimiter), box);
    m_limiterSlider->setObjectName(QStringLiteral("limiterSlider"));
    keepEqual(*m_limiterSlider, *m_limiter);
    m_show = new QPushButton(menuText("slshow"), box);
    m_show->setObjectName(QStringLiteral("showLogsButton"));
    m_progress->setObjectName(QStringLiteral("progressIndicator"));
    m_progress->setFixedWidth(60);
    m_progress->hide();
    layout->addWidget(new QLabel(menuText("sllimiter"), box));
    layout->addWidget(m_limiterSlider);
    layout->addWidget(m_limiter);
    layout->addWidget(m_show);
    layout->addWidget(m_progress);
    return box;
}

QPushButton& SimpleLogWindow::rowButton(const char* action) const
{
    return *findChild<QPushButton*>(QString::fromLatin1(action));
}

} // namespace rovex
