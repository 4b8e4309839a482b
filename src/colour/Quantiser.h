#pragma once

#include "colour/OkLab.h"

#include <QImage>
#include <QList>

// A colour a picture is made of, and how many of its pixels are nearest to it.
struct ColourCluster
{
    OkLab centre;
    QRgb colour; // the centre in sRGB
    qint64 pixels;
};

// The picture's colours reduced to at most `count`: a weighted k-means in OKLab over
// the picture's colours grouped at 5 bits a channel, seeded by the farthest-point rule
// from the commonest colour. The same picture always gives the same clusters, heaviest
// first; their pixels add up to the picture's.
QList<ColourCluster> quantise(const QImage &picture, int count);
