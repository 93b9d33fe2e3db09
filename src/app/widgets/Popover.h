#pragma once

#include <QFrame>
#include <QRect>

namespace rovex {

// The edge of the anchor a popover opens at, numbered as the menu-bar platform numbers
// them, so that the numbers the windows are laid out with read the same here.
enum class PopoverEdge { Left = 0, Bottom = 1, Right = 2, Top = 3 };

// A small transient panel that opens beside the control that asked for it and closes when
// the user clicks elsewhere. Every popover of the application is one of these.
class Popover : public QFrame {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Popover)

public:
    explicit Popover(QWidget* parent = nullptr);

    // Opens beside the anchor's rectangle at the edge, moved inside the anchor's screen
    // where it would leave it. Without an anchor the rectangle is empty, at the pointer.
    void showRelativeTo(const QWidget* anchor, PopoverEdge edge);
    void showRelativeTo(const QRect& globalAnchor, PopoverEdge edge);

    // Where and at which edge it last opened.
    PopoverEdge edge() const { return m_edge; }
    const QRect& anchor() const { return m_anchor; }

    // The top-left corner of a popover of the size beside the anchor at the edge.
    static QPoint placeBeside(const QRect& anchor, const QSize& size, PopoverEdge edge);

Q_SIGNALS:
    // Closed: by its owner, or by a click elsewhere.
    void hidden();

protected:
    void hideEvent(QHideEvent* event) override;

private:
    PopoverEdge m_edge = PopoverEdge::Right;
    QRect m_anchor;
};

} // namespace rovex
