#pragma once

#include <QWidget>

class QLabel;

namespace rovex {

// The program's name, icon and version.
class AboutWindow final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AboutWindow)

public:
    explicit AboutWindow(QWidget* parent = nullptr);

    // Shows "Version " and the version.
    void setVersion(const QString& version);
    QLabel& aboutVersionLabel() const { return *m_aboutVersionLabel; }

private:
    QLabel* m_aboutVersionLabel;
};

} // namespace rovex
