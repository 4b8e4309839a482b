#include "colour/Ciede2000.h"

#include "colour/Srgb.h"

#include <cmath>
#include <numbers>

namespace {

constexpr double Degree = std::numbers::pi / 180.0;

double labCurve(double t)
{
    constexpr double Epsilon = 216.0 / 24389.0, Kappa = 24389.0 / 27.0;
    return t > Epsilon ? std::cbrt(t) : (Kappa * t + 16.0) / 116.0;
}

// Near the greys CIELAB's a* understates what an eye sees: it is stretched by up to a
// half, the less the more chroma there is; the same weight turns the blue hues.
double chromaFactor(double chroma)
{
    const double c7 = std::pow(chroma, 7);
    return std::sqrt(c7 / (c7 + std::pow(25.0, 7)));
}

double hueAngle(double b, double a)
{
    if (a == 0 && b == 0)
        return 0;
    const double h = std::atan2(b, a) / Degree;
    return h < 0 ? h + 360 : h;
}

} // namespace

Lab labOf(QRgb colour)
{
    const double r = linearChannel(qRed(colour)), g = linearChannel(qGreen(colour)),
                 b = linearChannel(qBlue(colour));
    // IEC 61966-2-1's XYZ of the primaries, over the D65 white.
    const double x = (0.4124564 * r + 0.3575761 * g + 0.1804375 * b) / 0.95047;
    const double y = 0.2126729 * r + 0.7151522 * g + 0.0721750 * b;
    const double z = (0.0193339 * r + 0.1191920 * g + 0.9503041 * b) / 1.08883;
    const double fx = labCurve(x), fy = labCurve(y), fz = labCurve(z);
    return {116.0 * fy - 16.0, 500.0 * (fx - fy), 200.0 * (fy - fz)};
}

double ciede2000(const Lab &first, const Lab &second)
{
    const double meanChroma = (std::hypot(first.a, first.b) + std::hypot(second.a, second.b)) / 2.0;
    const double aScale = 1.0 + 0.5 * (1.0 - chromaFactor(meanChroma));
    const double a1 = first.a * aScale, a2 = second.a * aScale;
    const double c1 = std::hypot(a1, first.b), c2 = std::hypot(a2, second.b);
    const double h1 = hueAngle(first.b, a1), h2 = hueAngle(second.b, a2);

    // The hue difference and mean go the short way round; a grey has no hue to count.
    const bool grey = c1 * c2 == 0;
    double dh = h2 - h1;
    if (dh > 180)
        dh -= 360;
    else if (dh < -180)
        dh += 360;
    if (grey)
        dh = 0;
    double meanHue = h1 + h2;
    if (!grey)
        meanHue = std::abs(h1 - h2) <= 180 ? meanHue / 2
                  : meanHue < 360          ? (meanHue + 360) / 2
                                           : (meanHue - 360) / 2;

    const double dL = second.l - first.l, dC = c2 - c1;
    const double dH = 2.0 * std::sqrt(c1 * c2) * std::sin(dh / 2.0 * Degree);
    const double meanL = (first.l + second.l) / 2.0, meanC = (c1 + c2) / 2.0;
    const double t =
        1.0 - 0.17 * std::cos((meanHue - 30) * Degree) + 0.24 * std::cos(2 * meanHue * Degree) +
        0.32 * std::cos((3 * meanHue + 6) * Degree) - 0.20 * std::cos((4 * meanHue - 63) * Degree);
    const double l50 = (meanL - 50) * (meanL - 50);
    const double sL = 1.0 + 0.015 * l50 / std::sqrt(20.0 + l50);
    const double sC = 1.0 + 0.045 * meanC, sH = 1.0 + 0.015 * meanC * t;
    const double rotation =
        -std::sin(2.0 * 30.0 * std::exp(-std::pow((meanHue - 275) / 25, 2)) * Degree) * 2.0 *
        chromaFactor(meanC);
    const double l = dL / sL, c = dC / sC, h = dH / sH;
    return std::sqrt(l * l + c * c + h * h + rotation * c * h);
}
