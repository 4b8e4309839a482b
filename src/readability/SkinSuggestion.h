#pragma once

#include "skin/ColourTable.h"

#include <QStringList>

class BackgroundPicture;
class SceneRenderer;

// Skins made from the colours of a picture, in four looks (light, dark, vivid, muted):
// the picture's colours found by the quantiser, the items given the look's lightness and
// chroma in their hues, and then, in turn, the texts that lie on the bare background
// given a colour for the picture, the gradient one on which every text reads well, each
// panel and bar the least opacity at which its texts read well on the picture, the parts
// a viewer must tell apart set apart in lightness for every kind of colour vision, and
// the title a shadow of the other tone. The picture comes first: every text reads well on
// it wherever some colour does, and on the skin's own gradient always. A light or muted
// look's gradient keeps light and a dark look's dark where the bare texts let it, and
// leaves its tone only as far as a text in a colour that reads on the picture needs. A picture with
// no colour gives grey looks.

inline constexpr int SuggestionCount = 4;

// A whole skin for `picture` as the picture scene shows it, in the look of `variant` (1 to
// SuggestionCount). The same picture always gives the same skin. Throws Error when the
// picture cannot be read. With `shortfalls`, what to know of the skin, measured with the
// scenes the suggestion drew last (see suggestionShortfalls).
ColourTable suggestSkin(BackgroundPicture &picture, int variant, QStringList *shortfalls = nullptr);

// What to know of `skin`, as suggestSkin made it from `picture` in the look of `variant`:
// first each end of a light, dark or muted look's gradient that left the look's tone, and for
// which text ("the light look's gradient is darker at the top (lightness 0.52; 0.75 or
// more keeps the look), so that \"Title Color\" (TitleColor), in a colour that reads on
// the picture, reads on it too"); then each text that does not read well, once per item,
// and why in words ("\"Title Color\" (TitleColor) reads 2.1:1 on the picture (4.5:1
// wanted): no colour reads better than 2.1:1 there").
// The scenes are drawn by `renderer`.
QStringList suggestionShortfalls(const ColourTable &skin, BackgroundPicture &picture, int variant,
                                 SceneRenderer &renderer);
