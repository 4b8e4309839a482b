#pragma once

#include "skin/ColourTable.h"

#include <QImage>
#include <QString>

// Skins made from the colours of a picture, each of them reading well on it: the
// picture's colours found by the quantiser, the items given colours by fixed rules, and
// every text then given a readable colour of its hue.

inline constexpr int SuggestionCount = 4;

// "light", "dark", "vivid", "muted": suggestion `variant` (1 to SuggestionCount).
QString suggestionName(int variant);

// A whole skin for the picture the picture scene shows `picture` as, in the look of
// `variant` (1 to SuggestionCount). The same picture always gives the same skin.
ColourTable suggestSkin(const QImage &picture, int variant);
