#pragma once

#include "readability/Readability.h"

#include "scene/SceneLayout.h"

#include "colour/Vision.h"

#include <QList>
#include <QString>

#include <array>
#include <optional>
#include <span>
#include <tuple>
#include <vector>

class SceneRenderer;

// Two parts side by side that differ by less than this CIEDE2000 difference look alike.
inline constexpr double TellsApart = 10.0;

// Parts of the mock-up a viewer must tell apart at a glance: the selection bar and the
// change-to bar, the list text and the not-supported text, the pop-up's selected text
// and each of its other texts.
inline constexpr std::array<std::array<Role, 2>, 5> PartsToTellApart{{
    {Role::LeftSelectionBar, Role::ChangeBar},
    {Role::PopupFirstRow, Role::PopupUnsupportedRow},
    {Role::PopupSelectedRow, Role::PopupTitle},
    {Role::PopupSelectedRow, Role::PopupFirstRow},
    {Role::PopupSelectedRow, Role::PopupUnsupportedRow},
}};

// Two parts and how far apart they look to one viewer.
struct PartsCompared
{
    Vision vision;
    double severity; // of an anomalous vision
    Role first;
    Role second;
    int firstRow; // the colour items: a bar's fill, a text's colour
    int secondRow;
    SceneKind scene;   // where they differ least
    double difference; // CIEDE2000 between their median colours as drawn and as seen

    bool looksAlike() const { return difference < TellsApart; }
};

// The colours of parts under each vision, kept by their pixels: a search that draws a skin
// again with one colour changed finds most parts' pixels as they were, and need not see
// them again. Only the last few parts are kept.
class PartsSeen
{
public:
    // The colour of the part of `pixels` (an RGB32 line) as `vision` at `severity` sees
    // it, if known.
    std::optional<QRgb> find(const QImage &pixels, Vision vision, double severity) const;
    void keep(const QImage &pixels, Vision vision, double severity, QRgb colour);
    // The glyphs of the text of `role` drawn alone within `box`, if kept: they do not change
    // with the colours.
    std::optional<QImage> ink(Role role, const QString &text, QRect box) const;
    void keepInk(Role role, const QString &text, QRect box, const QImage &ink);

private:
    struct Part
    {
        QImage pixels;
        double severity;
        std::array<std::optional<QRgb>, std::size(Visions)> colours;
    };
    qsizetype indexOf(const QImage &pixels, double severity) const;

    std::vector<Part> m_parts;
    std::vector<std::tuple<Role, QString, QRect, QImage>> m_inks;
    size_t m_next = 0; // the one to give way next, once full
};

// Every pair of PartsToTellApart under each of `visions`, in that order, from the
// scenes `renderer` drew last. A part's colour is the median, channel by
// channel, of its pixels as drawn: a bar's in the scene image, a text's where its glyphs
// cover a pixel wholly (or as nearly as they cover any), with everything over them. A
// pair with a text that shows no glyph is left out. Only `pairs` of them, when a search
// needs no others; and with `below`, only until a pair differs by less than it, the
// hardest visions first, for a search that needs to know no more than that. With `seen`,
// parts seen before are not seen again.
QList<PartsCompared> compareParts(const SceneRenderer &renderer, Readability::Scenes scenes,
                                  std::span<const Vision> visions = Visions,
                                  double severity = DefaultSeverity,
                                  std::span<const std::array<Role, 2>> pairs = PartsToTellApart,
                                  double below = -1, PartsSeen *seen = nullptr);

// The median of a line of RGB32 pixels, channel by channel: of an even count, the upper
// of the two middle values.
QRgb medianColour(const QImage &line);

// With deuteranopia, "Select Item Color" (SelectColor) and "Change To Item Color"
// (ChangeColor) differ by ΔE00 3.1 on the picture (10 wanted): they look alike
QString lookAlikeText(const PartsCompared &parts);
