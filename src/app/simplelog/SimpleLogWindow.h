#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QPushButton;
class QSlider;
class QSpinBox;
class QTableView;

namespace rovex {

class BusyIndicator;

// The simple log window's widgets: the table of recent lines, the controls of the live
// row limit and of the on-demand read, and the buttons that act on the selected row. What
// they do is the controller's.
class SimpleLogWindow final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SimpleLogWindow)

public:
    static constexpr int defaultMaxLogLines = 1000;
    static constexpr int largestLogLines = 100000;

    explicit SimpleLogWindow(QWidget* parent = nullptr);

    QTableView& tableviewSimpleLog() const { return *m_table; }
    QSlider& maxLogLines() const { return *m_maxLogLines; }
    QSpinBox& limiter() const { return *m_limiter; }
    QSlider& limiterSlider() const { return *m_limiterSlider; }
    QCheckBox& cleckboxScrollEnable() const { return *m_follow; }
    QPushButton& showLogsButton() const { return *m_show; }
    BusyIndicator& progressIndicator() const { return *m_progress; }
    QPushButton& clearButton() const { return *m_clear; }
    // The buttons acting on the selected row, by the name of their action.
    QPushButton& rowButton(const char* action) const;

    // Shown and not minimised: live lines are turned into rows only then.
    bool showsLiveRows() const { return isVisible() && !isMinimized(); }

private:
    QWidget* makeLiveControls();
    QWidget* makeReadControls();
    QWidget* makeRowButtons();
    void configureTable();

    QTableView* m_table;
    QSlider* m_maxLogLines;
    QLabel* m_maxLogLinesValue;
    QSpinBox* m_limiter;
    QSlider* m_limiterSlider;
    QCheckBox* m_follow;
    QPushButton* m_show;
    BusyIndicator* m_progress;
    QPushButton* m_clear;
};

} // namespace rovex
