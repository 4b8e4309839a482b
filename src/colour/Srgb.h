#pragma once

#include <QRgb>

// sRGB as the WCAG 2.x contrast ratio reads it.

// A channel value 0..255 as linear light 0..1 (the 0.04045 threshold of the standard).
double linearChannel(int value);
// Linear light 0..1 back to the nearest channel value; out-of-range light is clamped.
int encodeChannel(double linear);
// The light from which encodeChannel gives `value` + 1 rather than `value` (0..254).
double channelBoundary(int value);
// 0.2126 R + 0.7152 G + 0.0722 B of the linear channels.
double relativeLuminance(QRgb colour);
// (L1 + 0.05) / (L2 + 0.05), the lighter over the darker: 1 to 21.
double contrastRatio(double luminance1, double luminance2);
inline double contrastRatio(QRgb a, QRgb b)
{
    return contrastRatio(relativeLuminance(a), relativeLuminance(b));
}
