#pragma once

#include <QImage>
#include <QRgb>

// How a viewer with a colour-vision deficiency sees colours: the dichromacies after
// Machado, Oliveira & Fernandes (2009) at severity 1.0, applied in linear sRGB, and
// achromatopsia as the grey of the same relative luminance.
enum class Vision
{
    Normal,
    Protanopia,
    Deuteranopia,
    Tritanopia,
    Achromatopsia,
};
inline constexpr Vision Visions[] = {Vision::Normal, Vision::Protanopia, Vision::Deuteranopia,
                                     Vision::Tritanopia, Vision::Achromatopsia};

// "Normal", "Protanopia", ...: as menus and messages name them.
const char *visionName(Vision vision);

QRgb simulateVision(QRgb colour, Vision vision);
// Every pixel of an RGB32 or ARGB32 picture, alpha kept.
void simulateVision(QImage &picture, Vision vision);
