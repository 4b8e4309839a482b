#pragma once

#include <QImage>
#include <QString>

// Loads a BMP or JPEG picture, recognised by its content whatever the file is called.
// Anything else, a damaged file, or one too large to decode throws Error.
QImage loadPicture(const QString &path);

// Saves as a 24-bit Windows bitmap, replacing the file as a whole. Throws Error.
void savePictureBmp(const QImage &picture, const QString &path);
