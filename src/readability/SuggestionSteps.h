#pragma once

// What the steps of a suggestion share: the codes they set, and the measure they draw
// and read the skin with as the search goes.

#include "readability/Readability.h"
#include "readability/SuggestionLooks.h"
#include "readability/TellingApart.h"
#include "scene/BackgroundPicture.h"
#include "scene/SceneRenderer.h"

#include "colour/OkLab.h"

#include "skin/ColourTable.h"
#include "skin/Conversions.h"

#include <algorithm>
#include <array>
#include <optional>
#include <span>
#include <vector>

namespace suggestion {

// A little above the mark, so that what is chosen here still reads well when drawn.
constexpr double Aim = ReadsWell + 0.05;
// A panel that lets everything through is no panel: the least opacity one is given, in
// the whole percent the editor shows.
constexpr int LeastPercent = 20;

// The opacity of a search's step: whole percent, counted from the least.
inline int percentOpacity(int step)
{
    return int(opacityByte(std::int16_t(LeastPercent + step)));
}

inline QRgb colourOf(const QString &code)
{
    return code.toUInt(nullptr, 16) | 0xFF000000u;
}

inline int opacityOf(const QString &code)
{
    return code.mid(2, 2).toInt(nullptr, 16);
}

inline void setColour(ColourTable &table, int row, QRgb colour, int opacity = 0xFF)
{
    table.set(row, codeFromBytes(std::uint8_t(opacity), std::uint8_t(qRed(colour)),
                                 std::uint8_t(qGreen(colour)), std::uint8_t(qBlue(colour))));
}

inline void setOpacity(ColourTable &table, int row, int opacity)
{
    setColour(table, row, colourOf(table.at(row)), opacity);
}

// Item `row` at `lightness`, with the hue of `from` and its chroma up to `chromaLimit`.
inline void paint(ColourTable &table, int row, double lightness, const OkLch &from,
                  double chromaLimit, int opacity = 0xFF)
{
    setColour(table, row, nearestInGamut({lightness, std::min(from.chroma, chromaLimit), from.hue}),
              opacity);
}

// Draws and measures a skin as the search goes; the gradient alone where the picture
// cannot change.
class Measure
{
public:
    explicit Measure(BackgroundPicture &picture) : m_picture(picture)
    {
        m_renderer.setExtent(SceneRenderer::Extent::TextsAndBars);
    }
    // For a last look at the skin, after which the measure is done with: drawn whole.
    SceneRenderer &renderer()
    {
        m_renderer.setExtent(SceneRenderer::Extent::Whole);
        return m_renderer;
    }

    // Of the texts of `roles` alone, where given: a search asks after a few many times.
    Readability gradientOnly(const ColourTable &table, std::span<const Role> roles = {})
    {
        StillPicture none;
        m_renderer.redraw(table, none);
        m_drawn.reset();
        return Readability(m_renderer, Readability::Scenes::ColourOnly, roles);
    }
    Readability both(const ColourTable &table, std::span<const Role> roles = {})
    {
        draw(table);
        return Readability(m_renderer, Readability::Scenes::Both, roles);
    }
    // How far apart `pairs` of the parts a viewer must tell apart look, to every vision;
    // with `below`, only until one differs by less (see compareParts).
    QList<PartsCompared> parts(const ColourTable &table, std::span<const std::array<Role, 2>> pairs,
                               double below = -1)
    {
        // Texts alone are compared in the gradient's scene: the picture's need not be drawn.
        if (textsAlone(pairs) && !(m_drawn && *m_drawn == table)) {
            StillPicture none;
            m_renderer.redraw(table, none);
            m_drawn.reset();
        } else {
            draw(table);
        }
        return lastParts(pairs, below);
    }
    // The same of the skin drawn last. Opaque texts show their own colour where their
    // glyphs cover a pixel wholly, in either scene alike: texts alone are compared in one.
    QList<PartsCompared> lastParts(std::span<const std::array<Role, 2>> pairs,
                                   double below = -1) const
    {
        return compareParts(m_renderer,
                            textsAlone(pairs) ? Readability::Scenes::ColourOnly
                                              : Readability::Scenes::Both,
                            Visions, DefaultSeverity, pairs, below, &m_seen);
    }

private:
    static bool textsAlone(std::span<const std::array<Role, 2>> pairs)
    {
        return std::all_of(pairs.begin(), pairs.end(), [](const auto &pair) {
            return layoutOf(pair[0]).isText() && layoutOf(pair[1]).isText();
        });
    }

    // The search often asks again after the skin it asked after last.
    void draw(const ColourTable &table)
    {
        if (m_drawn && *m_drawn == table)
            return;
        m_renderer.redraw(table, m_picture);
        m_drawn = table;
    }

    BackgroundPicture &m_picture;
    SceneRenderer m_renderer;
    std::optional<ColourTable> m_drawn; // over the picture
    mutable PartsSeen m_seen;
};

// The texts whose colours the panel or bar of `fillRow` lets the picture through to.
inline std::vector<Role> textsOn(int fillRow)
{
    std::vector<Role> texts;
    for (const ElementLayout &e : sceneLayout()) {
        if (e.isText() && e.role != Role::TitleShadow && panelBeneath(e.role) == fillRow)
            texts.push_back(e.role);
    }
    return texts;
}

inline double worstFigure(const Readability &readability, const std::vector<Role> &texts)
{
    double worst = 21;
    for (const TextReading &r : readability.readings()) {
        if (std::find(texts.begin(), texts.end(), r.role) != texts.end())
            worst = std::min(worst, r.contrast);
    }
    return worst;
}

// The parts a viewer must tell apart made to look apart to every vision.
void tellPartsApart(ColourTable &table, Measure &measure, const Look &look);

// The items of the texts that lie on the bare background, the title and the bottom text.
inline bool isBare(int row)
{
    return row == Row::TitleColour || row == Row::BottomTextColour;
}

// Each panel and bar at the least opacity at which its texts read well, and over a busy
// picture at the least that also calms it.
void chooseOpacities(ColourTable &table, Measure &measure);
// A text on a panel that does not read well even over an opaque panel takes the nearest
// readable colour of its hue.
void mendPanelTexts(ColourTable &table, Measure &measure);
// Last, each panel or bar over a busy picture raised to calm it where the parts stay apart.
void calmPanels(ColourTable &table, Measure &measure);

} // namespace suggestion
