#pragma once

#include "scene/BackgroundPicture.h"

#include "skin/SkinFile.h"

#include "platform/ProgramDirectory.h"

#include <QDateTime>
#include <QImage>
#include <QString>

#include <functional>

class Error;

// How the file came: chosen in the import dialog, whose rules are the program's oldest, or
// dropped on the preview, which takes any picture Qt reads.
enum class ImportOrigin
{
    Chosen,
    Dropped,
};

// What an import made of the chosen file.
struct ImportOutcome
{
    enum Kind
    {
        Written,     // the picture is the new working picture
        PngRefused,  // a name ending in "png"
        OtherEnding, // neither "bmp" nor "jpg", exactly as written
        Undecodable, // damaged, not a picture taken, or too large to decode
    } kind = OtherEnding;
    QString problem; // why it could not be decoded
};

// The imported background beside the program: temp.jpg for a picture chosen as .jpg,
// temp2.bmp for one chosen as .bmp, both stored as bitmaps. Where both exist, temp.jpg
// counts. The picture is read once and kept, with its copy stretched to the scene, until
// the file changes.
class WorkingPicture final : public BackgroundPicture
{
public:
    static constexpr QLatin1StringView Jpg{"temp.jpg"};
    static constexpr QLatin1StringView Bmp{"temp2.bmp"};

    explicit WorkingPicture(const ProgramDirectory &programDir);

    // The file that counts, or the empty text when there is none.
    QString path() const;
    bool present() const override { return !path().isEmpty(); }
    // Which of the two files lie there.
    PackagePictures files() const;

    // The picture that counts, as stored and stretched to `size`. Throw Error when there
    // is none or it cannot be read.
    const QImage &picture();
    const QImage &stretchedTo(QSize size) override;

    // Makes the chosen file the working picture: removes the old working pictures, then
    // decodes the file and writes it as temp2.bmp for a name ending in "bmp" or temp.jpg
    // for one ending in "jpg". A dropped file is decoded first, as whatever picture it
    // holds, and written as temp2.bmp unless its name ends in "jpg"; one that cannot be
    // decoded leaves the working pictures as they were. Throws Error when an old working picture
    // cannot be removed.
    ImportOutcome import(const QString &chosen, ImportOrigin origin = ImportOrigin::Chosen);

    // Removes the working pictures, as the program ends; each that cannot be removed is
    // reported and the rest still go.
    void discard(const std::function<void(const Error &)> &report);

private:
    void forget();

    ProgramDirectory m_programDir;
    QImage m_picture;
    QImage m_stretched;
    // Which file m_picture was read from, as it was then.
    QString m_path;
    QDateTime m_modified;
    qint64 m_size = -1;
};
