#pragma once

#include "skin/ColourTable.h"

class BackgroundPicture;

// Skins made from the colours of a picture, each of them reading well on it: the
// picture's colours found by the quantiser, the items given colours by fixed rules, and
// every text then given a readable colour of its hue.

inline constexpr int SuggestionCount = 4;

// A whole skin for `picture` as the picture scene shows it, in the look of `variant` (1 to
// SuggestionCount). The same picture always gives the same skin. Throws Error when the
// picture cannot be read.
ColourTable suggestSkin(BackgroundPicture &picture, int variant);
