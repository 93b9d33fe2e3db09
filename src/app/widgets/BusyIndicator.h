#pragma once

#include <QProgressBar>

namespace rovex {

// A progress indicator without a known amount: animated while something runs; when
// stopped it still takes its place but draws nothing, as an empty bar would read as a
// field to fill. Hiding it is a separate step, as some callers stop it and others hide it.
class BusyIndicator final : public QProgressBar {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BusyIndicator)

public:
    explicit BusyIndicator(QWidget* parent = nullptr);

    void startAnimation();
    void stopAnimation();
    bool isAnimating() const { return maximum() == 0; }

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace rovex
