#pragma once

#include <QImage>
#include <QRgb>

// How a viewer with a colour-vision deficiency sees colours, worked out in linear sRGB
// from the cone responses of Smith & Pokorny (1975):
// - protanopia and deuteranopia after Viénot, Brettel & Mollon (1999): one plane in the
//   cone space through black, white and the monitor's blue and yellow;
// - tritanopia after Brettel, Viénot & Mollon (1997): two half-planes through the
//   neutral axis and the 485 nm and 660 nm stimuli;
// - protanomaly and deuteranomaly after Machado, Oliveira & Fernandes (2009), their
//   tabulated matrices interpolated between severities;
// - tritanomaly as tritanopia mixed with the colour itself by the severity;
// - achromatopsia as the grey of the same relative luminance.
enum class Vision
{
    Normal,
    Protanomaly,
    Protanopia,
    Deuteranomaly,
    Deuteranopia,
    Tritanomaly,
    Tritanopia,
    Achromatopsia,
};
inline constexpr Vision Visions[] = {
    Vision::Normal,       Vision::Protanomaly, Vision::Protanopia, Vision::Deuteranomaly,
    Vision::Deuteranopia, Vision::Tritanomaly, Vision::Tritanopia, Vision::Achromatopsia,
};

// How far an anomalous trichromacy goes from normal vision (0) towards the dichromacy
// it weakens to (1). Other visions have no degrees and ignore it.
inline constexpr double LeastSeverity = 0.1;
inline constexpr double GreatestSeverity = 0.9;
inline constexpr double DefaultSeverity = 0.6;
bool hasSeverity(Vision vision);

// "Normal", "Protanopia", ...: as menus and messages name them.
const char *visionName(Vision vision);

// A severity outside 0.1 to 0.9 is taken as the nearest of them.
QRgb simulateVision(QRgb colour, Vision vision, double severity = DefaultSeverity);
// Every pixel of an RGB32 or ARGB32 picture, alpha kept.
void simulateVision(QImage &picture, Vision vision, double severity = DefaultSeverity);
