#pragma once

#include <QImage>
#include <QList>
#include <QWidget>

class SceneElement;

// A preview scene's surface. It keeps a scene image, which is shown and drawn into, and
// a base picture, the last snapshot of the scene image, from which blends read. Its
// elements are painted over the scene image in their stacking order.
class DrawingArea : public QWidget
{
    Q_OBJECT

public:
    static constexpr QSize SceneSize{480, 360};

    DrawingArea(const char *name, QWidget *parent, QSize size = SceneSize);

    // Inner size in pixels.
    int scaleWidth() const { return m_image.width(); }
    int scaleHeight() const { return m_image.height(); }

    const QImage &image() const { return m_image; }
    // Direct access for drawing; the area repaints when the caller is done.
    QImage &beginDrawing();
    void endDrawing() { update(); }

    const QImage &picture() const { return m_picture; }
    // Makes `picture` the base picture; the scene image becomes the same picture.
    void setPicture(const QImage &picture);

    // Topmost first, as the layout lists them.
    void setStacking(const QList<SceneElement *> &topmostFirst);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_image;
    QImage m_picture;
    QList<SceneElement *> m_bottomFirst;
};
