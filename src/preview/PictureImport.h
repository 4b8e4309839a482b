#pragma once

#include "platform/ProgramDirectory.h"

#include <QImage>
#include <QString>

// The working pictures beside the program: the imported background, in BMP format
// whatever the name says. Where both exist, temp.jpg counts.
namespace WorkingPicture {
inline constexpr QLatin1StringView Jpg{"temp.jpg"};
inline constexpr QLatin1StringView Bmp{"temp2.bmp"};
} // namespace WorkingPicture

struct ImportOutcome
{
    enum Kind
    {
        Written,     // the picture is the new working picture
        PngRefused,  // a name ending in "png"
        OtherEnding, // neither "bmp" nor "jpg", exactly as written
        Undecodable, // damaged, not BMP or JPEG inside, or too large to decode
    } kind = OtherEnding;
    QImage picture;  // when written
    QString problem; // why it could not be decoded
};

// Makes the chosen file the working picture: removes the old working pictures, then
// decodes the file and writes it as temp2.bmp for a name ending in "bmp" or temp.jpg for
// one ending in "jpg". Throws Error when an old working picture cannot be removed.
ImportOutcome importWorkingPicture(const QString &chosen, const ProgramDirectory &programDir);
