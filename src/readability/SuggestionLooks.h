#pragma once

// The four looks a suggestion can take, and the colours of a picture it is made from.

#include "readability/SkinSuggestion.h"

#include "colour/OkLab.h"

#include <array>

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
    // Whether the gradient keeps the look's tone whatever the picture asks of the bare
    // texts: a light look's stays light, a dark one's dark, and the texts give way.
    bool keepsTone = false;
};

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
     .keepsTone = true},
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
     .keepsTone = true},
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
    // muted: greyed, softer than light
    {.top = 0.80,
     .bottom = 0.68,
     .gradientChroma = 0.03,
     .panel = 0.89,
     .popup = 0.91,
     .panelChroma = 0.03,
     .bar = 0.66,
     .barChroma = 0.04,
     .outline = 0.45,
     .text = 0.27,
     .barText = 0.1,
     .textChroma = 0.03,
     .vivid = false,
     .mostChroma = 0.036,
     .panelOpacity = 0xA6,
     .popupOpacity = 0xD9,
     .barOpacity = 0xCC},
}};

// The picture's colours a skin is made of: the two that cover most, and two accents.
struct Palette
{
    OkLch dominant, second, first, other;
};

// Found by the quantiser in `background` as the picture scene shows it.
Palette paletteOf(BackgroundPicture &background);
