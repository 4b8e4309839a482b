#include "editor/ColourBox.h"

#include "platform/QtColour.h"

#include <QMouseEvent>
#include <QPainter>

ColourBox::ColourBox(QWidget *parent) : QWidget(parent) {}

void ColourBox::setColour(DisplayColour colour)
{
    if (colour == m_colour)
        return;
    m_colour = colour;
    update();
}

void ColourBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), toQColor(m_colour));
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void ColourBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        emit doubleClicked();
}
