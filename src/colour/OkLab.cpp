#include "colour/OkLab.h"

#include "colour/Srgb.h"

#include <cmath>
#include <numbers>

namespace {

// Linear sRGB within [0, 1] in every channel, up to rounding of the matrices.
bool inGamut(const LinearRgb &c)
{
    constexpr double slack = 1e-7;
    return c.red >= -slack && c.red <= 1 + slack && c.green >= -slack && c.green <= 1 + slack &&
           c.blue >= -slack && c.blue <= 1 + slack;
}

QRgb encoded(const LinearRgb &c)
{
    return qRgb(encodeChannel(c.red), encodeChannel(c.green), encodeChannel(c.blue));
}

} // namespace

OkLab okLabFromLinear(const LinearRgb &c)
{
    const double l =
        std::cbrt(0.4122214708 * c.red + 0.5363325363 * c.green + 0.0514459929 * c.blue);
    const double m =
        std::cbrt(0.2119034982 * c.red + 0.6806995451 * c.green + 0.1073969566 * c.blue);
    const double s =
        std::cbrt(0.0883024619 * c.red + 0.2817188376 * c.green + 0.6299787005 * c.blue);
    return {0.2104542553 * l + 0.7936177850 * m - 0.0040720468 * s,
            1.9779984951 * l - 2.4285922050 * m + 0.4505937099 * s,
            0.0259040371 * l + 0.7827717662 * m - 0.8086757660 * s};
}

LinearRgb linearFromOkLab(const OkLab &c)
{
    const double l = std::pow(c.lightness + 0.3963377774 * c.a + 0.2158037573 * c.b, 3);
    const double m = std::pow(c.lightness - 0.1055613458 * c.a - 0.0638541728 * c.b, 3);
    const double s = std::pow(c.lightness - 0.0894841775 * c.a - 1.2914855480 * c.b, 3);
    return {4.0767416621 * l - 3.3077115913 * m + 0.2309699292 * s,
            -1.2684380046 * l + 2.6097574011 * m - 0.3413193965 * s,
            -0.0041960863 * l - 0.7034186147 * m + 1.7076147010 * s};
}

OkLab okLabOf(QRgb colour)
{
    return okLabFromLinear(
        {linearChannel(qRed(colour)), linearChannel(qGreen(colour)), linearChannel(qBlue(colour))});
}

OkLch okLchOf(QRgb colour)
{
    return toLch(okLabOf(colour));
}

OkLch toLch(const OkLab &c)
{
    double hue = std::atan2(c.b, c.a) * 180 / std::numbers::pi;
    if (hue < 0)
        hue += 360;
    return {c.lightness, std::hypot(c.a, c.b), hue};
}

OkLab fromLch(const OkLch &c)
{
    const double h = c.hue * std::numbers::pi / 180;
    return {c.lightness, c.chroma * std::cos(h), c.chroma * std::sin(h)};
}

QRgb nearestInGamut(const OkLch &c)
{
    if (c.lightness >= 1)
        return qRgb(255, 255, 255);
    if (c.lightness <= 0)
        return qRgb(0, 0, 0);
    const LinearRgb whole = linearFromOkLab(fromLch(c));
    if (inGamut(whole))
        return encoded(whole);
    // Chroma shrinks, lightness and hue stay: the largest chroma that fits, by halving.
    double fits = 0, fails = c.chroma;
    for (int i = 0; i < 24; ++i) {
        const double mid = (fits + fails) / 2;
        (inGamut(linearFromOkLab(fromLch({c.lightness, mid, c.hue}))) ? fits : fails) = mid;
    }
    return encoded(linearFromOkLab(fromLch({c.lightness, fits, c.hue})));
}
