#include "app/desktop/IconView.h"

#include "app/images/Images.h"

#include <QPainter>

namespace rovex {

namespace {
constexpr int imageSide = IconView::thickness - 4;
}

IconView::IconView(const QString& imageName, QSystemTrayIcon* item, QWidget* parent)
    : QWidget(parent), m_image(Images::named(QStringLiteral("visualizermini"))), m_item(item)
{
    Q_UNUSED(imageName)
    setFixedSize(thickness, thickness);
}

void IconView::setImage(const QIcon& image)
{
    m_image = image;
    update();
}

void IconView::setOnMouseDown(std::function<void()> callback)
{
    m_onMouseDown = callback ? std::move(callback) : [] {};
}

void IconView::setIsSelected(bool selected)
{
    if (selected == m_isSelected)
        return;
    m_isSelected = selected;
    update();
}

QSize IconView::sizeHint() const { return {thickness, thickness}; }

void IconView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (m_isSelected)
        painter.fillRect(rect(), palette().highlight());
    m_image.paint(&painter, QRect(2, 2, imageSide, imageSide));
}

void IconView::mousePressEvent(QMouseEvent*)
{
    m_isSelected = !m_isSelected;
    update();
    m_onMouseDown();
}

} // namespace rovex
