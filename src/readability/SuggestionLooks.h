#pragma once

// The four looks a suggestion can take, and the colours of a picture it is made from.

#include "readability/SkinSuggestion.h"

#include "colour/OkLab.h"

#include <array>

class QImage;

class BackgroundPicture;

// What a look makes of the picture's colours: the OKLCH lightness of each part of the
// skin and the most chroma it keeps of the picture's. A vivid look gives its panels and
// bars the chroma of the picture's most colourful colour instead.
struct Look
{
    double top, bottom, gradientChroma;
    double panel, popup, panelChroma;
    double bar, barChroma, outline;
    double text, barText, textChroma;
    bool vivid;
    double mostChroma;                          // of any item, rounding to whole bytes included
    int panelOpacity, popupOpacity, barOpacity; // before the least that reads is found
    // The lightness the gradient keeps to where the bare texts let it (see LightLeast,
    // DarkMost and MutedLeast), 0 where the look has none: the picture comes first, and
    // where a text that reads on it needs a gradient of the other tone, the gradient
    // leaves the look's tone as little as will do.
    double toneBound = 0;
};

// The lightness a light look's gradient keeps to (OKLab, at least), a dark one's (at
// most), and a muted one's (at least: its soft mid-light tones).
inline constexpr double LightLeast = 0.75;
inline constexpr double DarkMost = 0.35;
inline constexpr double MutedLeast = 0.6;

// Below this chroma (OKLCH), the picture's most colourful pixels (see showsNoColour)
// show no colour, and no look of it invents one.
inline constexpr double GreyPicture = 0.012;

inline constexpr std::array<Look, SuggestionCount> Looks = {{
    // light: a pale gradient, near-white panels, dark texts
    {.top = 0.95,
     .bottom = 0.86,
     .gradientChroma = 0.10,
     .panel = 0.98,
     .popup = 0.95,
     .panelChroma = 0.05,
     .bar = 0.82,
     .barChroma = 0.14,
     .outline = 0.58,
     .text = 0.22,
     .barText = 0.2,
     .textChroma = 0.06,
     .vivid = false,
     .mostChroma = 1.0,
     .panelOpacity = 0x99,
     .popupOpacity = 0xCC,
     .barOpacity = 0x99,
     .toneBound = LightLeast},
    // dark: a deep gradient, dark panels, light texts
    {.top = 0.30,
     .bottom = 0.16,
     .gradientChroma = 0.06,
     .panel = 0.13,
     .popup = 0.17,
     .panelChroma = 0.03,
     .bar = 0.40,
     .barChroma = 0.09,
     .outline = 0.70,
     .text = 0.95,
     .barText = 0.96,
     .textChroma = 0.02,
     .vivid = false,
     .mostChroma = 1.0,
     .panelOpacity = 0x99,
     .popupOpacity = 0xCC,
     .barOpacity = 0xB2,
     .toneBound = DarkMost},
    // vivid: the picture's strongest colours in the panels and bright bars
    {.top = 0.44,
     .bottom = 0.27,
     .gradientChroma = 0.2,
     .panel = 0.32,
     .popup = 0.36,
     .panelChroma = 0,
     .bar = 0.74,
     .barChroma = 0,
     .outline = 0.86,
     .text = 0.97,
     .barText = 0.16,
     .textChroma = 0.04,
     .vivid = true,
     .mostChroma = 1.0,
     .panelOpacity = 0xB2,
     .popupOpacity = 0xD9,
     .barOpacity = 0xE5},
    // muted: greyed, softer than light, its bars slate under light texts so that it is
    // no paler copy of the light look
    {.top = 0.80,
     .bottom = 0.68,
     .gradientChroma = 0.03,
     .panel = 0.89,
     .popup = 0.91,
     .panelChroma = 0.03,
     .bar = 0.42,
     .barChroma = 0.04,
     .outline = 0.45,
     .text = 0.27,
     .barText = 0.96,
     .textChroma = 0.03,
     .vivid = false,
     .mostChroma = 0.036,
     .panelOpacity = 0xA6,
     .popupOpacity = 0xD9,
     .barOpacity = 0xCC,
     .toneBound = MutedLeast},
}};

// The picture's colours a skin is made of: the two that cover most, and two accents; and
// whether it has any colour at all.
struct Palette
{
    OkLch dominant, second, first, other;
    bool grey = false;
};

// The look of `variant` (1 to SuggestionCount) for a picture of `palette`. On a grey
// picture every look is grey, and the vivid one, which has no colours to take, takes the
// most contrast instead: deep panels, bright bars.
Look lookFor(int variant, const Palette &palette);

// Whether the most colourful pixels of `picture` show no colour: its 99th percentile of
// OKLCH chroma is below GreyPicture, so that a few stray pixels of a grey photograph, as
// JPEG leaves them, do not count.
bool showsNoColour(const QImage &picture);

// Found by the quantiser in `background` as the picture scene shows it.
Palette paletteOf(BackgroundPicture &background);

// The colours of `tint`'s hue and chroma at OKLab lightness 0, 0.001, ... 1, as near as sRGB
// has them: found once for each of the last few tints, which a search asks after again.
const std::array<QRgb, 1001> &tonesOf(const OkLch &tint);
