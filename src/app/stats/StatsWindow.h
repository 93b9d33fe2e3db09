#pragma once

#include <QWidget>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QSlider;
class QSpinBox;
class QTableView;

namespace rovex {

class StatsEntryModel;

// The statistics window: how many files to read, block or pass, in or out, the length of
// the lists; then the most frequent addresses and destination ports, each with a pie and
// a list, and a progress bar while a run reads.
class StatsWindow final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(StatsWindow)

public:
    explicit StatsWindow(QWidget* parent = nullptr);

    QPushButton& buttonGetStats() const { return *m_buttonGetStats; }
    QSlider& limitSlider() const { return *m_limitSlider; }
    QSpinBox& parsingLimit() const { return *m_parsingLimit; }
    QSlider& ipSlider() const { return *m_ipSlider; }
    QSpinBox& ipLimit() const { return *m_ipLimit; }
    QButtonGroup& passMatrix() const { return *m_passMatrix; }
    QButtonGroup& inoutMatrix() const { return *m_inoutMatrix; }
    QCheckBox& ignoreUPD() const { return *m_ignoreUPD; }
    QProgressBar& statsProgressIndicator() const { return *m_statsProgressIndicator; }
    QLabel& statsProgressString() const { return *m_statsProgressString; }
    QGroupBox& ipBox() const { return *m_ipBox; }
    QGroupBox& portBox() const { return *m_portBox; }
    QGroupBox& dangerBox() const { return *m_dangerBox; }
    QWidget& principale() const { return *m_principale; }
    QWidget& principale2() const { return *m_principale2; }
    QTableView& addressesView() const { return *m_addressesView; }
    QTableView& portsView() const { return *m_portsView; }
    StatsEntryModel& addressesCollectionViewArray() const { return *m_addresses; }
    StatsEntryModel& portsCollectionViewArray() const { return *m_ports; }
    QPushButton& portinfobtn() const { return *m_portinfobtn; }
    QPushButton& ipinfobtn() const { return *m_ipinfobtn; }
    QPushButton& consoleButton() const { return *m_console; }

    // The files slider reaches up to the entries found, at least 1.
    void setFileCount(int count);

private:
    QLayout* makeControls();
    QGroupBox* makeResultBox(const char* titleKey, QWidget* chart, QTableView* view, StatsEntryModel* model,
                             QPushButton* info);

    QPushButton* m_buttonGetStats;
    QSlider* m_limitSlider;
    QSpinBox* m_parsingLimit;
    QSlider* m_ipSlider;
    QSpinBox* m_ipLimit;
    QButtonGroup* m_passMatrix;
    QButtonGroup* m_inoutMatrix;
    QCheckBox* m_ignoreUPD;
    QProgressBar* m_statsProgressIndicator;
    QLabel* m_statsProgressString;
    QWidget* m_principale;
    QWidget* m_principale2;
    StatsEntryModel* m_addresses;
    StatsEntryModel* m_ports;
    QTableView* m_addressesView;
    QTableView* m_portsView;
    QPushButton* m_portinfobtn;
    QPushButton* m_ipinfobtn;
    QPushButton* m_console;
    QGroupBox* m_ipBox;
    QGroupBox* m_portBox;
    QGroupBox* m_dangerBox;
};

// Sets up a statistics list view over its model: rows selected whole, the share as a bar.
void configureStatsList(QTableView& view, StatsEntryModel& model);

} // namespace rovex
