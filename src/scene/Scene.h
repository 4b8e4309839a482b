#pragma once

#include "scene/RecentlyKept.h"
#include "scene/SceneLayout.h"

#include "platform/DisplayColour.h"

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QObject>
#include <QRegion>
#include <QString>

#include <array>
#include <functional>
#include <optional>
#include <span>
#include <vector>

class QPainter;

// One scene of the mock-up, without a window: a scene image, which is shown and drawn
// into, a base picture, the last snapshot of the scene image, from which the bars' blends
// read, and the elements painted over the scene image in the scene's stacking order. The
// elements are never part of either picture.
class Scene : public QObject
{
    Q_OBJECT

public:
    struct Element
    {
        QString text;
        QRectF box;
        DisplayColour textColour = 0;
        DisplayColour fillColour = 0; // the blend's; the element never paints it
        DisplayColour outlineColour = 0;
    };

    explicit Scene(SceneKind kind);

    SceneKind kind() const { return m_kind; }
    // White until something is drawn; made only when first needed, as a scene may never
    // be drawn at all.
    const QImage &image() const;
    // Hands the scene image to `drawing`.
    void draw(const std::function<void(QImage &image)> &drawing);
    const QImage &basePicture() const { return m_basePicture; }
    // The base picture becomes a copy of the scene image; with `within`, there alone where
    // the base picture kept from the last snapshot fits, the rest as it was.
    void snapshot(std::span<const QRect> within = {});

    const Element &element(Role role) const { return m_elements[size_t(role)]; }
    void setText(Role role, const QString &text, QRectF box);
    void setTextColour(Role role, DisplayColour colour);
    void setFillColour(Role role, DisplayColour colour);
    void setOutlineColour(Role role, DisplayColour colour);
    // The font the text of `role` is drawn in, as fontOf gives it, made once: a font made
    // anew looks its face up again at every drawing, which costs more than the drawing.
    const QFont &font(Role role) const;

    // The scene image with the elements over it, from the painter's origin.
    void paint(QPainter &painter) const;
    // What the scene shows, as a picture of its size.
    QImage shownImage() const;
    // What the scene shows within `box`, from its top-left corner, with the text `recoloured`
    // drawn in `colour`: pixel for pixel what shownImage shows there but for that text.
    // The last few are kept by all they are drawn from.
    QImage shownWithin(QRect box, Role recoloured, const QColor &colour) const;
    // What the scene shows within `box` with the text `left` out: where its glyphs do not
    // lie, what shownImage shows there.
    QImage shownWithout(QRect box, Role left) const;
    // Which pixels within `box`, row by row, the text of `role` shows in as the scene
    // draws it among the rest: those that differ when it is drawn black and when white.
    std::vector<char> glyphsWithin(QRect box, Role role) const;
    // Which pixels within `box`, row by row, the element of `role` covers at all, shown or
    // covered by what is drawn over it.
    std::vector<char> inkWithin(QRect box, Role role) const;
    // The same, made in the scene image itself, which goes with it: for a scene drawn
    // once and then done with. The scene is white again afterwards.
    QImage takeShownImage();

signals:
    // Something shown changed; a view repaints.
    void changed();

private:
    struct Drawn
    {
        Role role;
        QColor colour;
    };
    // What is drawn over the scene image within `box`, bottom first, each in its colour.
    std::vector<Drawn> drawnOver(QRect box) const;
    // All that `drawn` within `box` is drawn from, but the pixels beneath.
    QByteArray keyOf(QRect box, std::span<const Drawn> drawn) const;
    QImage drawnWithin(QRect box, std::span<const Drawn> drawn) const;
    void paintElements(QPainter &painter) const;
    void paintText(QPainter &painter, Role role, const QColor &colour) const;
    void paintOutline(QPainter &painter, Role role, const QColor &colour) const;
    // The pixels the element of `role` can change when drawn, in any colour; kept until
    // its text or box changes.
    const QRegion &inkOf(Role role) const;

    SceneKind m_kind;
    mutable QImage m_image;
    mutable RecentlyKept<QImage> m_shownWithin;
    mutable RecentlyKept<std::vector<char>> m_glyphsWithin;
    mutable RecentlyKept<bool> m_inkShared; // with a text drawn over it, by the same key
    mutable std::array<std::optional<QFont>, RoleCount> m_fonts;
    mutable std::array<std::optional<QRegion>, RoleCount> m_inks;
    QImage m_basePicture;
    std::array<Element, RoleCount> m_elements;
};

// The whole pixels an element covers: its geometry rounded half to even.
QRect pixelRect(const QRectF &box);
// The font a text element is drawn in; whoever measures a text measures it in this one.
QFont fontOf(const ElementLayout &layout);
