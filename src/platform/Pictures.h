#pragma once

#include "platform/Files.h"

#include <QImage>
#include <QString>

// The largest picture Vellox takes: the 200-megapixel pictures of today's phone cameras
// fit; larger ones are refused from their header, before any memory is spent on them.
inline constexpr qint64 LargestPicturePixels = 200'000'000;

// Which pictures a caller takes: the window's import keeps to bitmaps and JPEGs, as it
// always has; the command line and a drop take whatever Qt's installed readers know.
enum class PictureFormats
{
    BmpOrJpeg,
    AnyReadable,
};

// Loads a picture of `formats`, recognised by its content whatever the file is called.
// Anything else, a damaged or cut-short file, or one larger than the largest picture
// throws Error.
QImage loadPicture(const QString &path, PictureFormats formats = PictureFormats::BmpOrJpeg);

// Saves as a 24-bit Windows bitmap, a scanline at a time. Throws Error.
void savePictureBmp(const QImage &picture, const QString &path, Durability durability,
                    AtLink atLink);

// Saves as PNG, atomically: a failed write leaves what was there. Throws Error.
void savePicturePng(const QImage &picture, const QString &path);

enum class PictureFormat
{
    Png,
    Bmp, // 24-bit, as savePictureBmp writes it
    Jpeg,
};
// The whole file of `picture` in `format`, in memory. Throws Error.
QByteArray encodePicture(const QImage &picture, PictureFormat format);
