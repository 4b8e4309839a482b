#include "scene/SceneRenderer.h"

#include "scene/Blend.h"
#include "scene/Gradient.h"

#include "skin/ColourTable.h"
#include "skin/Conversions.h"

#include <cstring>
#include <vector>

SceneRenderer::SceneRenderer()
    : m_scenes{std::make_unique<Scene>(SceneKind::Colour),
               std::make_unique<Scene>(SceneKind::Picture)}
{
    setTextMode(TextMode::Skinning);
}

void SceneRenderer::setTextMode(TextMode mode)
{
    m_mode = mode;
    for (const ElementLayout &layout : sceneLayout()) {
        if (!layout.isText())
            continue;
        for (const auto &scene : m_scenes)
            scene->setText(layout.role, layout.text(mode), layout.box(mode));
    }
}

void SceneRenderer::redraw(const ColourTable &colours, BackgroundPicture &picture)
{
    const DisplayColour top = displayColourOf(colours, Row::BgColour1);
    const DisplayColour bottom = displayColourOf(colours, Row::BgColour2);
    const auto gradient = [&](QImage &image) { drawGradient(image, top, bottom); };
    try {
        colourElements(colours);
    } catch (...) {
        // The gradient is laid before the colours are read: a failing redraw leaves it
        // bare.
        m_drawn[size_t(SceneKind::Colour)] = {};
        drawn(SceneKind::Colour).draw(gradient);
        throw;
    }
    composite(SceneKind::Colour, colours, {top, bottom}, gradient);

    if (!picture.present())
        return;
    const QImage &stretched = picture.stretchedTo(SceneSize);
    composite(SceneKind::Picture, colours, {stretched.cacheKey(), 0}, [&](QImage &image) {
        // Into the scene image kept from the last redraw where it fits: the blends would
        // otherwise copy the picture into memory of their own.
        if (image.size() == stretched.size() && image.format() == stretched.format() &&
            image.isDetached())
            std::memcpy(image.bits(), stretched.constBits(), size_t(image.sizeInBytes()));
        else
            image = stretched;
    });
}

void SceneRenderer::showPicture(BackgroundPicture &picture)
{
    const QImage &stretched = picture.stretchedTo(SceneSize);
    m_drawn[size_t(SceneKind::Picture)] = {};
    drawn(SceneKind::Picture).draw([&](QImage &image) { image = stretched; });
}

void SceneRenderer::colourElements(const ColourTable &colours)
{
    // Every element of one item takes its colour before the next item is read, so a
    // failing item leaves those before it recoloured and the rest as they were.
    for (int row : ColouringOrder) {
        const DisplayColour colour = displayColourOf(colours, row);
        for (const ElementLayout &layout : sceneLayout()) {
            for (const auto &scene : m_scenes) {
                if (layout.textRow == row)
                    scene->setTextColour(layout.role, colour);
                if (layout.fillRow == row)
                    scene->setFillColour(layout.role, colour);
                if (layout.outlineRow == row)
                    scene->setOutlineColour(layout.role, colour);
            }
        }
    }
}

void SceneRenderer::composite(SceneKind kind, const ColourTable &colours,
                              const std::array<qint64, 2> &background,
                              const std::function<void(QImage &)> &drawBackground)
{
    Scene &scene = drawn(kind);
    Blends blends;
    for (size_t i = 0; i < BlendOrder.size(); ++i) {
        const Role role = BlendOrder[i];
        blends[i] = {scene.element(role).fillColour, opacityOf(colours, layoutOf(role).fillRow),
                     pixelRect(scene.element(role).box)};
    }
    Drawn &last = m_drawn[size_t(kind)];
    const auto changed = [&](size_t i) { return blends[i] != last.blends[i]; };
    // A bar blended again alone covers no other: the blends of a phase share no pixel.
    bool kept =
        last.image != 0 && last.image == scene.image().cacheKey() && last.background == background;
    std::vector<QRect> bars;
    for (size_t i = 0; i < BlendOrder.size(); ++i) {
        const bool bar = layoutOf(BlendOrder[i]).phase == BlendPhase::OverPanels;
        kept = kept && (bar || !changed(i)) && blends[i].rect == last.blends[i].rect;
        if (bar)
            bars.push_back(blends[i].rect);
    }
    last.image = 0;
    if (kept) {
        // The snapshot under the bars is the scene as its panels left it.
        for (size_t i = 0; i < BlendOrder.size(); ++i) {
            if (changed(i))
                blend(scene, blends[i]);
        }
    } else {
        scene.draw(drawBackground);
        // Each phase blends over the scene as the phase before left it: the panels over the
        // background where they lie, the bars over a snapshot of that beneath them.
        for (BlendPhase phase : {BlendPhase::OverBackground, BlendPhase::OverPanels}) {
            if (phase == BlendPhase::OverPanels)
                scene.snapshot(bars);
            for (size_t i = 0; i < BlendOrder.size(); ++i) {
                if (layoutOf(BlendOrder[i]).phase == phase)
                    blend(scene, blends[i], phase == BlendPhase::OverBackground);
            }
        }
    }
    last = {scene.image().cacheKey(), background, blends};
}

void SceneRenderer::blend(Scene &scene, const Blend &blend, bool inPlace)
{
    scene.draw([&](QImage &image) {
        blendOnto(image, inPlace ? image : scene.basePicture(), blend.fill, blend.rect,
                  blend.opacity);
    });
}
