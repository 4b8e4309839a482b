#include "preview/PictureImport.h"

#include "platform/Error.h"
#include "platform/Files.h"
#include "platform/Pictures.h"

using namespace Qt::Literals::StringLiterals;

ImportOutcome importWorkingPicture(const QString &chosen, const ProgramDirectory &programDir)
{
    for (auto name : {WorkingPicture::Jpg, WorkingPicture::Bmp}) {
        const QString path = programDir.file(name);
        if (FileExists(path))
            deleteFile(path);
    }
    // The ending is compared exactly: "JPG" and "jpeg" are not pictures here.
    const QString ending = chosen.right(3);
    if (ending == "png"_L1)
        return {ImportOutcome::PngRefused, {}, {}};
    if (ending != "bmp"_L1 && ending != "jpg"_L1)
        return {ImportOutcome::OtherEnding, {}, {}};
    try {
        QImage picture = loadPicture(chosen);
        savePictureBmp(
            picture,
            programDir.file(ending == "bmp"_L1 ? WorkingPicture::Bmp : WorkingPicture::Jpg),
            Durability::Atomic, AtLink::ReplaceLink);
        return {ImportOutcome::Written, std::move(picture), {}};
    } catch (const Error &e) {
        return {ImportOutcome::Undecodable, {}, e.description()};
    }
}
