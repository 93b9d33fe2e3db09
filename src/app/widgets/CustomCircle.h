#pragma once

#include "chart/RXDiaObj.h"

#include <QWidget>

#include <vector>

namespace rovex {

// A pie drawn from its slices: the first ten in turn, counter-clockwise from the right,
// and the share of the rest (all of it when there is no slice) in grey.
class CustomCircle final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CustomCircle)

public:
    explicit CustomCircle(QWidget* parent = nullptr);

    // A new chart of the slices filling the container, shown on top of what it holds.
    static CustomCircle* placeIn(QWidget& container, std::vector<RXDiaObj> slices);

    const std::vector<RXDiaObj>& valoripassati() const { return m_valoripassati; }
    void setValoripassati(std::vector<RXDiaObj> slices);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<RXDiaObj> m_valoripassati;
};

// The palette's colour as Qt paints it.
QColor colorOf(const Rgb& rgb);

} // namespace rovex
