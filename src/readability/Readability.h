#pragma once

#include "scene/SceneLayout.h"

#include "colour/Vision.h"

#include <QImage>
#include <QList>
#include <QRect>
#include <QRgb>

#include <optional>
#include <span>
#include <vector>

class BackgroundPicture;
class ColourTable;
class SceneRenderer;

// A text reads well at this contrast ratio or more (WCAG 2.x, level AA).
inline constexpr double ReadsWell = 4.5;
// The share of a text's background that may read worse than its figure: a worst case
// that stray pixels do not decide, but that half a box of the text's own colour does.
inline constexpr double IgnoredShare = 0.05;

// A text's background this busy slows reading, a hindrance its contrast figure does not
// show: the RMS contrast (standard deviation over mean) of the background's luminance, as
// Scharff and Ahumada measure a background's texture. In their study of text over
// textures (Predicting the readability of transparent text, Journal of Vision, 2002; ARVO
// 2001) both textures, of RMS contrast 0.27 and 0.15, slowed the search for words against a
// plain background; the lower is taken as the mark. Their texts were of low contrast (0.3
// and 0.45), where a texture hurts most.
inline constexpr double BusyBackground = 0.15;

// One text of a scene and how well it reads there. A text element whose words stand
// apart, as the two section labels do, is one text per group of words.
struct TextReading
{
    Role role;
    SceneKind scene;
    int row;          // the colour item of the text
    QRgb colour;      // the text's colour
    QRect box;        // the bounding box of its glyph pixels
    double contrast;  // the text's figure: its contrast with the background, 5th percentile
    double best = 21; // the figure that the best colour of any hue would reach there
    int part = 0;     // which group of words of the element, from the left
    double busy = 0;  // the RMS contrast of its background, but for the title's shadow
    bool shadowAcross = false; // the title's shadow takes the tone opposite the title's

    bool readsWell() const { return contrast >= ReadsWell; }
    bool overBusy() const { return busy >= BusyBackground; }
};

// What the texts of a renderer's scenes read like over what the scenes show, as they were
// drawn last. A text's glyph pixels are those that change when it alone is drawn in
// another colour; its background is every other pixel of their bounding box, as shown:
// the gradient or picture with the panels blended over it, and where they lie, other
// texts, outlines and the title's shadow. Every text is measured but the title's shadow,
// which is meant to sink in.
class Readability
{
public:
    enum class Scenes
    {
        ColourOnly,
        Both,
    };
    // Measured as a viewer with `vision` sees the scenes, when it is not normal: the
    // texts' and the pixels' colours simulated alike.
    Readability(const SceneRenderer &renderer, Scenes scenes, Vision vision = Vision::Normal,
                double severity = DefaultSeverity);
    // Only the texts of `roles`, as a normal viewer sees them: for a search that asks
    // after a few texts many times.
    Readability(const SceneRenderer &renderer, Scenes scenes, std::span<const Role> roles);

    const QList<TextReading> &readings() const { return m_readings; }
    // The texts below the mark, in the order of the layout.
    QList<TextReading> hardToRead() const;
    // The reading of `role` in `scene`, if measured; of an element of several texts, the
    // one that reads worst.
    const TextReading *reading(Role role, SceneKind scene) const;

    // The colour nearest `current` that makes every text of item `row` read well: the
    // same hue, as much of its chroma as sRGB allows, the lightness moved as little as
    // will do in OKLCH. Nothing when no lightness will do.
    // With `scene`, the texts of that scene alone.
    std::optional<QRgb> readableColour(int row, QRgb current,
                                       std::optional<SceneKind> scene = {}) const;
    // Of the colours of `current`'s hue, the one whose hardest text of item `row` reads
    // best: for a text that no colour makes read well.
    QRgb mostReadableColour(int row, QRgb current) const;
    // Of the colours of `current`'s hue with which every text of item `row` reads well in
    // `kept`, the one whose hardest text elsewhere reads best, the nearest `current` in
    // lightness among equals: for a text no colour of its hue makes read well in both
    // scenes. Nothing when none reads well in `kept`.
    std::optional<QRgb> mostReadableKeeping(int row, QRgb current, SceneKind kept) const;
    // Why no colour of `current`'s hue makes every text of item `row` read well, and what
    // is left to do: the two scenes at odds, or no colour at all reading well there, or
    // only no colour of that hue. For an item that readableColour finds nothing for.
    QString whatIsLeft(int row, QRgb current) const;

    // The figure the text of readings()[index] would have in `colour` over the same
    // background: for trying colours without drawing the scene again.
    double figureIn(qsizetype index, QRgb colour) const;

