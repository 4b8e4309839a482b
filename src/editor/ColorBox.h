#pragma once

#include "platform/DisplayColor.h"

#include <QWidget>

// A plain area showing one colour, outlined like the colour swatch it stands for.
class ColorBox : public QWidget
{
    Q_OBJECT

public:
    explicit ColorBox(QWidget *parent = nullptr);

    DisplayColor color() const { return m_color; }
    void setColor(DisplayColor color);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    DisplayColor m_color = 0xFFFFFF;
};
