#pragma once

#include <QRgb>

// Björn Ottosson's OKLab: a perceptual space in which equal steps look about equal, and
// its polar form OKLCH (lightness, chroma, hue in degrees).

struct LinearRgb
{
    double red;
    double green;
    double blue;
};

struct OkLab
{
    double lightness; // 0 black .. 1 white
    double a;         // green .. red
    double b;         // blue .. yellow
};

struct OkLch
{
    double lightness;
    double chroma;
    double hue; // degrees, 0 <= hue < 360
};

OkLab okLabFromLinear(const LinearRgb &c);
LinearRgb linearFromOkLab(const OkLab &c);
OkLab okLabOf(QRgb colour);
OkLch okLchOf(QRgb colour);
OkLch toLch(const OkLab &c);
OkLab fromLch(const OkLch &c);

// The sRGB colour of `c`'s lightness and hue with as much of its chroma as sRGB can show.
QRgb nearestInGamut(const OkLch &c);
