#include "editor/ColorBox.h"

#include <QPainter>

ColorBox::ColorBox(QWidget *parent) : QWidget(parent) {}

void ColorBox::setColor(DisplayColor color)
{
    if (color == m_color)
        return;
    m_color = color;
    update();
}

void ColorBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), toQColor(m_color));
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
