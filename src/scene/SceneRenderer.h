#pragma once

#include "scene/BackgroundPicture.h"
#include "scene/Scene.h"
#include "scene/SceneLayout.h"

class ColourTable;

// Draws the mock-up of the Zantho screen in a skin's colours, in memory and without a
// window: the colour scene over the gradient of the two background colours and the
// picture scene over a background picture, both in one text mode. It keeps the scenes
// between redraws, as a view shows them: a redraw without a picture leaves the picture
// scene as it was, and a colour that cannot be read leaves the elements before it
// recoloured and the rest as they were.
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

private:
    Scene &drawn(SceneKind kind) { return *m_scenes[size_t(kind)]; }
    void colourElements(const ColourTable &colours);
    void composite(Scene &scene, const ColourTable &colours);

    std::array<std::unique_ptr<Scene>, SceneCount> m_scenes;
    TextMode m_mode = TextMode::Skinning;
};
