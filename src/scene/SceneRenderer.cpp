#include "scene/SceneRenderer.h"

#include "scene/Blend.h"
#include "scene/Gradient.h"

#include "skin/ColourTable.h"
#include "skin/Conversions.h"

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
    m_textsAndBars = {};
    for (const ElementLayout &layout : sceneLayout()) {
        if (layout.isText() || layout.phase == BlendPhase::OverPanels)
            m_textsAndBars |= pixelRect(scene(SceneKind::Colour).element(layout.role).box) &
                              QRect(QPoint(0, 0), SceneSize);
    }
}

void SceneRenderer::redraw(const ColourTable &colours, BackgroundPicture &picture)
{
    const QImage &ground = gradient(displayColourOf(colours, Row::BgColour1),
                                    displayColourOf(colours, Row::BgColour2));
    try {
        colourElements(colours);
    } catch (...) {
        // The gradient is laid before the colours are read: a failing redraw leaves it
        // bare.
        m_drawn[size_t(SceneKind::Colour)] = {};
        drawn(SceneKind::Colour).draw([&](QImage &image) { copyInto(image, ground); });
        throw;
    }
    composite(SceneKind::Colour, colours, ground);
    if (picture.present())
        composite(SceneKind::Picture, colours, picture.stretchedTo(SceneSize));
}

const QImage &SceneRenderer::gradient(DisplayColour top, DisplayColour bottom)
{
    if (m_gradient.isNull() || m_gradientEnds != std::array{top, bottom}) {
        m_gradient = QImage(SceneSize, QImage::Format_RGB32);
        drawGradient(m_gradient, top, bottom);
        m_gradientEnds = {top, bottom};
    }
    return m_gradient;
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

void SceneRenderer::composite(SceneKind kind, const ColourTable &colours, const QImage &background)
{
    Scene &scene = drawn(kind);
    Blends blends;
    for (size_t i = 0; i < BlendOrder.size(); ++i) {
        const Role role = BlendOrder[i];
        blends[i] = {scene.element(role).fillColour, opacityOf(colours, layoutOf(role).fillRow),
                     pixelRect(scene.element(role).box)};
    }
    const QRegion within =
        m_extent == Extent::Whole ? QRegion(QRect(QPoint(0, 0), SceneSize)) : m_textsAndBars;
    Drawn &last = m_drawn[size_t(kind)];
    const auto changed = [&](size_t i) { return blends[i] != last.blends[i]; };
    const auto isBar = [](size_t i) {
        return layoutOf(BlendOrder[i]).phase == BlendPhase::OverPanels;
    };
    bool kept = last.image != 0 && last.image == scene.image().cacheKey() &&
                last.background == background.cacheKey() &&
                within.subtracted(last.within).isEmpty();
    std::vector<QRect> bars;
    for (size_t i = 0; i < BlendOrder.size(); ++i) {
        kept = kept && blends[i].rect == last.blends[i].rect;
        if (isBar(i))
            bars.push_back(blends[i].rect);
    }
    last.image = 0;
    if (kept) {
        // The blends of a phase share no pixel: a panel is laid again over its background
        // alone, and the bars over it blend again over what it left beneath them.
        std::vector<QRect> laidAgain;
        for (size_t i = 0; i < BlendOrder.size(); ++i) {
            if (isBar(i) || !changed(i))
                continue;
            const QRegion panel = within & blends[i].rect;
            scene.draw([&](QImage &image) { copyWithin(image, background, panel); });
            blend(scene, blends[i], panel, true);
            laidAgain.push_back(blends[i].rect);
        }
        for (size_t i = 0; i < BlendOrder.size(); ++i) {
            if (!isBar(i))
                continue;
            std::vector<QRect> beneath;
            for (QRect panel : laidAgain) {
                if (panel.intersects(blends[i].rect))
                    beneath.push_back(panel & blends[i].rect);
            }
            if (!beneath.empty())
                scene.snapshot(beneath);
            if (changed(i) || !beneath.empty())
                blend(scene, blends[i], within);
        }
    } else {
        scene.draw([&](QImage &image) {
            if (m_extent == Extent::Whole || image.size() != background.size() ||
                image.format() != background.format())
                copyInto(image, background);
            else
                copyWithin(image, background, within);
        });
        // Each phase blends over the scene as the phase before left it: the panels over the
        // background where they lie, the bars over a snapshot of that beneath them.
        for (BlendPhase phase : {BlendPhase::OverBackground, BlendPhase::OverPanels}) {
            if (phase == BlendPhase::OverPanels)
                scene.snapshot(bars);
            for (size_t i = 0; i < BlendOrder.size(); ++i) {
                if (layoutOf(BlendOrder[i]).phase == phase)
                    blend(scene, blends[i], within, phase == BlendPhase::OverBackground);
            }
        }
    }
    last = {scene.image().cacheKey(), background.cacheKey(), within, blends};
}

void SceneRenderer::blend(Scene &scene, const Blend &blend, const QRegion &within, bool inPlace)
{
    scene.draw([&](QImage &image) {
        blendOnto(image, inPlace ? image : scene.basePicture(), blend.fill, within & blend.rect,
                  blend.opacity);
    });
}
