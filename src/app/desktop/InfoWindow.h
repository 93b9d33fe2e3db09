#pragma once

#include <QTimer>
#include <QWidget>

#include <functional>

class QLabel;

namespace rovex {

// What the windows show and what their icons mean.
class InfoWindow final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(InfoWindow)

public:
    explicit InfoWindow(QWidget* parent = nullptr);

    // What the window tells of the log being read (its path, the lines of each layout),
    // asked again every second while the window is shown.
    void setReadingReport(std::function<QString()> report);
    QString readingText() const;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void refreshReading();

    QLabel* m_reading;
    std::function<QString()> m_report;
    QTimer m_refresh;
};

} // namespace rovex
