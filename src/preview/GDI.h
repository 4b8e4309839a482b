#pragma once

#include "platform/DisplayColor.h"

#include <QImage>

// The blend of a translucent fill over a picture, and its two companions.
namespace GDI {

// A new w x h bitmap: each pixel (x + k, y + r) of `source` with the fill colour laid
// over it at opacity `a` (0 keeps the source, 1 gives the fill), per channel
// n = p - a * (p - c) in double precision, rounded half to even. Pixels outside the
// source read as white.
QImage BlendBitmap(const QImage &source, DisplayColor c, int x, int y, int w, int h, float a);

// Copies the bitmap's top-left w x h pixels onto `target` at (x, y), clipped to it.
void DrawBitmap(QImage &target, const QImage &bitmap, int x, int y, int w, int h);

void FreeBitmap(QImage &bitmap);

} // namespace GDI
