#include "readability/SkinSuggestion.h"

#include "readability/Readability.h"
#include "readability/SuggestionLooks.h"
#include "scene/BackgroundPicture.h"
#include "scene/SceneRenderer.h"

#include "colour/OkLab.h"
#include "colour/Quantiser.h"
#include "colour/Srgb.h"

#include "skin/Conversions.h"
#include "skin/SkinItems.h"

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

    Readability gradientOnly(const ColourTable &table)
    {
        StillPicture none;
        m_renderer.redraw(table, none);
        return Readability(m_renderer, Readability::Scenes::ColourOnly);
    }
    Readability both(const ColourTable &table)
    {
        m_renderer.redraw(table, m_picture);
        return Readability(m_renderer, Readability::Scenes::Both);
    }

private:
    BackgroundPicture &m_picture;
    SceneRenderer m_renderer;
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
// picture, the one that reads best there.
QRgb bareTextColour(const Readability &onPicture, Role role, const OkLch &tint, double wanted,
                    QRgb lookEnd)
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
        const double figure = onPicture.figureIn(index, colour);
        if (figure > bestFigure) {
            bestFigure = figure;
            best = colour;
        }
        const bool suitsEnd = contrastRatio(colour, lookEnd) >= Aim;
        const std::pair<bool, double> rank = {suitsEnd, suitsEnd ? -std::abs(lightness - wanted)
                                                                 : contrastRatio(colour, otherEnd)};
        if (figure >= Aim && (!chosen || rank > chosenRank)) {
            chosenRank = rank;
            chosen = colour;
        }
    }
    return chosen.value_or(best);
}

// The search for the least step of 0..last at which a figure, taken to rise with the
// step, reaches the aim; `last` when none does. It asks for the figure at one step at a
// time, so that searches that do not touch each other can share each drawing. Each
// guess is where a straight line through the two ends of the bracket reaches the aim,
// the end that stayed twice weighed half (the Illinois rule), so that a curved figure
// does not creep up on it from one side.
class LeastReaching
{
public:
    explicit LeastReaching(int last) : m_passing(last) {}
    bool done() const { return m_done; }
    int asked() const { return m_asked; }
    int result() const { return m_passing; }

    void tell(double figure)
    {
        const double f = figure - Aim;
        switch (m_stage) {
        case Stage::First:
            m_done = f >= 0;
            m_passing = m_done ? 0 : m_passing;
            m_low = f;
            m_asked = m_passing;
            m_stage = Stage::Last;
            return;
        case Stage::Last:
            m_done = f < 0;
            m_high = f;
            m_stage = Stage::Between;
            break;
        case Stage::Between:
            if (f >= 0) {
                m_passing = m_asked;
                m_high = f;
                m_low /= m_side > 0 ? 2 : 1;
                m_side = 1;
            } else {
                m_failing = m_asked;
                m_low = f;
                m_high /= m_side < 0 ? 2 : 1;
                m_side = -1;
            }
            break;
        }
        m_done = m_done || m_passing - m_failing <= 1;
        if (!m_done)
            m_asked = std::clamp(m_failing + int(std::ceil(m_low / (m_low - m_high) *
                                                           double(m_passing - m_failing))),
                                 m_failing + 1, m_passing - 1);
    }

private:
    enum class Stage
    {
        First,
        Last,
        Between
    };
    Stage m_stage = Stage::First;
    int m_failing = 0, m_passing, m_asked = 0, m_side = 0;
    double m_low = 0, m_high = 0;
    bool m_done = false;
};

