#pragma once

#include "platform/DisplayColour.h"

#include <QImage>
#include <QRegion>

// Replaces the pixels of `target` inside `area` with those of `source` at the same place
// with `fill` laid over them at `opacity` (0 keeps the source, 1 gives the fill), per
// channel n = p - opacity * (p - c) in double precision, rounded half to even. Pixels
// outside the source read as white; the area is clipped to the target. Both are RGB32;
// `source` is read only, so blends of one phase never see each other.
void blendOnto(QImage &target, const QImage &source, DisplayColour fill, const QRegion &area,
               float opacity);

// `from` into `to` whole: into the memory `to` already has where it fits, as a redraw would
// otherwise take memory of its own each time.
void copyInto(QImage &to, const QImage &from);
// `from`'s pixels within `area` into `to`; the two are of one size and format.
void copyWithin(QImage &to, const QImage &from, const QRegion &area);
