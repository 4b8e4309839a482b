#pragma once

#include "platform/DisplayColour.h"

class QImage;

// Fills `image` with a vertical blend from `top` on the first row towards `bottom`, one
// row at a time. The rows are interpolated over the full height, so the last row stops
// one step short of `bottom`.
void drawGradient(QImage &image, DisplayColour top, DisplayColour bottom);
