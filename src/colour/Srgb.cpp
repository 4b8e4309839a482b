#include "colour/Srgb.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

double decode(double v)
{
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

const std::array<double, 256> &linearTable()
{
    static const auto table = [] {
        std::array<double, 256> t{};
        for (size_t i = 0; i < t.size(); ++i)
            t[i] = decode(double(i) / 255.0);
        return t;
    }();
    return table;
}

// The light at which each channel value gives way to the next: halfway between them in
// the encoded scale, so that the search below rounds as encoding and rounding would.
const std::array<double, 255> &boundaries()
{
    static const auto table = [] {
        std::array<double, 255> t{};
        for (size_t i = 0; i < t.size(); ++i)
            t[i] = decode((double(i) + 0.5) / 255.0);
        return t;
    }();
    return table;
}

} // namespace

double linearChannel(int value)
{
    return linearTable()[size_t(std::clamp(value, 0, 255))];
}

int encodeChannel(double linear)
{
    const auto &b = boundaries();
    return int(std::upper_bound(b.begin(), b.end(), linear) - b.begin());
}

double channelBoundary(int value)
{
    return boundaries()[size_t(std::clamp(value, 0, 254))];
}

double relativeLuminance(QRgb colour)
{
    const auto &t = linearTable();
    return 0.2126 * t[size_t(qRed(colour))] + 0.7152 * t[size_t(qGreen(colour))] +
           0.0722 * t[size_t(qBlue(colour))];
}

double contrastRatio(double luminance1, double luminance2)
{
    return (std::max(luminance1, luminance2) + 0.05) / (std::min(luminance1, luminance2) + 0.05);
}
