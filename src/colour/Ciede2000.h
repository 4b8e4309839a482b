#pragma once

#include <QRgb>

// CIELAB under D65, the white of sRGB: L 0 to 100.
struct Lab
{
    double l;
    double a;
    double b;
};
Lab labOf(QRgb colour);

// The CIEDE2000 colour difference (kL = kC = kH = 1), as Sharma, Wu & Dalal (2005) work
// it out: about 1 is the least difference an eye tells side by side.
double ciede2000(const Lab &first, const Lab &second);
inline double ciede2000(QRgb first, QRgb second)
{
    return ciede2000(labOf(first), labOf(second));
}
