#include "readability/SkinSuggestion.h"

#include "readability/Readability.h"
#include "scene/BackgroundPicture.h"
#include "scene/SceneRenderer.h"

#include "colour/OkLab.h"
#include "colour/Quantiser.h"

#include "skin/Conversions.h"
#include "skin/SkinItems.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace {

// What a look makes of the picture's colours: OKLCH lightness of each part of the skin,
// how much of the picture's chroma it keeps, and the opacity bytes of the translucent
// parts.
struct Look
{
    bool dark; // light texts on dark panels
    double chroma;
    double backgroundTop, backgroundBottom, panel, popup, bar, outline, text;
    int panelOpacity, popupOpacity, barOpacity;
    QRgb shadow;
};

constexpr Look Looks[SuggestionCount] = {
    // light
    {.dark = false,
     .chroma = 1.0,
     .backgroundTop = 0.93,
     .backgroundBottom = 0.82,
     .panel = 0.97,
     .popup = 0.95,
     .bar = 0.80,
     .outline = 0.55,
     .text = 0.25,
     .panelOpacity = 0x99,
     .popupOpacity = 0xCC,
     .barOpacity = 0x99,
     .shadow = 0x80FFFFFF},
    // dark
    {.dark = true,
     .chroma = 1.0,
     .backgroundTop = 0.34,
     .backgroundBottom = 0.20,
     .panel = 0.16,
     .popup = 0.20,
     .bar = 0.45,
     .outline = 0.72,
     .text = 0.93,
     .panelOpacity = 0x99,
     .popupOpacity = 0xCC,
     .barOpacity = 0x8C,
     .shadow = 0xB2000000},
    // vivid
    {.dark = true,
     .chroma = 1.6,
     .backgroundTop = 0.38,
     .backgroundBottom = 0.22,
     .panel = 0.14,
     .popup = 0.18,
     .bar = 0.52,
     .outline = 0.78,
     .text = 0.95,
     .panelOpacity = 0x8C,
     .popupOpacity = 0xCC,
     .barOpacity = 0xA6,
     .shadow = 0xB2000000},
    // muted
    {.dark = false,
     .chroma = 0.35,
     .backgroundTop = 0.88,
     .backgroundBottom = 0.76,
     .panel = 0.95,
     .popup = 0.93,
     .bar = 0.75,
     .outline = 0.50,
     .text = 0.28,
     .panelOpacity = 0xA6,
     .popupOpacity = 0xD9,
     .barOpacity = 0x99,
     .shadow = 0x80FFFFFF},
};

// Whether most of the picture where `role` lies is light, so that a text there reads
// better dark: above the luminance at which black and white contrast alike.
bool lightUnder(const QImage &picture, Role role)
{
    const std::vector<double> luminances =
        sortedLuminances(picture, pixelRect(layoutOf(role).geometry));
    return !luminances.empty() && luminances[luminances.size() / 2] > std::sqrt(1.05 * 0.05) - 0.05;
}

double hueDistance(double a, double b)
{
    const double d = std::fmod(std::abs(a - b), 360.0);
    return std::min(d, 360 - d);
}

class ItemColours
{
public:
    ItemColours(ColourTable &table, const Look &look) : m_table(table), m_look(look) {}
    // Item `row` at `lightness`, with the hue and (scaled) chroma of `from`.
    void set(int row, double lightness, const OkLch &from, double chromaLimit, int opacity = 0xFF)
    {
        const double chroma = std::min(from.chroma * m_look.chroma, chromaLimit);
        const QRgb c = nearestInGamut({lightness, chroma, from.hue});
        m_table.set(row, codeFromBytes(std::uint8_t(opacity), std::uint8_t(qRed(c)),
                                       std::uint8_t(qGreen(c)), std::uint8_t(qBlue(c))));
    }

private:
    ColourTable &m_table;
    const Look &m_look;
};

// Raises the opacity byte of a translucent item by a step, up to opaque. False when it
// was opaque already.
bool raiseOpacity(ColourTable &table, int row)
{
    const QString code = table.at(row);
    const int opacity = code.mid(2, 2).toInt(nullptr, 16);
    if (opacity >= 0xFF)
        return false;
    const QString raised = QString::number(std::min(opacity + 0x20, 0xFF), 16).toUpper();
    table.set(row, code.left(2) + raised.rightJustified(2, u'0') + code.mid(4));
    return true;
}

// The picture's colours a skin is made of: the two that cover most, and two accents.
struct Palette
{
    OkLch dominant, second, first, other;
};

