#include "preview/DrawingArea.h"

#include "preview/SceneElements.h"

#include <QPainter>

#include <algorithm>

DrawingArea::DrawingArea(const char *name, QWidget *parent, QSize size)
    : QWidget(parent), m_image(size, QImage::Format_RGB32)
{
    setObjectName(QLatin1String(name));
    setFixedSize(size);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_image.fill(Qt::white);
}

void DrawingArea::draw(const std::function<void(QImage &)> &drawing)
{
    drawing(m_image);
    update();
}

void DrawingArea::setBasePicture(const QImage &picture)
{
    m_basePicture = picture.convertToFormat(QImage::Format_RGB32);
    m_image = m_basePicture;
    update();
}

void DrawingArea::setStacking(const QList<SceneElement *> &topmostFirst)
{
    m_bottomFirst = topmostFirst;
    std::reverse(m_bottomFirst.begin(), m_bottomFirst.end());
    update();
}

QImage DrawingArea::shownImage() const
{
    QImage shown(m_image.size(), QImage::Format_RGB32);
    QPainter painter(&shown);
    paintScene(painter);
    return shown;
}

void DrawingArea::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintScene(painter);
}

void DrawingArea::paintScene(QPainter &painter) const
{
    painter.drawImage(0, 0, m_image);
    for (const SceneElement *element : std::as_const(m_bottomFirst))
        element->paint(painter);
}
