#pragma once

#include <QSlider>

// A horizontal slider whose `moved` signal reports the user's movements only: drags,
// clicks in the groove, arrow and page keys, the wheel. Setting the value from code
// announces nothing, so handlers never need guards against their own updates.
class Slider : public QSlider
{
    Q_OBJECT

public:
    Slider(int maximum, QWidget *parent = nullptr);

signals:
    // The value has already changed when this arrives.
    void moved();

private:
    bool m_userAction = false;
};
