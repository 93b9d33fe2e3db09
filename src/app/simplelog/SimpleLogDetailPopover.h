#pragma once

#include "app/widgets/Popover.h"

class QLabel;
class QToolButton;

namespace rovex {

class RXSimpleLog;

// One row of the simple log in full: both endpoints with their service images, the line,
// its date and time, action and interface. Beside each address a button asks for what is
// known of it.
class SimpleLogDetailPopover final : public Popover {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SimpleLogDetailPopover)

public:
    explicit SimpleLogDetailPopover(QWidget* parent = nullptr);

    // Fills every field from the row.
    void showRow(const RXSimpleLog& row);

    QLabel& field(const char* name) const;
    QToolButton& sourceInfoButton() const { return *m_sourceInfo; }
    QToolButton& targetInfoButton() const { return *m_targetInfo; }
    // The name of the action image shown; empty when none.
    const QString& actionImage() const { return m_actionImage; }

Q_SIGNALS:
    void sourceInfoRequested(QWidget* sender);
    void targetInfoRequested(QWidget* sender);

private:
    QLabel* addField(const char* name);
    void layOut();

    QToolButton* m_sourceInfo;
    QToolButton* m_targetInfo;
    QString m_actionImage;
};

} // namespace rovex
