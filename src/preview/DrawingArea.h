#pragma once

#include <QImage>
#include <QList>
#include <QWidget>

#include <functional>

class QPainter;
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

    const QImage &image() const { return m_image; }
    // Hands the scene image to `drawing`, then repaints.
    void draw(const std::function<void(QImage &image)> &drawing);

    const QImage &basePicture() const { return m_basePicture; }
    // Makes `picture` the base picture; the scene image becomes the same picture.
    void setBasePicture(const QImage &picture);

    // The scene as it is shown: the scene image with its elements painted over it.
    QImage shownImage() const;

    // Topmost first, as the layout lists them.
    void setStacking(const QList<SceneElement *> &topmostFirst);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void paintScene(QPainter &painter) const;

    QImage m_image;
    QImage m_basePicture;
    QList<SceneElement *> m_bottomFirst;
};
