#pragma once

#include <QImage>
#include <QString>

// Loads a BMP or JPEG picture, recognised by its content whatever the file is called.
// Anything else, a damaged file, or one too large to decode throws Error.
QImage loadPicture(const QString &path);

// How a picture file is written: files the user keeps are replaced as a whole; a
// scratch file that lives for a moment skips the trip to the disk.
enum class Durability
{
    Atomic,
    Scratch
};

// Saves as a 24-bit Windows bitmap. Throws Error.
void savePictureBmp(const QImage &picture, const QString &path,
                    Durability durability = Durability::Atomic);
