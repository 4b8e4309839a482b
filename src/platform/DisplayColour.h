#pragma once

#include <cstdint>

// A display colour is red + green * 256 + blue * 65536: red in the low byte, the form
// skins and the drawing code speak. These two helpers are the only place that packs and
// splits one; QtColour.h is where one meets Qt's colours, which keep red in bits 16-23.
using DisplayColour = std::int32_t;

struct Rgb
{
    int red;
    int green;
    int blue;

    friend bool operator==(const Rgb &, const Rgb &) = default;
};

// Each channel 0..255.
constexpr DisplayColour displayColour(Rgb c)
{
    return c.red + c.green * 256 + c.blue * 65536;
}

constexpr Rgb rgbOf(DisplayColour c)
{
    const auto u = static_cast<std::uint32_t>(c);
    return {static_cast<int>(u & 0xFF), static_cast<int>((u >> 8) & 0xFF),
            static_cast<int>((u >> 16) & 0xFF)};
}