    // The 5th-percentile contrast of a text of luminance `ink` over the background.
    static double figure(const std::vector<double> &sortedBackground, double ink);
    // The highest figure any ink reaches over the background.
    static double bestFigure(const std::vector<double> &sortedBackground);

private:
    void measure(const SceneRenderer &renderer, Scenes scenes, Vision vision, double severity,
                 std::span<const Role> roles);
    bool readsWell(int row, QRgb colour, std::optional<SceneKind> scene = {}) const;
    double lowestFigure(int row, QRgb colour, std::optional<SceneKind> scene = {}) const;

    QList<TextReading> m_readings;
    std::vector<std::vector<double>> m_backgrounds; // per reading, luminances, sorted
};

// The relative luminances of the pixels of an RGB32 image within `box`, in order.
std::vector<double> sortedLuminances(const QImage &image, QRect box);

// Of `readings`, the hardest of each item, or of each item in each scene with
// `ItemsRead::PerScene`, in the order they first come: an item reads as its hardest text.
enum class ItemsRead
{
    Whole,
    PerScene,
};
QList<TextReading> hardestOfEach(const QList<TextReading> &readings,
                                 ItemsRead items = ItemsRead::Whole);

// Of `readings`, those over a busy background, the busiest of each item in each scene,
// in the order they first come.
QList<TextReading> busiestOfEach(const QList<TextReading> &readings);

// A text item given a readable colour, or found to have none.
struct TextFix
{
    int row;
    QString from;      // its code
    QString to;        // its new code; empty when no colour of its hue helps
    TextReading worst; // its hardest-to-read text before
    int panelRow;      // the panel whose opacity would help where no colour does, or -1
    // Whether its texts read well everywhere in the new colour; else they read well on
    // the gradient alone, and on the picture as well as their hue allows.
    bool readsEverywhere;
};

// Gives each item with a text that does not read well in the scenes `renderer` drew from
// `table` its readable colour (see readableColour), keeping the code's opacity digits.
// Where no colour of its hue reads well in both scenes, the gradient, the skin's own,
// wins: the item takes the colour of its hue that reads well there and best on the
// picture (see mostReadableKeeping). The changes, in the order of the skin file; an item
// that no colour of its hue mends on the gradient keeps its code.
QList<TextFix> mendTexts(const SceneRenderer &renderer, ColourTable &table,
                         Readability::Scenes scenes);

// The fill item of the topmost panel or bar beneath a text, whose opacity decides what
// shows through; -1 when the text lies on the bare background.
int panelBeneath(Role text);

// What an opacity is enough for: the texts on the panel read well, or also the picture
// beneath them is calm where some opacity calms it (see TextReading::overBusy).
enum class PanelAim
{
    Reading,
    ReadingCalmly,
};

// The lowest whole percent of opacity, as the editor offers it, at which every text whose
// panel (see panelBeneath) is item `panelRow` reads well in `scenes` of `colours` drawn
// over `picture` in `mode`; nothing when not even 100 does. With `byHue`, a text that a
// colour of its hue would make read well (see readableColour) counts as reading well.
// Only opacities from `fromPercent` up are tried: a mending that raises never lowers.
// Aiming also at calm, the lowest at which they also lie over a calm picture, where any
// does; else the lowest at which they read.
std::optional<int> opaqueEnough(const ColourTable &colours, BackgroundPicture &picture,
                                TextMode mode, int panelRow, Readability::Scenes scenes,
                                bool byHue = false, int fromPercent = 0,
                                PanelAim aim = PanelAim::Reading);

// What is left where no colour reads well at `text`: "raise "Menu BG"'s opacity", "change
// the gradient", "the text lies on the bare picture".
QString leverWords(Role text, SceneKind scene);

// Whether a colour is light: a text of it reads better on dark than on light.
bool isLight(QRgb colour);

// The RMS contrast of luminances: their standard deviation over their mean; 0 for none
// or for black alone.
double rmsContrast(const std::vector<double> &luminances);
// "busy background on the picture (RMS contrast 0.31; 0.15 slows reading): raise "Menu
// BG"'s opacity": what calms it, the panel beneath, the title's shadow while it does not
// yet stand opposite the title, or nothing but the picture itself.
QString busyWords(const TextReading &reading);

// "1A2B3C": a colour's red, green and blue as a code writes them.
QString hexColour(QRgb colour);

// "2.4:1": one decimal, rounded down, so that a figure shown as 4.5 reads well.
QString contrastText(double contrast);
// "on the gradient", "on the picture".
QString sceneWords(SceneKind scene);
