#pragma once

#include <QImage>
#include <QWidget>

class Scene;

// Shows a scene of the preview: its image with its elements over it, repainted when
// the scene changes.
class DrawingArea : public QWidget
{
    Q_OBJECT

public:
    DrawingArea(const char *name, const Scene &scene, QWidget *parent);

    const Scene &scene() const { return m_scene; }
    const QImage &image() const;
    QImage shownImage() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const Scene &m_scene;
};
