#include "app/widgets/CustomCircle.h"

#include "chart/PieChart.h"

#include <QPainter>

#include <cmath>

namespace rovex {

namespace {

// Qt counts angles in sixteenths of a degree, counter-clockwise as the chart does.
int sixteenths(double degrees) { return static_cast<int>(std::lround(degrees * 16)); }

} // namespace

QColor colorOf(const Rgb& rgb) { return QColor(rgb.red, rgb.green, rgb.blue); }

CustomCircle::CustomCircle(QWidget* parent) : QWidget(parent) { setObjectName(QStringLiteral("CustomCircle")); }

CustomCircle* CustomCircle::placeIn(QWidget& container, std::vector<RXDiaObj> slices)
{
    auto* chart = new CustomCircle(&container);
    chart->setGeometry(0, 0, container.width(), container.height());
    chart->setValoripassati(std::move(slices));
    chart->show();
    return chart;
}

void CustomCircle::setValoripassati(std::vector<RXDiaObj> slices)
{
    m_valoripassati = std::move(slices);
    update();
}

void CustomCircle::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const QPointF centre(width() / 2.0, height() / 2.0);
    const auto square = [&centre](double radius) {
        return QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    };
    const PieGeometry geometry = pieSectors(m_valoripassati);
    for (const PieSector& sector : geometry.sectors) {
        const RXDiaObj& slice = m_valoripassati[sector.slice];
        painter.setBrush(colorOf(slice.theColor));
        painter.drawPie(square(slice.theRadius), sixteenths(sector.start), sixteenths(sector.end - sector.start));
    }
    if (geometry.greyEnd > geometry.greyStart) {
        painter.setBrush(colorOf(pieGrey));
        painter.drawPie(square(pieRadius), sixteenths(geometry.greyStart),
                        sixteenths(geometry.greyEnd - geometry.greyStart));
    }
}

} // namespace rovex
