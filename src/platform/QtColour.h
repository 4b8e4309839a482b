#pragma once

#include "platform/DisplayColour.h"

#include <QColor>
#include <QRgb>

// Where a display colour meets a QColor or a QImage pixel.
constexpr QRgb toQRgb(DisplayColour c)
{
    const Rgb rgb = rgbOf(c);
    return qRgb(rgb.red, rgb.green, rgb.blue);
}

constexpr DisplayColour fromQRgb(QRgb rgb)
{
    return displayColour({qRed(rgb), qGreen(rgb), qBlue(rgb)});
}

inline QColor toQColor(DisplayColour c)
{
    return QColor(toQRgb(c));
}
