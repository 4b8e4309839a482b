#include "colour/Vision.h"

#include "colour/Srgb.h"

#include <QHash>

#include <algorithm>
#include <array>

namespace {

using Matrix = std::array<std::array<double, 3>, 3>;

const Matrix &matrixOf(Vision vision)
{
    static const Matrix protanopia{{{0.152286, 1.052583, -0.204868},
                                    {0.114503, 0.786281, 0.099216},
                                    {-0.003882, -0.048116, 1.051998}}};
    static const Matrix deuteranopia{{{0.367322, 0.860646, -0.227968},
                                      {0.280085, 0.672501, 0.047413},
                                      {-0.011820, 0.042940, 0.968881}}};
    static const Matrix tritanopia{{{1.255528, -0.076749, -0.178779},
                                    {-0.078411, 0.930809, 0.147602},
                                    {0.004733, 0.691367, 0.303900}}};
    // The luminance weights in every row: a grey of the same relative luminance.
    static const Matrix achromatopsia{
        {{0.2126, 0.7152, 0.0722}, {0.2126, 0.7152, 0.0722}, {0.2126, 0.7152, 0.0722}}};
    static const Matrix normal{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    switch (vision) {
    case Vision::Protanopia:
        return protanopia;
    case Vision::Deuteranopia:
        return deuteranopia;
    case Vision::Tritanopia:
        return tritanopia;
    case Vision::Achromatopsia:
        return achromatopsia;
    case Vision::Normal:
        break;
    }
    return normal;
}

} // namespace

const char *visionName(Vision vision)
{
    switch (vision) {
    case Vision::Protanopia:
        return "Protanopia";
    case Vision::Deuteranopia:
        return "Deuteranopia";
    case Vision::Tritanopia:
        return "Tritanopia";
    case Vision::Achromatopsia:
        return "Achromatopsia";
    case Vision::Normal:
        break;
    }
    return "Normal";
}

QRgb simulateVision(QRgb colour, Vision vision)
{
    if (vision == Vision::Normal)
        return colour;
    const Matrix &m = matrixOf(vision);
    const double in[3] = {linearChannel(qRed(colour)), linearChannel(qGreen(colour)),
                          linearChannel(qBlue(colour))};
    int out[3];
    for (size_t row = 0; row < 3; ++row)
        out[row] = encodeChannel(m[row][0] * in[0] + m[row][1] * in[1] + m[row][2] * in[2]);
    return qRgba(out[0], out[1], out[2], qAlpha(colour));
}

void simulateVision(QImage &picture, Vision vision)
{
    if (vision == Vision::Normal)
        return;
    if (picture.format() != QImage::Format_RGB32 && picture.format() != QImage::Format_ARGB32)
        picture = picture.convertToFormat(picture.hasAlphaChannel() ? QImage::Format_ARGB32
                                                                    : QImage::Format_RGB32);
    // Scenes hold few colours, pictures many neighbours alike: each is worked out once.
    QHash<QRgb, QRgb> seen;
    for (int y = 0; y < picture.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(picture.scanLine(y));
        std::transform(line, line + picture.width(), line, [&](QRgb pixel) {
            const auto it = seen.constFind(pixel);
            return it != seen.cend() ? *it : *seen.insert(pixel, simulateVision(pixel, vision));
        });
    }
}
