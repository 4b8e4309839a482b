#include "scene/Gradient.h"

#include "platform/Numeric.h"

#include <QImage>

#include <algorithm>

void drawGradient(QImage &image, DisplayColour top, DisplayColour bottom)
{
    const Rgb s = rgbOf(top);
    const Rgb e = rgbOf(bottom);
    const double height = image.height();
    // The order of operations decides the last bit: difference, then divided by the
    // height, then times the row, then the start added.
    const auto channel = [&](int from, int to, int y) {
        return static_cast<int>(roundHalfEven((to - from) / height * y + from));
    };
    for (int y = 0; y < image.height(); ++y) {
        const QRgb colour = qRgb(channel(s.red, e.red, y), channel(s.green, e.green, y),
                                 channel(s.blue, e.blue, y));
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        std::fill(line, line + image.width(), colour);
    }
}
