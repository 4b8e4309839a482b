#include "scene/SceneRenderer.h"

#include "scene/Blend.h"
#include "scene/Gradient.h"

#include "skin/ColourTable.h"
#include "skin/Conversions.h"

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
    Scene &colourScene = drawn(SceneKind::Colour);
    colourScene.draw([&](QImage &image) { drawGradient(image, top, bottom); });
    colourElements(colours);
    composite(colourScene, colours);

    if (!picture.present())
        return;
    showPicture(picture);
    composite(drawn(SceneKind::Picture), colours);
}

void SceneRenderer::showPicture(BackgroundPicture &picture)
{
    const QImage &stretched = picture.stretchedTo(SceneSize);
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

void SceneRenderer::composite(Scene &scene, const ColourTable &colours)
{
    // Each phase blends over a snapshot of the scene as the phase before left it.
    for (BlendPhase phase : {BlendPhase::OverBackground, BlendPhase::OverPanels}) {
        scene.snapshot();
        for (Role role : BlendOrder) {
            const ElementLayout &layout = layoutOf(role);
            if (layout.phase != phase)
                continue;
            const float opacity = opacityOf(colours, layout.fillRow);
            scene.draw([&](QImage &image) {
                blendOnto(image, scene.basePicture(), scene.element(role).fillColour,
                          pixelRect(scene.element(role).box), opacity);
            });
        }
    }
}
