#include "readability/SuggestionSteps.h"

#include "readability/LeastReaching.h"

#include <algorithm>
#include <span>
#include <vector>

// The panels' and bars' opacities of a suggestion: as little as lets their texts read,
// and where the picture beneath them is busy, as much more as calms it.

namespace suggestion {

namespace {

// Searches the opacities of `rows` side by side, one drawing for all: each search's steps
// count from its row's `from`, and `figure` tells how the row's texts fare at one.
template <typename Figure>
void searchOpacities(ColourTable &table, Measure &measure, const std::vector<int> &rows,
                     const std::vector<int> &from, std::vector<LeastReaching> &searches,
                     std::span<const Role> texts, Figure figure)
{
    while (std::any_of(searches.begin(), searches.end(),
                       [](const LeastReaching &l) { return !l.done(); })) {
        for (size_t i = 0; i < rows.size(); ++i) {
            if (!searches[i].done())
                setOpacity(table, rows[i], percentOpacity(from[i] + searches[i].asked()));
        }
        const Readability readability = measure.both(table, texts);
        for (size_t i = 0; i < rows.size(); ++i) {
            if (!searches[i].done())
                searches[i].tell(figure(readability, rows[i]));
        }
    }
}

// How busy the background of the busiest text on the panel or bar of `row` is.
double busiestOn(const Readability &readability, int row)
{
    const std::vector<Role> texts = textsOn(row);
    double busiest = 0;
    for (const TextReading &r : readability.readings()) {
        if (std::find(texts.begin(), texts.end(), r.role) != texts.end())
            busiest = std::max(busiest, r.busy);
    }
    return busiest;
}

} // namespace

// Each panel and bar at the least opacity, in whole percent, at which its texts read well
// in both scenes: the panels first, as the bars and the pop-up lie over them; then those,
// which lie apart, searched side by side. Where the picture beneath a panel's texts is
// busy, the panel rises further, to the least opacity that also calms it, if any does.
void chooseOpacities(ColourTable &table, Measure &measure)
{
    constexpr int Steps = 100 - LeastPercent;
    for (const std::vector<int> &rows :
         {std::vector<int>{Row::RectBg},
          std::vector<int>{Row::ChangeColour, Row::SelectColour, Row::MenuBgColour}}) {
        std::vector<Role> texts;
        for (int row : rows)
            for (Role text : textsOn(row))
                texts.push_back(text);
        std::vector<LeastReaching> reading(rows.size(), LeastReaching(Steps, Aim));
        searchOpacities(table, measure, rows, std::vector<int>(rows.size(), 0), reading, texts,
                        [](const Readability &r, int row) { return worstFigure(r, textsOn(row)); });
        std::vector<int> busy, least;
        for (size_t i = 0; i < rows.size(); ++i)
            setOpacity(table, rows[i], percentOpacity(reading[i].result()));
        const Readability read = measure.both(table, texts);
        for (size_t i = 0; i < rows.size(); ++i) {
            if (busiestOn(read, rows[i]) >= BusyBackground) {
                busy.push_back(rows[i]);
                least.push_back(reading[i].result());
            }
        }
        if (busy.empty())
            continue;
        std::vector<LeastReaching> calming;
        for (int from : least)
            calming.emplace_back(Steps - from, -BusyBackground);
        searchOpacities(table, measure, busy, least, calming, texts,
                        [](const Readability &r, int row) {
                            return worstFigure(r, textsOn(row)) >= Aim ? -busiestOn(r, row) : -1.0;
                        });
        for (size_t i = 0; i < busy.size(); ++i)
            setOpacity(table, busy[i], percentOpacity(least[i] + calming[i].result()));
        // Where not even an opaque panel calms it, what lies on the panel is busy itself:
        // the panel keeps the least opacity that reads.
        const Readability calmed = measure.both(table, texts);
        for (size_t i = 0; i < busy.size(); ++i) {
            if (busiestOn(calmed, busy[i]) >= BusyBackground)
                setOpacity(table, busy[i], percentOpacity(least[i]));
        }
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

// Last, where setting the parts apart left a panel or bar over a busy picture (a pop-up
// let through again, a bar moved to a darker tone), it rises to the least opacity that
// calms what lies beneath its texts, while they read and the parts stay as far apart.
void calmPanels(ColourTable &table, Measure &measure)
{
    constexpr int Steps = 100 - LeastPercent;
    const std::vector<int> rows{Row::RectBg, Row::MenuBgColour, Row::ChangeColour,
                                Row::SelectColour};
    std::vector<Role> texts;
    for (int row : rows)
        for (Role text : textsOn(row))
            texts.push_back(text);
    const auto leastApart = [&](const ColourTable &skin) {
        double least = 100;
        for (const PartsCompared &p : measure.parts(skin, PartsToTellApart))
            least = std::min(least, p.difference);
        return least;
    };
    for (int row : rows) {
        if (busiestOn(measure.both(table, texts), row) < BusyBackground)
            continue;
        int from = 0;
        while (from < Steps && percentOpacity(from) < opacityOf(table.at(row)))
            ++from;
        const ColourTable before = table;
        const double apart = std::min(leastApart(table), TellsApart);
        std::vector<LeastReaching> calming{LeastReaching(Steps - from, -BusyBackground)};
        searchOpacities(table, measure, {row}, {from}, calming, texts,
                        [](const Readability &r, int at) {
                            return worstFigure(r, textsOn(at)) >= Aim ? -busiestOn(r, at) : -1.0;
                        });
        setOpacity(table, row, percentOpacity(from + calming[0].result()));
        if (busiestOn(measure.both(table, texts), row) >= BusyBackground ||
            leastApart(table) < apart)
            table = before;
    }
}

} // namespace suggestion
