#pragma once

#include "platform/DisplayColour.h"

#include <QImage>

// A new picture of `rect`'s size: each pixel of `source` inside `rect` with `fill` laid
// over it at `opacity` (0 keeps the source, 1 gives the fill), per channel
// n = p - opacity * (p - c) in double precision, rounded half to even. Pixels outside the
// source read as white.
QImage blendedRect(const QImage &source, DisplayColour fill, QRect rect, float opacity);

// Copies the top-left `rect.size()` pixels of `piece` onto `target` at `rect`'s corner,
// clipped to the target.
void copyRect(QImage &target, const QImage &piece, QRect rect);
