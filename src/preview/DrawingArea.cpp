#include "preview/DrawingArea.h"

#include "preview/Scene.h"

#include <QPainter>

DrawingArea::DrawingArea(const char *name, const Scene &scene, QWidget *parent)
    : QWidget(parent), m_scene(scene)
{
    setObjectName(QLatin1String(name));
    setFixedSize(SceneSize);
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(&scene, &Scene::changed, this, qOverload<>(&QWidget::update));
}

const QImage &DrawingArea::image() const
{
    return m_scene.image();
}

QImage DrawingArea::shownImage() const
{
    return m_scene.shownImage();
}

void DrawingArea::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    m_scene.paint(painter);
}
