#pragma once

#include <QWidget>

namespace rovex {

// What the windows show and what their icons mean.
class InfoWindow final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(InfoWindow)

public:
    explicit InfoWindow(QWidget* parent = nullptr);
};

} // namespace rovex
