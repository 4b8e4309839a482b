#pragma once

// A screen reader is told the colour box's colour as its value and description: the
// code and, for a translucent item, the opacity, as the editor puts them in words.
void installColourBoxAccessibility();
