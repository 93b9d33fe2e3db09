#include "app/widgets/KeptEqual.h"

#include <QSlider>
#include <QSpinBox>

namespace rovex {

void keepEqual(QSlider& slider, QSpinBox& field)
{
    QObject::connect(&field, &QSpinBox::valueChanged, &slider, &QSlider::setValue);
    QObject::connect(&slider, &QSlider::valueChanged, &field, &QSpinBox::setValue);
}

} // namespace rovex
