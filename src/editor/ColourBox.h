#pragma once

#include "platform/DisplayColour.h"

#include <QWidget>

// A plain area showing one colour, outlined like the colour swatch it stands for.
class ColourBox : public QWidget
{
    Q_OBJECT

public:
    explicit ColourBox(QWidget *parent = nullptr);

    DisplayColour colour() const { return m_colour; }
    void setColour(DisplayColour colour);

signals:
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    DisplayColour m_colour = 0xFFFFFF;
};
