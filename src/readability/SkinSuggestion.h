#pragma once

#include "skin/ColourTable.h"

#include <QStringList>

class BackgroundPicture;

// Skins made from the colours of a picture, in four looks (light, dark, vivid, muted):
// the picture's colours found by the quantiser, the items given the look's lightness and
// chroma in their hues, and then, in turn, the texts that lie on the bare background
// given a colour for the picture, the gradient one on which every text reads well, each
// panel and bar the least opacity at which its texts read well on the picture, the parts
// a viewer must tell apart set apart in lightness for every kind of colour vision, and
// the title a shadow of the other tone. A light look's gradient stays light and a dark
// look's dark; their bare texts give way to it.

inline constexpr int SuggestionCount = 4;

// A whole skin for `picture` as the picture scene shows it, in the look of `variant` (1 to
// SuggestionCount). The same picture always gives the same skin. Throws Error when the
// picture cannot be read.
ColourTable suggestSkin(BackgroundPicture &picture, int variant);

// Each text of `skin`, as suggestSkin made it from `picture` in the look of `variant`,
// that does not read well, once per item, and why in words: "\"Title Color\" (TitleColor)
// reads 2.1:1 on the picture (4.5:1 wanted): the light look's gradient and the picture
// want opposite tones; try another --variant".
QStringList suggestionShortfalls(const ColourTable &skin, BackgroundPicture &picture, int variant);
