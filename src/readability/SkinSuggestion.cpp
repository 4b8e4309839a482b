#include "readability/SkinSuggestion.h"

#include "readability/LeastReaching.h"
#include "readability/Readability.h"
#include "readability/SuggestionLooks.h"
#include "readability/TellingApart.h"
#include "scene/BackgroundPicture.h"
#include "scene/SceneRenderer.h"

#include "colour/OkLab.h"
#include "colour/Quantiser.h"
#include "colour/Srgb.h"

#include "skin/Conversions.h"
#include "skin/SkinItems.h"
#include "skin/SkinLint.h"

#include <QCoreApplication>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <map>
#include <optional>
#include <utility>
#include <vector>

namespace {

// A little above the mark, so that what is chosen here still reads well when drawn.
constexpr double Aim = ReadsWell + 0.05;
// A panel that lets everything through is no panel: the least opacity one is given, in
// the whole percent the editor shows.
constexpr int LeastPercent = 20;
// The luminance at which black and white contrast alike: a colour above it is light, and
// a text of it reads better on dark.
const double EvenLuminance = std::sqrt(1.05 * 0.05) - 0.05;

bool isLight(QRgb colour)
{
    return relativeLuminance(colour) > EvenLuminance;
}

QRgb colourOf(const QString &code)
{
    return code.toUInt(nullptr, 16) | 0xFF000000u;
}

int opacityOf(const QString &code)
{
    return code.mid(2, 2).toInt(nullptr, 16);
}

void setColour(ColourTable &table, int row, QRgb colour, int opacity = 0xFF)
{
    table.set(row, codeFromBytes(std::uint8_t(opacity), std::uint8_t(qRed(colour)),
                                 std::uint8_t(qGreen(colour)), std::uint8_t(qBlue(colour))));
}

void setOpacity(ColourTable &table, int row, int opacity)
{
    setColour(table, row, colourOf(table.at(row)), opacity);
}

// Item `row` at `lightness`, with the hue of `from` and its chroma up to `chromaLimit`.
void paint(ColourTable &table, int row, double lightness, const OkLch &from, double chromaLimit,
           int opacity = 0xFF)
{
    setColour(table, row, nearestInGamut({lightness, std::min(from.chroma, chromaLimit), from.hue}),
              opacity);
}

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

bool isBare(int row)
{
    return row == Row::TitleColour || row == Row::BottomTextColour;
}

// Draws and measures a skin as the search goes; the gradient alone where the picture
// cannot change.
class Measure
{
public:
    explicit Measure(BackgroundPicture &picture) : m_picture(picture) {}

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
    // How far apart `pairs` of the parts a viewer must tell apart look, to every vision.
    QList<PartsCompared> parts(const ColourTable &table, std::span<const std::array<Role, 2>> pairs)
    {
        draw(table);
        return lastParts(pairs);
    }
    // The same of the skin drawn last. Opaque texts show their own colour where their
    // glyphs cover a pixel wholly, in either scene alike: texts alone are compared in one.
    QList<PartsCompared> lastParts(std::span<const std::array<Role, 2>> pairs) const
    {
        const bool textsAlone = std::all_of(pairs.begin(), pairs.end(), [](const auto &pair) {
            return layoutOf(pair[0]).isText() && layoutOf(pair[1]).isText();
        });
        return compareParts(
            m_renderer, textsAlone ? Readability::Scenes::ColourOnly : Readability::Scenes::Both,
            Visions, DefaultSeverity, pairs);
    }

private:
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
};

double figureOf(const Readability &readability, Role role, SceneKind scene)
{
    const TextReading *r = readability.reading(role, scene);
    return r ? r->contrast : 21;
}

// Of the colours of `tint`'s hue, the one for the text of `role` that reads well on the
// picture nearest `wanted` in lightness, one that also reads well on `lookEnd` (the
// look's end of the gradient, black or white) first, so that the gradient may keep the
// look. Where none of those reads well on the end, the farthest from the other end, so
// that the gradient moves least from the look to suit it. Where none reads well on the
// picture, the one that reads best there. With `keepTone`, only colours that read well on
// the end, and on `alsoOn` (the title's shadow), are taken at all: the gradient then never
// leaves the look's tone for the text.
QRgb bareTextColour(const Readability &onPicture, Role role, const OkLch &tint, double wanted,
                    QRgb lookEnd, QRgb alsoOn, bool keepTone)
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
    for (int step = 0; step <= 1000; ++step) {
        const double lightness = step / 1000.0;
        const QRgb colour = nearestInGamut({lightness, tint.chroma, tint.hue});
        const bool suitsEnd =
            contrastRatio(colour, lookEnd) >= Aim && contrastRatio(colour, alsoOn) >= Aim;
        if (keepTone && !suitsEnd)
            continue;
        const double figure = onPicture.figureIn(index, colour);
        if (figure > bestFigure) {
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
    // Each colour moved from where it is towards the end, black or white, where `text`
    // reads best, as little as lets it read well.
    const auto fit = [&](const std::array<double, 2> &ends) {
        lightness = own;
        for (size_t pass = 0; pass < 2; ++pass) {
            for (size_t text = 0; text < 2; ++text) {
                // First each text's own colour; then the other too where they share an
                // end, as the gradient runs between them.
                const size_t colour = pass == 0 ? text : 1 - text;
                if ((pass == 1 && ends[0] != ends[1]) || figure(text) >= Aim)
                    continue;
                const double from = lightness[colour];
                const int step = leastReaching(64, Aim, [&](int step) {
                    lightness[colour] = from + (ends[text] - from) * step / 64.0;
                    return figure(text);
                });
                lightness[colour] = from + (ends[text] - from) * step / 64.0;
            }
        }
        return figure(0) >= Aim && figure(1) >= Aim;
    };
    // Each text's end: the look's own where the text reads well on a gradient all of it,
    // as a grey between black and white may; else the other. Where the two then cannot
    // both read well, one end for both. A look that keeps its tone has texts that read
    // well on its own end, and goes nowhere else.
    const double lookEnd = own[0] < 0.5 ? 0.0 : 1.0;
    if (look.keepsTone) {
        fit({lookEnd, lookEnd});
        apply();
        return;
    }
    std::array<double, 2> preferred{};
    for (size_t text = 0; text < 2; ++text) {
        lightness = {lookEnd, lookEnd};
        preferred[text] = figure(text) >= Aim ? lookEnd : 1 - lookEnd;
    }
    const std::array<std::array<double, 2>, 3> choices = {
        {preferred, {lookEnd, lookEnd}, {1 - lookEnd, 1 - lookEnd}}};
    const auto fitting = std::find_if(choices.begin(), choices.end(), fit);
    fit(fitting == choices.end() ? preferred : *fitting);
    apply();
}

// The texts whose colours the panel or bar of `fillRow` lets the picture through to.
std::vector<Role> textsOn(int fillRow)
{
    std::vector<Role> texts;
    for (const ElementLayout &e : sceneLayout()) {
        if (e.isText() && e.role != Role::TitleShadow && panelBeneath(e.role) == fillRow)
            texts.push_back(e.role);
    }
    return texts;
}

double worstFigure(const Readability &readability, const std::vector<Role> &texts)
{
    double worst = 21;
    for (const TextReading &r : readability.readings()) {
        if (std::find(texts.begin(), texts.end(), r.role) != texts.end())
            worst = std::min(worst, r.contrast);
    }
    return worst;
}

// Each panel and bar at the least opacity, in whole percent, at which its texts read well
// in both scenes: the panels first, as the bars and the pop-up lie over them; then those,
// which lie apart, searched side by side.
void chooseOpacities(ColourTable &table, Measure &measure)
{
    const auto opacity = [](int step) {
        return int(opacityByte(std::int16_t(LeastPercent + step)));
    };
    for (const std::vector<int> &rows :
         {std::vector<int>{Row::RectBg},
          std::vector<int>{Row::ChangeColour, Row::SelectColour, Row::MenuBgColour}}) {
        std::vector<LeastReaching> searches(rows.size(), LeastReaching(100 - LeastPercent, Aim));
        std::vector<Role> texts;
        for (int row : rows)
            for (Role text : textsOn(row))
                texts.push_back(text);
        while (std::any_of(searches.begin(), searches.end(),
                           [](const LeastReaching &l) { return !l.done(); })) {
            for (size_t i = 0; i < rows.size(); ++i) {
                if (!searches[i].done())
                    setOpacity(table, rows[i], opacity(searches[i].asked()));
            }
            const Readability readability = measure.both(table, texts);
            for (size_t i = 0; i < rows.size(); ++i) {
                if (!searches[i].done())
                    searches[i].tell(worstFigure(readability, textsOn(rows[i])));
            }
        }
        for (size_t i = 0; i < rows.size(); ++i)
            setOpacity(table, rows[i], opacity(searches[i].result()));
    }
}

// A text on a panel that still does not read well, where even an opaque panel left it
// hard to read, takes the nearest readable colour of its hue.
void mendPanelTexts(ColourTable &table, Measure &measure)
{
    for (int round = 0; round < 4; ++round) {
        const Readability readability = measure.both(table);
        bool changed = false;
        for (const TextReading &r : readability.hardToRead()) {
            if (isBare(r.row))
                continue;
            const int panel = panelBeneath(r.role);
            if (panel >= 0 && opacityOf(table.at(panel)) < 0xFF) {
                setOpacity(table, panel, 0xFF);
            } else if (const std::optional<QRgb> colour =
                           readability.readableColour(r.row, r.colour)) {
                setColour(table, r.row, *colour, opacityOf(table.at(r.row)));
            } else {
                setColour(table, r.row, readability.mostReadableColour(r.row, r.colour),
                          opacityOf(table.at(r.row)));
            }
            changed = true;
            break;
        }
        if (!changed)
            return;
    }
}

// A little beyond the least difference that tells two parts apart, as for the texts.
constexpr double ApartAim = TellsApart + 0.5;
// The steps of OKLab lightness a part is moved by to set it apart.
constexpr int LightnessSteps = 32;

using Pairs = std::vector<std::array<Role, 2>>;

int itemOf(Role role)
{
    const ElementLayout &layout = layoutOf(role);
    return layout.isText() ? layout.textRow : layout.fillRow;
}

// The pairs of parts to tell apart that the part of item `row` takes part in, but for
// those with the items in `later`, which are set apart after it.
Pairs pairsOf(int row, const std::vector<int> &later = {})
{
    Pairs pairs;
    for (const auto &pair : PartsToTellApart) {
        const int first = itemOf(pair[0]), second = itemOf(pair[1]);
        const int other = first == row ? second : second == row ? first : -1;
        if (other >= 0 && std::find(later.begin(), later.end(), other) == later.end())
            pairs.push_back(pair);
    }
    return pairs;
}

// The least difference between any of `pairs`, to any vision in either scene.
double leastApart(const QList<PartsCompared> &parts)
{
    double least = 100;
    for (const PartsCompared &p : parts)
        least = std::min(least, p.difference);
    return least;
}

// Item `row` moved in lightness, keeping its hue, chroma and opacity, towards each of
// `ends` as far as `allowed` lets its colour through, as little as makes `pairs` look
// apart while the texts of `mustRead` read well; where no lightness does, to the one that sets them
// farthest apart, or left as it is. Whether they look apart. The search asks the scenes themselves,
// to every vision, as a viewer would see them: every few steps first, nearest first, then the steps
// between the last that failed and the first that did not.
bool movedApart(ColourTable &table, Measure &measure, const Look &look, int row, const Pairs &pairs,
                std::initializer_list<double> ends, const std::function<bool(QRgb)> &allowed = {},
                const std::vector<Role> &mustRead = {})
{
    const QString code = table.at(row);
    double farthest = leastApart(measure.parts(table, pairs));
    if (farthest >= ApartAim)
        return true;
    QString best = code;
    const OkLch from = okLchOf(colourOf(code));
    struct Side
    {
        double end;
        int most; // steps to the end
        int last; // the last step `allowed` lets through
    };
    const auto colourAt = [&](const Side &side, int step) {
        return nearestInGamut({from.lightness + (side.end - from.lightness) * step / side.most,
                               std::min(from.chroma, look.mostChroma), from.hue});
    };
    std::vector<Side> sides;
    for (double end : ends) {
        Side side{end, int(std::ceil(std::abs(end - from.lightness) * LightnessSteps)), 0};
        while (side.last < side.most && (!allowed || allowed(colourAt(side, side.last + 1))))
            ++side.last;
        sides.push_back(side);
    }
    const auto apartAt = [&](const Side &side, int step) {
        setColour(table, row, colourAt(side, step), opacityOf(code));
        double least = -1;
        if (mustRead.empty())
            least = leastApart(measure.parts(table, pairs));
        else if (worstFigure(measure.both(table, mustRead), mustRead) >= Aim)
            least = leastApart(measure.lastParts(pairs));
        if (least > farthest) {
            farthest = least;
            best = table.at(row);
        }
        return least >= ApartAim;
    };
    constexpr int Every = 4;
    std::vector<std::tuple<double, size_t, int>> coarse; // how far, which side, step
    for (size_t s = 0; s < sides.size(); ++s) {
        for (int step = std::min(Every, sides[s].last); step > 0;
             step = step == sides[s].last ? 0 : std::min(step + Every, sides[s].last))
            coarse.emplace_back(std::abs(sides[s].end - from.lightness) * step / sides[s].most, s,
                                step);
    }
    std::stable_sort(coarse.begin(), coarse.end(),
                     [](const auto &a, const auto &b) { return std::get<0>(a) < std::get<0>(b); });
    std::vector<int> failed(sides.size(), 0);
    for (const auto &[far, s, step] : coarse) {
        if (!apartAt(sides[s], step)) {
            failed[s] = step;
            continue;
        }
        int low = failed[s], high = step;
        while (high - low > 1) {
            const int middle = (low + high) / 2;
            (apartAt(sides[s], middle) ? high : low) = middle;
        }
        setColour(table, row, colourAt(sides[s], high), opacityOf(code));
        return true;
    }
    table.set(row, best);
    return false;
}

// Item `row` at the least whole percent of opacity above its own at which `pairs` look
// apart, taking the difference to rise with the opacity; as opaque as it gets where none
// does. Whether they look apart.
bool opaqueApart(ColourTable &table, Measure &measure, int row, const Pairs &pairs,
                 const std::vector<Role> &texts)
{
    if (leastApart(measure.parts(table, pairs)) >= ApartAim)
        return true;
    const int from = opacityPercent(table.at(row).mid(2, 2));
    const auto opacity = [&](int step) {
        setOpacity(table, row, int(opacityByte(std::int16_t(from + step))));
    };
    opacity(leastReaching(100 - from, 1, [&](int step) {
        opacity(step);
        return leastApart(measure.parts(table, pairs)) / ApartAim;
    }));
    // The texts on it, which the picture shows through, must read well too: where they
    // do not at that opacity, both are searched for together.
    if (worstFigure(measure.both(table, texts), texts) < Aim) {
        opacity(leastReaching(100 - from, 1, [&](int step) {
            opacity(step);
            return std::min(worstFigure(measure.both(table, texts), texts) / Aim,
                            leastApart(measure.lastParts(pairs)) / ApartAim);
        }));
    }
    return leastApart(measure.parts(table, pairs)) >= ApartAim;
}

// The texts of the pop-up set apart, each as far as it still reads well: its selected text
// from the list text and the title, then its not-supported text from the list text and the
// selected text. Whether they look apart.
bool popupTextsApart(ColourTable &table, Measure &measure, const Look &look)
{
    bool apart = true;
    // The texts lie apart: one moved leaves the others' backgrounds as they were.
    std::vector<Role> texts;
    for (const ElementLayout &e : sceneLayout()) {
        if (e.isText() && (e.textRow == Row::MenuSelectedColour || e.textRow == Row::NotSupported))
            texts.push_back(e.role);
    }
    const Readability readability = measure.both(table, texts);
    for (const auto &[item, later] :
         {std::pair{Row::MenuSelectedColour, std::vector<int>{Row::NotSupported}},
          std::pair{Row::NotSupported, std::vector<int>{}}}) {
        const int row = item;
        const auto readsWell = [&](QRgb colour) {
            for (qsizetype i = 0; i < readability.readings().size(); ++i) {
                if (readability.readings()[i].row == row && readability.figureIn(i, colour) < Aim)
                    return false;
            }
            return true;
        };
        apart = movedApart(table, measure, look, row, pairsOf(row, later), {0.0, 1.0}, readsWell) &&
                apart;
    }
    return apart;
}

// Which way from `fill` lies the tone away from `text`'s: 0 for black, 1 for white.
double awayFrom(const ColourTable &table, int fill, int text)
{
    return okLabOf(colourOf(table.at(text))).lightness > okLabOf(colourOf(table.at(fill))).lightness
               ? 0.0
               : 1.0;
}

// The parts a viewer must tell apart made to look apart to every vision, by lightness,
// which every vision sees. The pop-up's texts first, as far as they read well on it;
// where it leaves them no room, it is made opaque for them, then moved away from their
// tone, and then let through again as far as its texts still read well.
// Then the change-to bar, away from the tone of its own text, and more opaque; last the
// selection bar more opaque, and towards its text's tone as far as that still reads.
void tellPartsApart(ColourTable &table, Measure &measure, const Look &look)
{
    const ColourTable before = table;
    if (!popupTextsApart(table, measure, look)) {
        // Opaque, then a few steps at a time away from the texts' tone.
        const OkLch popup = okLchOf(colourOf(before.at(Row::MenuBgColour)));
        const double end = awayFrom(before, Row::MenuBgColour, Row::TextColour);
        const int steps = int(std::ceil(std::abs(end - popup.lightness) * 8));
        for (int step = 0; step <= steps; ++step) {
            table = before;
            paint(table, Row::MenuBgColour,
                  popup.lightness + (end - popup.lightness) * step / std::max(steps, 1), popup,
                  look.mostChroma);
            if (popupTextsApart(table, measure, look))
                break;
        }
        // Its opacity leaves its texts' own colours, and so how far apart they look, as
        // they are.
        const std::vector<Role> onPopup = textsOn(Row::MenuBgColour);
        const auto opacity = [&](int step) {
            setOpacity(table, Row::MenuBgColour,
                       int(opacityByte(std::int16_t(LeastPercent + step))));
        };
        opacity(leastReaching(100 - LeastPercent, Aim, [&](int step) {
            opacity(step);
            return worstFigure(measure.both(table, onPopup), onPopup);
        }));
    }

    const Pairs bars = pairsOf(Row::ChangeColour);
    const std::vector<Role> onSelection = textsOn(Row::SelectColour);
    movedApart(table, measure, look, Row::ChangeColour, bars,
               {awayFrom(table, Row::ChangeColour, Row::ChangeTextColour)}) ||
        opaqueApart(table, measure, Row::ChangeColour, bars, textsOn(Row::ChangeColour)) ||
        opaqueApart(table, measure, Row::SelectColour, bars, onSelection) ||
        movedApart(table, measure, look, Row::SelectColour, bars,
                   {1 - awayFrom(table, Row::SelectColour, Row::SelectedTextColour)}, {},
                   onSelection);
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
    const auto &[dominant, second, first, other] = palette;
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
    const auto choose = [&] {
        const Readability onPicture = measure.both(table, BareRoles);
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
            setColour(table, layoutOf(BareTexts[i].role).textRow,
                      bareTextColour(onPicture, BareTexts[i].role, tints[i], wanted, lookEnd,
                                     BareTexts[i].role == Role::TitleText
                                         ? shadowOfEnd(look, palette)
                                         : lookEnd,
                                     look.keepsTone));
        shadowAcross(table, look, palette);
    };
    // The title's colour and its shadow's tone hang together: the colour is chosen again
    // under the shadow its choice brings, until the two agree; where they never do, the
    // choice whose title reads better on the picture stands.
    std::vector<ColourTable> tried;
    for (int round = 0; round < 3; ++round) {
        const QString shadowBefore = table.at(Row::Shadow);
        choose();
        tried.push_back(table);
        if (table.at(Row::Shadow) == shadowBefore)
            return;
    }
    double best = -1;
    for (const ColourTable &t : tried) {
        const double f = figureOf(measure.both(t, BareRoles), Role::TitleText, SceneKind::Picture);
        if (f > best) {
            best = f;
            table = t;
        }
    }
}

} // namespace

ColourTable suggestSkin(BackgroundPicture &background, int variant)
{
    const Look &look = Looks[size_t(std::clamp(variant, 1, SuggestionCount) - 1)];
    const Palette palette = paletteOf(background);
    // The texts first; then the gradient, the skin's own, so that they read well on it
    // too, under the title's shadow as it will be; then the panels let through as much of
    // the picture as their texts allow; then the parts to tell apart set apart; last the
    // shadow across from the title.
    ColourTable table = lookColours(look, palette);
    Measure measure(background);
    chooseBareTexts(table, measure, look, palette);
    chooseGradient(table, measure, look, {palette.dominant, palette.second});
    chooseOpacities(table, measure);
    mendPanelTexts(table, measure);
    tellPartsApart(table, measure, look);
    shadowAcross(table, look, palette);
    return table;
}

QStringList suggestionShortfalls(const ColourTable &skin, BackgroundPicture &picture, int variant)
{
    const Look &look = Looks[size_t(std::clamp(variant, 1, SuggestionCount) - 1)];
    SceneRenderer renderer;
    renderer.redraw(skin, picture);
    const Readability readability(renderer, Readability::Scenes::Both);
    QStringList lines;
    QList<int> told;
    for (const TextReading &r : readability.hardToRead()) {
        if (told.contains(r.row))
            continue;
        told.append(r.row);
        // A bare text of a look that keeps its tone would read in the other tone, under
        // the shadow that tone brings, where the picture asks for it.
        double best = r.best;
        const bool toneKept = look.keepsTone && isBare(r.row) && r.scene == SceneKind::Picture;
        if (toneKept) {
            ColourTable otherTone = skin;
            setColour(otherTone, r.row, look.top < 0.5 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
            shadowAcross(otherTone, look, paletteOf(picture));
            renderer.redraw(otherTone, picture);
            const Readability inOtherTone(renderer, Readability::Scenes::Both);
            const TextReading *other = inOtherTone.reading(r.role, SceneKind::Picture);
            best = std::max(best, other ? other->best : 0);
        }
        QString why;
        if (best < ReadsWell)
            why = QCoreApplication::translate("Suggestion", "no colour reads better than %1 there")
                      .arg(contrastText(best));
        else if (toneKept)
            why = look.top < 0.5
                      ? QCoreApplication::translate("Suggestion",
                                                    "the dark look's gradient and the picture "
                                                    "want opposite tones; try another --variant")
                      : QCoreApplication::translate("Suggestion",
                                                    "the light look's gradient and the picture "
                                                    "want opposite tones; try another --variant");
        else
            why = readability.whatIsLeft(r.row, r.colour);
        lines << QCoreApplication::translate("Suggestion", "%1 reads %2 %3 (%4 wanted): %5")
                     .arg(itemName(r.row), contrastText(r.contrast), sceneWords(r.scene),
                          contrastText(ReadsWell), why);
    }
    return lines;
}