Palette paletteOf(BackgroundPicture &background)
{
    const QList<ColourCluster> clusters = quantise(background.stretchedTo(SceneSize), 8);
    QList<OkLch> colours;
    qint64 total = 0;
    for (const ColourCluster &c : clusters) {
        colours << toLch(c.centre);
        total += c.pixels;
    }
    if (colours.isEmpty())
        colours << OkLch{0.5, 0, 0};
    const OkLch dominant = colours[0], second = colours.value(1, colours[0]);
    // The accent: the most colourful of the colours that cover a part worth seeing; the
    // second accent the most colourful of another hue, or the hue across from it.
    qsizetype accent = 0;
    for (qsizetype i = 0; i < clusters.size(); ++i) {
        if (clusters[i].pixels * 50 >= total && colours[i].chroma > colours[accent].chroma)
            accent = i;
    }
    OkLch first = colours[accent];
    first.chroma = std::max(first.chroma, 0.06);
    std::optional<OkLch> otherHue;
    for (qsizetype i = 0; i < clusters.size(); ++i) {
        if (clusters[i].pixels * 50 >= total && hueDistance(colours[i].hue, first.hue) >= 40 &&
            colours[i].chroma >= 0.04 && (!otherHue || colours[i].chroma > otherHue->chroma))
            otherHue = colours[i];
    }
    const OkLch other =
        otherHue.value_or(OkLch{first.lightness, first.chroma, std::fmod(first.hue + 150, 360)});

    return {dominant, second, first, other};
}

// Every text made to read well on both scenes; where no colour of its hue does, the
// panel beneath it lets less of the picture through, and all is measured again.
void makeReadable(ColourTable &table, BackgroundPicture &background)
{
    SceneRenderer renderer;
    for (int round = 0; round < 10; ++round) {
        renderer.redraw(table, background);
        const QList<TextFix> fixes = mendTexts(renderer, table, Readability::Scenes::Both);
        bool raised = false;
        for (const TextFix &fix : fixes) {
            if (fix.to.isEmpty() && fix.panelRow >= 0)
                raised |= raiseOpacity(table, fix.panelRow);
        }
        // A text on the bare background, where no colour reads well, takes the one that
        // reads best.
        if (!raised) {
            const Readability readability(renderer, Readability::Scenes::Both);
            for (const TextFix &fix : fixes) {
                if (fix.to.isEmpty() && fix.panelRow < 0)
                    table.set(fix.row, fix.from.left(4) + hexColour(readability.mostReadableColour(
                                                              fix.row, fix.worst.colour)));
            }
        }
        if (!raised)
            break;
    }
}

} // namespace

ColourTable suggestSkin(BackgroundPicture &background, int variant)
{
    const Look &look = Looks[size_t(std::clamp(variant, 1, SuggestionCount) - 1)];
    const auto [dominant, second, first, other] = paletteOf(background);
    ColourTable table;
    ItemColours paint(table, look);
    const OkLch grey{0, 0, dominant.hue};
    // The title and the bottom text lie on the bare background, the gradient in one scene
    // and the picture in the other: both must be light, or both dark, where they lie.
    const QImage &shown = background.stretchedTo(SceneSize);
    const bool lightTop = lightUnder(shown, Role::TitleText);
    const bool lightBottom = lightUnder(shown, Role::BottomLine);
    const auto bare = [&](bool light, double own) {
        return light == !look.dark ? own : light ? 0.9 : 0.3;
    };
    paint.set(Row::BgColour1, bare(lightTop, look.backgroundTop), dominant, 0.14);
    paint.set(Row::BgColour2, bare(lightBottom, look.backgroundBottom), second, 0.14);
    paint.set(Row::RectBg, look.panel, dominant, 0.05, look.panelOpacity);
    paint.set(Row::MenuBgColour, look.popup, dominant, 0.05, look.popupOpacity);
    paint.set(Row::SelectColour, look.bar, first, 0.2, look.barOpacity);
    paint.set(Row::ChangeColour, look.bar, other, 0.2, look.barOpacity);
    // The outlines come from the bars: the bars' own hues, the panels' a quieter one.
    paint.set(Row::SelectOutline, look.outline, first, 0.16);
    paint.set(Row::ChangeOutline, look.outline, other, 0.16);
    paint.set(Row::RectOutline, look.outline, first, 0.05);
    paint.set(Row::MenuOutlineColour, look.outline, first, 0.05);
    // The shadow lifts the title, so it takes the other tone: light under a dark title. Its
    // pixels lie beside the title's glyphs, where they count in the title's background.
    const std::uint8_t shadowTone = lightTop ? 255 : 0;
    table.set(Row::Shadow,
              codeFromBytes(std::uint8_t(qAlpha(look.shadow)), shadowTone, shadowTone, shadowTone));
    paint.set(Row::TitleColour, lightTop ? 0.25 : 0.95, first, 0.04);
    paint.set(Row::TextColour, look.text, dominant, 0.02);
    paint.set(Row::SelectedTextColour, look.text, grey, 0);
    paint.set(Row::ChangeTextColour, look.text, other, 0.05);
    paint.set(Row::BottomTextColour, lightBottom ? 0.3 : 0.9, dominant, 0.03);
    paint.set(Row::SectionTextColour, look.text, first, 0.08);
    paint.set(Row::MenuTitleColour, look.text, grey, 0);
    paint.set(Row::MenuSelectedColour, look.text, other, 0.1);
    paint.set(Row::NotSupported, look.dark ? look.text * 0.8 : look.text + 0.2, grey, 0);

    makeReadable(table, background);
    return table;
}
