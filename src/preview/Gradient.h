#pragma once

#include "platform/DisplayColor.h"

#include <cstdint>

class DrawingArea;

struct ColorParts
{
    std::int32_t Red;
    std::int32_t Green;
    std::int32_t Blue;
};

ColorParts SplitColor(DisplayColor c);

// Fills the area's scene image with a vertical blend from StartColor on the top row
// towards EndColor, one row at a time. The rows are interpolated over the full height,
// so the bottom row stops one step short of EndColor.
void Gradient(DrawingArea *UserControl, DisplayColor StartColor, DisplayColor EndColor);
