#pragma once

#include "scene/SceneLayout.h"

#include <QImage>
#include <QList>
#include <QRect>
#include <QRgb>

#include <optional>
#include <vector>

class ColourTable;
class SceneRenderer;

// A text reads well at this contrast ratio or more (WCAG 2.x, level AA).
inline constexpr double ReadsWell = 4.5;
// The share of a text's background that may read worse than its figure: a worst case
// that stray pixels do not decide, but that half a box of the text's own colour does.
inline constexpr double IgnoredShare = 0.05;

// One text of a scene and how well it reads there.
struct TextReading
{
    Role role;
    SceneKind scene;
    int row;         // the colour item of the text
    QRgb colour;     // the text's colour
    QRect box;       // the pixels under the text, measured
    double contrast; // the text's figure: its contrast with the background, 5th percentile

    bool readsWell() const { return contrast >= ReadsWell; }
};

// What the texts of a renderer's scenes read like over what the scenes show beneath
// them: the gradient or picture with the panels blended over it, pixel by pixel, as they
// were drawn last. Every text but the title's shadow, which is meant to sink in.
class Readability
{
public:
    enum class Scenes
    {
        ColourOnly,
        Both,
    };
    Readability(const SceneRenderer &renderer, Scenes scenes);

    const QList<TextReading> &readings() const { return m_readings; }
    // The texts below the mark, in the order of the layout.
    QList<TextReading> hardToRead() const;
    // The reading of `role` in `scene`, if measured.
    const TextReading *reading(Role role, SceneKind scene) const;

    // The colour nearest `current` that makes every text of item `row` read well: the
    // same hue, as much of its chroma as sRGB allows, the lightness moved as little as
    // will do in OKLCH. Nothing when no lightness will do.
    std::optional<QRgb> readableColour(int row, QRgb current) const;
    // Of the colours of `current`'s hue, the one whose hardest text of item `row` reads
    // best: for a text that no colour makes read well.
    QRgb mostReadableColour(int row, QRgb current) const;

    // The figure the text of readings()[index] would have in `colour` over the same
    // background: for trying colours without drawing the scene again.
    double figureIn(qsizetype index, QRgb colour) const;

private:
    // The 5th-percentile contrast of a text of luminance `ink` over the background.
    static double figure(const std::vector<double> &sortedBackground, double ink);
    bool readsWell(int row, QRgb colour) const;
    double lowestFigure(int row, QRgb colour) const;

    QList<TextReading> m_readings;
    std::vector<std::vector<double>> m_backgrounds; // per reading, luminances, sorted
};

// The relative luminances of the pixels of an RGB32 image within `box`, in order.
std::vector<double> sortedLuminances(const QImage &image, QRect box);

// A text item given a readable colour, or found to have none.
struct TextFix
{
    int row;
    QString from;      // its code
    QString to;        // its new code; empty when no colour of its hue reads well
    TextReading worst; // its hardest-to-read text before
    int panelRow;      // the panel whose opacity would help where no colour does, or -1
};

// Gives each item with a text that does not read well in the scenes `renderer` drew from
// `table` its readable colour (see readableColour), keeping the code's opacity digits.
// The changes, in the order of the skin file; an item that no colour of its hue mends
// keeps its code.
QList<TextFix> mendTexts(const SceneRenderer &renderer, ColourTable &table,
                         Readability::Scenes scenes);

// The fill item of the topmost panel or bar beneath a text, whose opacity decides what
// shows through; -1 when the text lies on the bare background.
int panelBeneath(Role text);

// "1A2B3C": a colour's red, green and blue as a code writes them.
QString hexColour(QRgb colour);

// "2.4:1": one decimal, rounded down, so that a figure shown as 4.5 reads well.
QString contrastText(double contrast);
// "on the gradient", "on the picture".
QString sceneWords(SceneKind scene);
