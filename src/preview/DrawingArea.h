#pragma once

#include "colour/Vision.h"

#include <QImage>
#include <QList>
#include <QRect>
#include <QWidget>

class Scene;

// Shows a scene of the preview: its image with its elements over it, repainted when
// the scene changes, as a viewer of `vision` sees it. Marks (dashed frames that are not
// part of the scene) show over it until the scene is redrawn or clicked.
class DrawingArea : public QWidget
{
    Q_OBJECT

public:
    DrawingArea(const char *name, const Scene &scene, QWidget *parent);

    const Scene &scene() const { return m_scene; }
    const QImage &image() const;
    // What the area shows of the scene, marks left out: for saving and copying.
    QImage shownImage() const;

    Vision vision() const { return m_vision; }
    void setVision(Vision vision);
    const QList<QRect> &marks() const { return m_marks; }
    void setMarks(const QList<QRect> &marks);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    const Scene &m_scene;
    Vision m_vision = Vision::Normal;
    QList<QRect> m_marks;
};