int leastReaching(int last, const std::function<double(int)> &figure)
{
    LeastReaching search(last);
    while (!search.done())
        search.tell(figure(search.asked()));
    return search.result();
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
            const Readability readability = measure.gradientOnly(table);
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
                const int step = leastReaching(64, [&](int step) {
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
        std::vector<LeastReaching> searches(rows.size(), LeastReaching(100 - LeastPercent));
        while (std::any_of(searches.begin(), searches.end(),
                           [](const LeastReaching &l) { return !l.done(); })) {
            for (size_t i = 0; i < rows.size(); ++i) {
                if (!searches[i].done())
                    setOpacity(table, rows[i], opacity(searches[i].asked()));
            }
            const Readability readability = measure.both(table);
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

} // namespace

ColourTable suggestSkin(BackgroundPicture &background, int variant)
{
    const Look &look = Looks[size_t(std::clamp(variant, 1, SuggestionCount) - 1)];
    // Named, not bound: the lambdas below take them, and a structured binding cannot be
    // captured by every compiler this builds with.
    const Palette palette = paletteOf(background);
    const OkLch &dominant = palette.dominant, &second = palette.second, &first = palette.first,
                &other = palette.other;
    ColourTable table;
    const auto tone = [&](int row, double lightness, const OkLch &from, double chromaLimit,
                          int opacity = 0xFF) {
        paint(table, row, lightness, from, std::min(chromaLimit, look.mostChroma), opacity);
    };
    const OkLch grey{0, 0, dominant.hue};
    const double panelChroma = look.vivid ? first.chroma : look.panelChroma;
    const double barChroma = look.vivid ? 1.0 : look.barChroma;
    // The look's colours, the gradient and opacities to be chosen below.
    tone(Row::BgColour1, look.top, dominant, look.gradientChroma);
    tone(Row::BgColour2, look.bottom, second, look.gradientChroma);
    tone(Row::RectBg, look.panel, look.vivid ? first : dominant, panelChroma, look.panelOpacity);
    tone(Row::MenuBgColour, look.popup, look.vivid ? other : dominant, panelChroma,
         look.popupOpacity);
    tone(Row::SelectColour, look.bar, first, barChroma, look.barOpacity);
    tone(Row::ChangeColour, look.bar, other, barChroma, look.barOpacity);
    // The outlines come from the bars: the bars' own hues, the panels' a quieter one.
    tone(Row::SelectOutline, look.outline, first, look.vivid ? 1.0 : look.barChroma);
    tone(Row::ChangeOutline, look.outline, other, look.vivid ? 1.0 : look.barChroma);
    tone(Row::RectOutline, look.outline, first, std::max(look.panelChroma, panelChroma));
    tone(Row::MenuOutlineColour, look.outline, first, std::max(look.panelChroma, panelChroma));

    // The texts first. Those on the panels take the look's tone; the panels are made to
    // suit them.
    tone(Row::TextColour, look.text, dominant, look.textChroma);
    tone(Row::SelectedTextColour, look.barText, first, look.textChroma);
    tone(Row::ChangeTextColour, look.barText, other, look.textChroma);
    tone(Row::SectionTextColour, look.text, first, look.textChroma * 2);
    tone(Row::MenuTitleColour, look.text, grey, 0);
    tone(Row::MenuSelectedColour, look.text, other, look.textChroma * 2);
    tone(Row::NotSupported, look.text > 0.5 ? look.text - 0.12 : look.text + 0.12, grey, 0);
    // Drawn for now in the look's tone, to measure the picture beneath; the shadow, drawn
    // whole whatever its opacity digits, counts in the title's background, so it takes the
    // tone across from the title's from the start.
    for (int row : {Row::TitleColour, Row::BottomTextColour})
        tone(row, look.text, grey, 0);
    const auto shadowAcross = [&] {
        const bool lightTitle = isLight(colourOf(table.at(Row::TitleColour)));
        tone(Row::Shadow, lightTitle ? 0.12 : 0.97, first, look.textChroma,
             lightTitle ? 0xB2 : 0x99);
    };
    shadowAcross();
    // The title and the bottom text have only their colour to read on the picture by: the
    // one nearest the look's tone that does, or the one that reads best there.
    Measure measure(background);
    const std::array<OkLch, 2> gradientTints = {dominant, second};
    const auto chooseBareTexts = [&] {
        const Readability onPicture = measure.both(table);
        const double wanted = look.top < 0.5 ? 0.97 : 0.2;
        const std::array<OkLch, 2> tints = {
            OkLch{first.lightness, std::min({first.chroma, look.textChroma, look.mostChroma}),
                  first.hue},
            OkLch{dominant.lightness, std::min({dominant.chroma, look.textChroma, look.mostChroma}),
                  dominant.hue}};
        for (size_t i = 0; i < BareTexts.size(); ++i)
            setColour(table, layoutOf(BareTexts[i].role).textRow,
                      bareTextColour(onPicture, BareTexts[i].role, tints[i], wanted,
                                     look.top < 0.5 ? qRgb(0, 0, 0) : qRgb(255, 255, 255)));
        shadowAcross();
    };
    // The title's colour and its shadow's tone hang together: the colour is chosen again
    // under the shadow its choice brings, until the two agree; where they never do, the
    // choice whose title reads better on the picture stands.
    std::vector<ColourTable> tried;
    for (int round = 0; round < 3; ++round) {
        const QString shadowBefore = table.at(Row::Shadow);
        chooseBareTexts();
        tried.push_back(table);
        if (table.at(Row::Shadow) == shadowBefore)
            break;
    }
    if (tried.size() == 3) {
        double best = -1;
        for (const ColourTable &t : tried) {
            const double f = figureOf(measure.both(t), Role::TitleText, SceneKind::Picture);
            if (f > best) {
                best = f;
                table = t;
            }
        }
    }
    // Then the gradient, the skin's own, so that they read well on it too, under the
    // title's shadow as it will be; then the panels let through as much of the picture as
    // their texts allow.
    chooseGradient(table, measure, look, gradientTints);
    chooseOpacities(table, measure);
    mendPanelTexts(table, measure);
    // Last the title's shadow, of the tone across from the title's, to lift it.
    shadowAcross();
    return table;
}
