#pragma once

#include <QColor>
#include <QRgb>

#include <cstdint>

// A display colour is red + green * 256 + blue * 65536: red in the low byte, the
// form skins and the drawing code speak. Qt keeps red in bits 16-23; these two
// helpers are the only place where the two meet.
using DisplayColor = std::int32_t;

constexpr QRgb toQRgb(DisplayColor c)
{
    const auto u = static_cast<std::uint32_t>(c);
    return qRgb(static_cast<int>(u & 0xFF), static_cast<int>((u >> 8) & 0xFF),
                static_cast<int>((u >> 16) & 0xFF));
}

constexpr DisplayColor fromQRgb(QRgb rgb)
{
    return static_cast<DisplayColor>(qRed(rgb) | (qGreen(rgb) << 8) | (qBlue(rgb) << 16));
}

inline QColor toQColor(DisplayColor c)
{
    return QColor(toQRgb(c));
}
