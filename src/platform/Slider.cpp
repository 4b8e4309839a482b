#include "platform/Slider.h"

Slider::Slider(int maximum, QWidget *parent) : QSlider(Qt::Horizontal, parent)
{
    setRange(0, maximum);
    setSingleStep(1);
    setPageStep(5);
    setTickPosition(QSlider::NoTicks);
    // An action has moved the position but not yet the value; the value follows at
    // once when it differs, and only then is there a movement to report.
    connect(this, &QAbstractSlider::actionTriggered, this,
            [this] { m_userAction = sliderPosition() != value(); });
    connect(this, &QAbstractSlider::valueChanged, this, [this] {
        if (std::exchange(m_userAction, false))
            emit moved();
    });
}
