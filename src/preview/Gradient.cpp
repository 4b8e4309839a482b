#include "preview/Gradient.h"

#include "preview/DrawingArea.h"

#include "platform/Numeric.h"

#include <algorithm>

ColorParts SplitColor(DisplayColor c)
{
    ColorParts parts{};
    parts.Blue = c / 65536;
    parts.Green = (c - parts.Blue * 65536) / 256;
    parts.Red = c - parts.Blue * 65536 - parts.Green * 256;
    return parts;
}

void Gradient(DrawingArea *UserControl, DisplayColor StartColor, DisplayColor EndColor)
{
    const ColorParts s = SplitColor(StartColor);
    const ColorParts e = SplitColor(EndColor);
    const double scaleHeight = UserControl->scaleHeight();
    const auto h = roundHalfEven(scaleHeight);
    // The order of operations decides the last bit: difference, then divided by the
    // height, then times the row, then the start added.
    const auto channel = [&](std::int32_t from, std::int32_t to, std::int64_t y) {
        return static_cast<int>(
            roundHalfEven((to - from) / scaleHeight * static_cast<double>(y) + from));
    };
    QImage &image = UserControl->beginDrawing();
    for (std::int64_t y = 0; y <= h; ++y) {
        if (y >= image.height())
            break; // the row just below the area is clipped away
        const QRgb color = qRgb(channel(s.Red, e.Red, y), channel(s.Green, e.Green, y),
                                channel(s.Blue, e.Blue, y));
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(static_cast<int>(y)));
        std::fill(line, line + image.width(), color);
    }
    UserControl->endDrawing();
}
