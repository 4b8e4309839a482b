#include "readability/SuggestionSteps.h"

#include "readability/LeastReaching.h"

#include "skin/SkinItems.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <tuple>
#include <utility>

namespace suggestion {

namespace {

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
        // A pair closer than both the farthest yet and the aim settles it: no better, and
        // not apart.
        const double stopBelow = std::min(farthest, ApartAim);
        double least = -1;
        if (mustRead.empty())
            least = leastApart(measure.parts(table, pairs, stopBelow));
        else if (worstFigure(measure.both(table, mustRead), mustRead) >= Aim)
            least = leastApart(measure.lastParts(pairs, stopBelow));
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

} // namespace

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
            setOpacity(table, Row::MenuBgColour, percentOpacity(step));
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

} // namespace suggestion
