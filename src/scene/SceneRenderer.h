#pragma once

#include "scene/BackgroundPicture.h"
#include "scene/Scene.h"
#include "scene/SceneLayout.h"

#include <array>
#include <memory>

class ColourTable;

// Draws the mock-up of the Zantho screen in a skin's colours, in memory and without a
// window: the colour scene over the gradient of the two background colours and the
// picture scene over a background picture, both in one text mode. It keeps the scenes
// between redraws, as a view shows them: a redraw without a picture leaves the picture
// scene as it was, and a colour that cannot be read leaves the elements before it
// recoloured and the rest as they were. A scene whose background is as it drew it last has
// only the panels and bars that changed blended again: a search redraws a skin many times
// with one colour changed.
class SceneRenderer
{
public:
    SceneRenderer(); // in the skinning-text mode

    const Scene &scene(SceneKind kind) const { return *m_scenes[size_t(kind)]; }

    // Sets the texts and the title's place; colours and pictures stay as they are.
    void setTextMode(TextMode mode);
    TextMode textMode() const { return m_mode; }

    // Redraws both scenes from `colours`, read now. The picture scene is redrawn only
    // when `picture` is present. Throws Error when a colour or the picture cannot be
    // read; what was drawn before the failure stays.
    void redraw(const ColourTable &colours, BackgroundPicture &picture);

    // What a scene shows, taken whole from its scene image: for the last look at it.
    QImage takeShownImage(SceneKind kind) { return drawn(kind).takeShownImage(); }

    // Lays `picture` into the picture scene, stretched, with nothing blended over it.
    void showPicture(BackgroundPicture &picture);

    // What a redraw draws of the scenes: the whole of them, or only where the texts and the
    // bars lie, all that their measures read, for a search that redraws a skin many times
    // and shows none of it.
    enum class Extent
    {
        Whole,
        TextsAndBars,
    };
    void setExtent(Extent extent) { m_extent = extent; }

private:
    // What one blend of a scene was drawn with.
    struct Blend
    {
        DisplayColour fill;
        float opacity;
        QRect rect;

        friend bool operator==(const Blend &, const Blend &) = default;
    };
    using Blends = std::array<Blend, BlendOrder.size()>;
    // What a scene image was last drawn from, and the image as it was left then.
    struct Drawn
    {
        qint64 image = 0;      // its cache key; 0 for none
        qint64 background = 0; // the cache key of the background it was drawn over
        QRegion within;        // where it was drawn
        Blends blends{};
    };

    Scene &drawn(SceneKind kind) { return *m_scenes[size_t(kind)]; }
    void colourElements(const ColourTable &colours);
    // The scene drawn over `background`, then the blends; where it drew that background
    // and the blends in the same places last, only the blends that changed and the bars
    // over a panel that changed.
    void composite(SceneKind kind, const ColourTable &colours, const QImage &background);
    static void blend(Scene &scene, const Blend &blend, const QRegion &within,
                      bool inPlace = false);
    // The gradient of the two background colours, drawn again only when they change.
    const QImage &gradient(DisplayColour top, DisplayColour bottom);

    std::array<std::unique_ptr<Scene>, SceneCount> m_scenes;
    std::array<Drawn, SceneCount> m_drawn;
    QImage m_gradient;
    std::array<DisplayColour, 2> m_gradientEnds{};
    TextMode m_mode = TextMode::Skinning;
    Extent m_extent = Extent::Whole;
    QRegion m_textsAndBars; // in the text mode's places
};
