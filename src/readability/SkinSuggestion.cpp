#include "readability/SkinSuggestion.h"
#include "readability/SuggestionSteps.h"

#include "readability/LeastReaching.h"

#include "colour/OkLab.h"
#include "colour/Quantiser.h"
#include "colour/Srgb.h"

#include "skin/Conversions.h"
#include "skin/SkinItems.h"
#include "skin/SkinLint.h"

#include "platform/Translations.h"

#include <QCoreApplication>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <optional>
#include <utility>
#include <vector>

using namespace suggestion;

namespace {

// The two texts that lie on the bare background, the gradient's colour nearest each and
// where it lies on it.
struct BareText
{
    Role role;
    int gradientRow;
};
constexpr std::array<BareText, 2> BareTexts = {{
    {Role::TitleText, Row::BgColour1},
    {Role::BottomLine, Row::BgColour2},
}};

constexpr std::array<Role, 2> BareRoles = {Role::TitleText, Role::BottomLine};

double figureOf(const Readability &readability, Role role, SceneKind scene)
{
    const TextReading *r = readability.reading(role, scene);
    return r ? r->contrast : 21;
}

// Of the colours of `tint`'s hue, the one for the text of `role` that reads well on the
// picture nearest `wanted` in lightness, one that also reads well on `lookEnd` (the
// look's end of the gradient, black or white, and on `alsoOn`, the title's shadow) first,
// so that the gradient may keep the look. Where none of those reads well on the end, the
// farthest from the other end, so that the gradient moves least from the look to suit it:
// the picture comes first. Where none reads well on the picture, of those that read well
// on the end the one that reads best there: a text the picture cannot serve still reads
// on the gradient, and a mid grey would leave the gradient no tone to take.
QRgb bareTextColour(const Readability &onPicture, Role role, const OkLch &tint, double wanted,
                    QRgb lookEnd, QRgb alsoOn)
{
    const auto &readings = onPicture.readings();
    const auto at = std::find_if(readings.begin(), readings.end(), [&](const TextReading &r) {
        return r.role == role && r.scene == SceneKind::Picture;
    });
    const QRgb own = nearestInGamut({wanted, tint.chroma, tint.hue});
    if (at == readings.end())
        return own;
    const qsizetype index = at - readings.begin();
    const QRgb otherEnd = lookEnd ^ 0xFFFFFF;
    std::optional<QRgb> chosen;
    std::pair<bool, double> chosenRank;
    QRgb best = own;
    double bestFigure = 0;
    // Fine steps: a grey that reads well on both black and white lies in a narrow band.
    const std::array<QRgb, 1001> &tones = tonesOf(tint);
    for (int step = 0; step <= 1000; ++step) {
        const double lightness = step / 1000.0;
        const QRgb colour = tones[size_t(step)];
        const bool suitsEnd =
            contrastRatio(colour, lookEnd) >= Aim && contrastRatio(colour, alsoOn) >= Aim;
        const double figure = onPicture.figureIn(index, colour);
        if (suitsEnd && figure > bestFigure) {
            bestFigure = figure;
            best = colour;
        }
        const std::pair<bool, double> rank = {suitsEnd, suitsEnd ? -std::abs(lightness - wanted)
                                                                 : contrastRatio(colour, otherEnd)};
        if (figure >= Aim && (!chosen || rank > chosenRank)) {
            chosenRank = rank;
            chosen = colour;
        }
    }
    return chosen.value_or(best);
}

// The gradient made to suit the bare texts, each gradient colour as near its look's
// lightness as will do: darker under a light text, lighter under a dark one, towards the
// look's own end where either would do. A text still hard to read then moves the other
// colour too, as the gradient runs between them.
void chooseGradient(ColourTable &table, Measure &measure, const Look &look,
                    const std::array<OkLch, 2> &tints)
{
    const std::array<double, 2> own = {look.top, look.bottom};
    std::array<double, 2> lightness = own;
    const auto apply = [&] {
        for (size_t i = 0; i < 2; ++i)
            paint(table, BareTexts[i].gradientRow, lightness[i], tints[i],
                  std::min(look.gradientChroma, look.mostChroma));
    };
    // The figures of both texts for each pair of lightnesses tried, so that none is drawn
    // twice.
    std::map<std::array<double, 2>, std::array<double, 2>> tried;
    const auto figure = [&](size_t text) {
        auto found = tried.find(lightness);
        if (found == tried.end()) {
            apply();
            const Readability readability = measure.gradientOnly(table, BareRoles);
            found = tried
                        .emplace(lightness,
                                 std::array<double, 2>{
                                     figureOf(readability, BareTexts[0].role, SceneKind::Colour),
                                     figureOf(readability, BareTexts[1].role, SceneKind::Colour)})
                        .first;
        }
        return found->second[text];
    };
    // Moves `colour` from where it is towards `end`, as little as lets `text` read well.
    const auto moveToward = [&](size_t colour, double end, size_t text) {
        const double from = lightness[colour];
        const auto at = [&](int step) { return from + (end - from) * step / 64.0; };
        lightness[colour] = at(leastReaching(64, Aim, [&](int step) {
            lightness[colour] = at(step);
            return figure(text);
        }));
    };
    // Each colour moved towards the end, black or white, where `text` reads best.
    const auto fit = [&](const std::array<double, 2> &ends) {
        lightness = own;
        for (size_t pass = 0; pass < 2; ++pass) {
            for (size_t text = 0; text < 2; ++text) {
                // First each text's own colour; then the other too where they share an
                // end, as the gradient runs between them.
                const size_t colour = pass == 0 ? text : 1 - text;
                if ((pass == 1 && ends[0] != ends[1]) || figure(text) >= Aim)
                    continue;
                moveToward(colour, ends[text], text);
            }
        }
        return figure(0) >= Aim && figure(1) >= Aim;
    };
    // Each text's end: the look's own where the text reads well on a gradient all of it,
    // as a grey between black and white may; else the other. Where the two then cannot
    // both read well, one end for both.
    const double lookEnd = own[0] < 0.5 ? 0.0 : 1.0;
    std::array<double, 2> preferred{};
    for (size_t text = 0; text < 2; ++text) {
        lightness = {lookEnd, lookEnd};
        preferred[text] = figure(text) >= Aim ? lookEnd : 1 - lookEnd;
    }
    const std::array<std::array<double, 2>, 3> choices = {
        {preferred, {lookEnd, lookEnd}, {1 - lookEnd, 1 - lookEnd}}};
    const auto fitting = std::find_if(choices.begin(), choices.end(), fit);
    fit(fitting == choices.end() ? preferred : *fitting);
    // Where no choice lets both read, a text's box reaches across the gradient, and the
    // other colour, moved for the other text, took back what its own had given it: each
    // colour moves on towards its text's end, as little as will do, until both read or
    // neither moves. The picture chose the texts' colours; the gradient gives way.
    for (int round = 0; fitting == choices.end() && round < 8; ++round) {
        const std::array<double, 2> before = lightness;
        for (size_t text = 0; text < 2; ++text) {
            if (figure(text) < Aim)
                moveToward(text, preferred[text], text);
        }
        if (lightness == before)
            break;
    }
    apply();
}

// A colour of `from`'s hue at `lightness`, with no more chroma than the look keeps.
void tone(ColourTable &table, const Look &look, int row, double lightness, const OkLch &from,
          double chromaLimit, int opacity = 0xFF)
{
    paint(table, row, lightness, from, std::min(chromaLimit, look.mostChroma), opacity);
}

// The shadow, drawn whole whatever its opacity digits, counts in the title's background:
// it takes the tone across from the title's, to lift it.
void shadowAcross(ColourTable &table, const Look &look, const Palette &palette)
{
    const bool lightTitle = isLight(colourOf(table.at(Row::TitleColour)));
    tone(table, look, Row::Shadow, lightTitle ? 0.12 : 0.97, palette.first, look.textChroma,
         lightTitle ? 0xB2 : 0x99);
}

// The shadow a title gets that reads on the look's end of the gradient.
QRgb shadowOfEnd(const Look &look, const Palette &palette)
{
    ColourTable table;
    setColour(table, Row::TitleColour, look.top < 0.5 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    shadowAcross(table, look, palette);
    return colourOf(table.at(Row::Shadow));
}

// Every item in the look's tone, from the picture's colours: what the choices that follow
// start from. The title and the bottom text take the look's text tone for now.
ColourTable lookColours(const Look &look, const Palette &palette)
{
    ColourTable table;
    const OkLch &dominant = palette.dominant, &second = palette.second, &first = palette.first,
                &other = palette.other;
    const OkLch grey{0, 0, dominant.hue};
    const double panelChroma = look.vivid ? first.chroma : look.panelChroma;
    const double barChroma = look.vivid ? 1.0 : look.barChroma;
    tone(table, look, Row::BgColour1, look.top, dominant, look.gradientChroma);
    tone(table, look, Row::BgColour2, look.bottom, second, look.gradientChroma);
    tone(table, look, Row::RectBg, look.panel, look.vivid ? first : dominant, panelChroma,
         look.panelOpacity);
    tone(table, look, Row::MenuBgColour, look.popup, look.vivid ? other : dominant, panelChroma,
         look.popupOpacity);
    tone(table, look, Row::SelectColour, look.bar, first, barChroma, look.barOpacity);
    tone(table, look, Row::ChangeColour, look.bar, other, barChroma, look.barOpacity);
    // The outlines come from the bars: the bars' own hues, the panels' a quieter one.
    tone(table, look, Row::SelectOutline, look.outline, first, look.vivid ? 1.0 : look.barChroma);
    tone(table, look, Row::ChangeOutline, look.outline, other, look.vivid ? 1.0 : look.barChroma);
    tone(table, look, Row::RectOutline, look.outline, first,
         std::max(look.panelChroma, panelChroma));
    tone(table, look, Row::MenuOutlineColour, look.outline, first,
         std::max(look.panelChroma, panelChroma));
    // The texts on the panels take the look's tone; the panels are made to suit them.
    tone(table, look, Row::TextColour, look.text, dominant, look.textChroma);
    tone(table, look, Row::SelectedTextColour, look.barText, first, look.textChroma);
    tone(table, look, Row::ChangeTextColour, look.barText, other, look.textChroma);
    tone(table, look, Row::SectionTextColour, look.text, first, look.textChroma * 2);
    tone(table, look, Row::MenuTitleColour, look.text, grey, 0);
    tone(table, look, Row::MenuSelectedColour, look.text, other, look.textChroma * 2);
    tone(table, look, Row::NotSupported, look.text > 0.5 ? look.text - 0.12 : look.text + 0.12,
         grey, 0);
    for (int row : {Row::TitleColour, Row::BottomTextColour})
        tone(table, look, row, look.text, grey, 0);
    shadowAcross(table, look, palette);
    return table;
}

// The title and the bottom text have only their colour to read on the picture by: the
// one nearest the look's tone that does, or the one that reads best there.
void chooseBareTexts(ColourTable &table, Measure &measure, const Look &look, const Palette &palette)
{
    const auto choose = [&](ColourTable &t) {
        const Readability onPicture = measure.both(t, BareRoles);
        const double wanted = look.top < 0.5 ? 0.97 : 0.2;
        const std::array<OkLch, 2> tints = {
            OkLch{palette.first.lightness,
                  std::min({palette.first.chroma, look.textChroma, look.mostChroma}),
                  palette.first.hue},
            OkLch{palette.dominant.lightness,
                  std::min({palette.dominant.chroma, look.textChroma, look.mostChroma}),
                  palette.dominant.hue}};
        const QRgb lookEnd = look.top < 0.5 ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
        for (size_t i = 0; i < BareTexts.size(); ++i)
            setColour(t, layoutOf(BareTexts[i].role).textRow,
                      bareTextColour(onPicture, BareTexts[i].role, tints[i], wanted, lookEnd,
                                     BareTexts[i].role == Role::TitleText
                                         ? shadowOfEnd(look, palette)
                                         : lookEnd));
        shadowAcross(t, look, palette);
    };
    const auto titleFigure = [&](const ColourTable &t) {
        return figureOf(measure.both(t, BareRoles), Role::TitleText, SceneKind::Picture);
    };
    // The title's colour and its shadow's tone hang together: the colour is chosen again
    // under the shadow its choice brings, until the two agree; where they never do, the
    // choice whose title reads better on the picture stands.
    const auto agreed = [&](ColourTable t) {
        std::vector<ColourTable> tried;
        for (int round = 0; round < 3; ++round) {
            const QString shadowBefore = t.at(Row::Shadow);
            choose(t);
            tried.push_back(t);
            if (t.at(Row::Shadow) == shadowBefore)
                return t;
        }
        double best = -1;
        for (const ColourTable &one : tried) {
            if (const double f = titleFigure(one); f > best) {
                best = f;
                t = one;
            }
        }
        return t;
    };
    const ColourTable inTone = agreed(table);
    table = inTone;
    if (titleFigure(inTone) >= ReadsWell)
        return;
    // The shadow of the look's tone can leave no colour reading where a title of the other
    // tone, over the shadow that tone brings, reads well: the picture comes first.
    ColourTable across = inTone;
    setColour(across, Row::TitleColour, look.top < 0.5 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    shadowAcross(across, look, palette);
    across = agreed(across);
    if (titleFigure(across) >= ReadsWell)
        table = across;
}

// Where the gradient could not be made to carry a bare text (the two texts asking opposite
// tones of it, or a text barely reading on the look's end), the text takes the colour of
// its hue that reads well on the gradient and best on the picture: the gradient is the
// skin's own, and a text reads on it always. The shadow follows the title.
void keepBareTextsOnGradient(ColourTable &table, Measure &measure, const Look &look,
                             const Palette &palette)
{
    for (int round = 0; round < 3; ++round) {
        const Readability readability = measure.both(table, BareRoles);
        bool changed = false;
        for (const BareText &bare : BareTexts) {
            if (figureOf(readability, bare.role, SceneKind::Colour) >= ReadsWell)
                continue;
            const int row = layoutOf(bare.role).textRow;
            if (const std::optional<QRgb> colour = readability.mostReadableKeeping(
                    row, colourOf(table.at(row)), SceneKind::Colour)) {
                setColour(table, row, *colour);
                changed = true;
            }
        }
        if (!changed)
            return;
        shadowAcross(table, look, palette);
    }
}

} // namespace

ColourTable suggestSkin(BackgroundPicture &background, int variant, QStringList *shortfalls)
{
    const Palette palette = paletteOf(background);
    const Look look = lookFor(variant, palette);
    // The texts first; then the gradient, the skin's own, so that they read well on it
    // too, under the title's shadow as it will be; then the panels let through as much of
    // the picture as their texts allow; then the parts to tell apart set apart; last the
    // shadow across from the title.
    ColourTable table = lookColours(look, palette);
    Measure measure(background);
    chooseBareTexts(table, measure, look, palette);
    chooseGradient(table, measure, look, {palette.dominant, palette.second});
    keepBareTextsOnGradient(table, measure, look, palette);
    chooseOpacities(table, measure);
    mendPanelTexts(table, measure);
    tellPartsApart(table, measure, look);
    calmPanels(table, measure);
    shadowAcross(table, look, palette);
    if (shortfalls)
        *shortfalls = suggestionShortfalls(table, background, variant, measure.renderer());
    return table;
}

QStringList suggestionShortfalls(const ColourTable &skin, BackgroundPicture &picture, int variant,
                                 SceneRenderer &renderer)
{
    const Look look = lookFor(variant, paletteOf(picture));
    QStringList lines;
    // One sentence per look with a tone and per end of the gradient, top first.
    static const char *const moved[][2] = {
        {QT_TRANSLATE_NOOP("Suggestion",
                           "the light look's gradient is darker at the top (lightness %1; %2 or "
                           "more keeps the look), so that %3, in a colour that reads on the "
                           "picture, reads on it too"),
         QT_TRANSLATE_NOOP("Suggestion",
                           "the light look's gradient is darker at the bottom (lightness %1; %2 "
                           "or more keeps the look), so that %3, in a colour that reads on the "
                           "picture, reads on it too")},
        {QT_TRANSLATE_NOOP("Suggestion",
                           "the dark look's gradient is lighter at the top (lightness %1; %2 or "
                           "less keeps the look), so that %3, in a colour that reads on the "
                           "picture, reads on it too"),
         QT_TRANSLATE_NOOP("Suggestion",
                           "the dark look's gradient is lighter at the bottom (lightness %1; %2 "
                           "or less keeps the look), so that %3, in a colour that reads on the "
                           "picture, reads on it too")},
        {nullptr, nullptr},
        {QT_TRANSLATE_NOOP("Suggestion",
                           "the muted look's gradient is darker at the top (lightness %1; %2 or "
                           "more keeps the look), so that %3, in a colour that reads on the "
                           "picture, reads on it too"),
         QT_TRANSLATE_NOOP("Suggestion",
                           "the muted look's gradient is darker at the bottom (lightness %1; %2 "
                           "or more keeps the look), so that %3, in a colour that reads on the "
                           "picture, reads on it too")},
    };
    // Where a look's gradient left its tone, which end did, and for which bare text: the
    // one that would not read on it with that end back at the look's bound.
    if (const double bound = look.toneBound; bound > 0) {
        const bool light = look.top >= 0.5;
        for (const BareText &end : BareTexts) {
            const OkLch at = okLchOf(colourOf(skin.at(end.gradientRow)));
            if (light ? at.lightness >= bound : at.lightness <= bound)
                continue;
            ColourTable kept = skin;
            paint(kept, end.gradientRow, bound, at, at.chroma);
            StillPicture none;
            renderer.redraw(kept, none);
            const Readability onKept(renderer, Readability::Scenes::ColourOnly, BareRoles);
            std::vector<int> needing;
            for (const BareText &text : BareTexts) {
                if (figureOf(onKept, text.role, SceneKind::Colour) < ReadsWell)
                    needing.push_back(layoutOf(text.role).textRow);
            }
            if (needing.empty())
                needing.push_back(layoutOf(end.role).textRow);
            const char *text = moved[std::clamp(variant, 1, SuggestionCount) - 1]
                                    [end.gradientRow == Row::BgColour1 ? 0 : 1];
            for (int row : needing)
                lines << QCoreApplication::translate("Suggestion", text)
                             .arg(Translations::decimal(at.lightness, 2),
                                  Translations::decimal(bound, 2), itemName(row));
        }
    }
    renderer.redraw(skin, picture);
    const Readability readability(renderer, Readability::Scenes::Both);
    for (const TextReading &r : hardestOfEach(readability.hardToRead())) {
        // The figure --check gives, under the shadow written.
        const QString why =
            r.best < ReadsWell
                ? QCoreApplication::translate("Suggestion", "no colour reads better than %1 there")
                      .arg(contrastText(r.best))
                : readability.whatIsLeft(r.row, r.colour);
        lines << QCoreApplication::translate("Suggestion", "%1 reads %2 %3 (%4 wanted): %5")
                     .arg(itemName(r.row), contrastText(r.contrast), sceneWords(r.scene),
                          contrastText(ReadsWell), why);
    }
    return lines;
}
