#include "app/widgets/Popover.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

namespace rovex {

namespace {

constexpr int gap = 4; // between the anchor and the popover

QPoint keptInside(QPoint corner, const QSize& size, const QRect& screen)
{
    if (screen.isEmpty())
        return corner;
    corner.setX(std::clamp(corner.x(), screen.left(), std::max(screen.left(), screen.right() - size.width())));
    corner.setY(std::clamp(corner.y(), screen.top(), std::max(screen.top(), screen.bottom() - size.height())));
    return corner;
}

} // namespace

Popover::Popover(QWidget* parent) : QFrame(parent, Qt::Popup)
{
    setFrameShape(QFrame::StyledPanel);
    setAttribute(Qt::WA_DeleteOnClose, false);
}

void Popover::hideEvent(QHideEvent* event)
{
    QFrame::hideEvent(event);
    Q_EMIT hidden();
}

void Popover::showRelativeTo(const QWidget* anchor, PopoverEdge edge)
{
    if (anchor == nullptr) {
        showRelativeTo(QRect(QCursor::pos(), QSize()), edge);
        return;
    }
    showRelativeTo(QRect(anchor->mapToGlobal(QPoint(0, 0)), anchor->size()), edge);
}

void Popover::showRelativeTo(const QRect& globalAnchor, PopoverEdge edge)
{
    m_edge = edge;
    m_anchor = globalAnchor;
    adjustSize();
    const QScreen* screen = QGuiApplication::screenAt(globalAnchor.center());
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    const QRect available = screen != nullptr ? screen->availableGeometry() : QRect();
    move(keptInside(placeBeside(globalAnchor, size(), edge), size(), available));
    show();
    raise();
}

QPoint Popover::placeBeside(const QRect& anchor, const QSize& size, PopoverEdge edge)
{
    const int middleY = anchor.center().y() - size.height() / 2;
    const int middleX = anchor.center().x() - size.width() / 2;
    switch (edge) {
    case PopoverEdge::Left: return {anchor.left() - gap - size.width(), middleY};
    case PopoverEdge::Right: return {anchor.right() + 1 + gap, middleY};
    case PopoverEdge::Top: return {middleX, anchor.top() - gap - size.height()};
    case PopoverEdge::Bottom: return {middleX, anchor.bottom() + 1 + gap};
    }
    return anchor.topLeft();
}

} // namespace rovex
