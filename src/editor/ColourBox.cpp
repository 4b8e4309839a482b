#include "editor/ColourBox.h"

#include "editor/ColourBoxAccessible.h"

#include "platform/QtColour.h"

#include <QAccessible>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

ColourBox::ColourBox(QWidget *parent) : QWidget(parent)
{
    installColourBoxAccessibility();
    setFocusPolicy(Qt::StrongFocus);
}

void ColourBox::setColour(DisplayColour colour, const QString &told)
{
    if (told != m_told) {
        m_told = told;
        QAccessibleEvent described(this, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&described);
        QAccessibleValueChangeEvent changed(this, QVariant(int(toQRgb(colour) & 0xFFFFFF)));
        QAccessible::updateAccessibility(&changed);
    }
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
    if (hasFocus()) {
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(2, 2, -3, -3));
    }
}

void ColourBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        emit activated();
}

void ColourBox::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return ||
        event->key() == Qt::Key_Enter)
        emit activated();
    else
        QWidget::keyPressEvent(event);
}
