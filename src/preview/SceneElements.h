#pragma once

#include "platform/DisplayColour.h"

#include <QFont>
#include <QObject>
#include <QRectF>
#include <QString>

class QPainter;

// An element of a preview scene, drawn by its drawing area over the scene image. It is
// never part of the image itself. Setters store and ask the area to repaint.
class SceneElement : public QObject
{
    Q_OBJECT

public:
    SceneElement(const char *name, QRectF geometry, QWidget *area);

    QRectF geometry() const { return m_geometry; }
    void setGeometry(QRectF geometry);
    double left() const { return m_geometry.left(); }
    double top() const { return m_geometry.top(); }
    double width() const { return m_geometry.width(); }
    double height() const { return m_geometry.height(); }

    // The whole pixels the element covers: its geometry rounded half to even.
    QRect pixelRect() const;

    virtual void paint(QPainter &painter) const = 0;

protected:
    void changed();

private:
    QRectF m_geometry;
    QWidget *m_area;
};

// One line of text, transparent around its glyphs, from the top-left corner of its box
// and clipped to it.
class SceneText final : public SceneElement
{
    Q_OBJECT

public:
    enum class Weight
    {
        Regular,
        Bold
    };
    SceneText(const char *name, QRectF geometry, int pixelSize, Weight weight, QWidget *area);

    const QString &text() const { return m_text; }
    void setText(const QString &text);
    DisplayColour textColour() const { return m_textColour; }
    void setTextColour(DisplayColour colour);

    void paint(QPainter &painter) const override;

private:
    QString m_text;
    DisplayColour m_textColour = 0;
    QFont m_font;
};

// A rectangle outline, 1 px in its outline colour. Its fill colour is never painted by
// the element: the blend writes it into the scene image beneath.
class SceneShape final : public SceneElement
{
    Q_OBJECT

public:
    enum class Corners
    {
        Square,
        Rounded
    };
    SceneShape(const char *name, QRectF geometry, Corners corners, QWidget *area);

    DisplayColour fillColour() const { return m_fillColour; }
    void setFillColour(DisplayColour colour) { m_fillColour = colour; }
    DisplayColour outlineColour() const { return m_outlineColour; }
    void setOutlineColour(DisplayColour colour);

    void paint(QPainter &painter) const override;

private:
    Corners m_corners;
    DisplayColour m_fillColour = 0;
    DisplayColour m_outlineColour = 0;
};
