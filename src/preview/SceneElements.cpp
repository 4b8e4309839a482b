#include "preview/SceneElements.h"

#include "platform/Numeric.h"
#include "platform/QtColour.h"
#include "platform/Widgets.h"

#include <QPainter>
#include <QWidget>

namespace {

int whole(double v)
{
    return static_cast<int>(roundHalfEven(v));
}

constexpr double CornerRadius = 4.0;

} // namespace

SceneElement::SceneElement(const char *name, QRectF geometry, QWidget *area)
    : QObject(area), m_geometry(geometry), m_area(area)
{
    setObjectName(QLatin1String(name));
}

void SceneElement::setGeometry(QRectF geometry)
{
    if (geometry == m_geometry)
        return;
    m_geometry = geometry;
    changed();
}

void SceneElement::changed()
{
    m_area->update();
}

QRect SceneElement::pixelRect() const
{
    return {whole(left()), whole(top()), whole(width()), whole(height())};
}

SceneText::SceneText(const char *name, QRectF geometry, int pixelSize, Weight weight, QWidget *area)
    : SceneElement(name, geometry, area),
      m_font(layoutFont(pixelSize, weight == Weight::Bold ? QFont::Bold : QFont::Normal))
{
}

void SceneText::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    changed();
}

void SceneText::setTextColour(DisplayColour colour)
{
    if (colour == m_textColour)
        return;
    m_textColour = colour;
    changed();
}

void SceneText::paint(QPainter &painter) const
{
    const QRect box = pixelRect();
    painter.save();
    painter.setClipRect(box);
    painter.setFont(m_font);
    painter.setPen(toQColor(m_textColour));
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, m_text);
    painter.restore();
}

SceneShape::SceneShape(const char *name, QRectF geometry, Corners corners, QWidget *area)
    : SceneElement(name, geometry, area), m_corners(corners)
{
}

void SceneShape::setOutlineColour(DisplayColour colour)
{
    if (colour == m_outlineColour)
        return;
    m_outlineColour = colour;
    changed();
}

void SceneShape::paint(QPainter &painter) const
{
    // The outline covers exactly the element's pixels: its last column and row included.
    const QRect r = pixelRect().adjusted(0, 0, -1, -1);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(toQColor(m_outlineColour), 1));
    painter.setBrush(Qt::NoBrush);
    if (m_corners == Corners::Rounded)
        painter.drawRoundedRect(r, CornerRadius, CornerRadius);
    else
        painter.drawRect(r);
    painter.restore();
}
