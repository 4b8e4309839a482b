#include "scene/WorkingPicture.h"

#include "platform/Error.h"
#include "platform/Files.h"
#include "platform/Pictures.h"

#include <QCoreApplication>
#include <QFileInfo>

using namespace Qt::Literals::StringLiterals;

WorkingPicture::WorkingPicture(const ProgramDirectory &programDir) : m_programDir(programDir) {}

QString WorkingPicture::path() const
{
    for (auto name : {Jpg, Bmp}) {
        const QString path = m_programDir.file(name);
        if (fileExists(path))
            return path;
    }
    return {};
}

PackagePictures WorkingPicture::files() const
{
    return {fileExists(m_programDir.file(Jpg)), fileExists(m_programDir.file(Bmp))};
}

const QImage &WorkingPicture::picture()
{
    const QString path = this->path();
    if (path.isEmpty())
        throw Error::file(
            Error::FileNotFound, QT_TRANSLATE_NOOP("Error", "Cannot load the picture \"%1\": %2"),
            m_programDir.file(Jpg),
            QCoreApplication::translate("WorkingPicture", "no picture has been imported"));
    const QFileInfo info(path);
    if (path != m_path || info.lastModified() != m_modified || info.size() != m_size) {
        // The old picture goes before the new one is decoded: two large pictures need
        // not fit in memory at once.
        forget();
        m_picture = loadPicture(path);
        m_path = path;
        m_modified = info.lastModified();
        m_size = info.size();
    }
    return m_picture;
}

const QImage &WorkingPicture::stretchedTo(QSize size)
{
    const QImage &picture = this->picture();
    if (m_stretched.size() != size)
        m_stretched = picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                          .convertToFormat(QImage::Format_RGB32);
    return m_stretched;
}

ImportOutcome WorkingPicture::import(const QString &chosen, ImportOrigin origin)
{
    // The old picture is let go first: it is about to be deleted, and a large one need
    // not share memory with the next.
    forget();
    // A drop is ours: a file that is no picture leaves the working picture as it was.
    QImage dropped;
    if (origin == ImportOrigin::Dropped) {
        try {
            dropped = loadPicture(chosen, PictureFormats::AnyReadable);
        } catch (const Error &e) {
            return {ImportOutcome::Undecodable, e.description()};
        }
    }
    for (auto name : {Jpg, Bmp}) {
        const QString path = m_programDir.file(name);
        if (fileExists(path))
            deleteFile(path);
    }
    // The ending is compared exactly: "JPG" and "jpeg" are not pictures here.
    const QString ending = chosen.right(3);
    if (origin == ImportOrigin::Chosen && ending == "png"_L1)
        return {ImportOutcome::PngRefused, {}};
    if (origin == ImportOrigin::Chosen && ending != "bmp"_L1 && ending != "jpg"_L1)
        return {ImportOutcome::OtherEnding, {}};
    const QString path = m_programDir.file(ending == "jpg"_L1 ? Jpg : Bmp);
    try {
        QImage picture = origin == ImportOrigin::Dropped ? std::move(dropped) : loadPicture(chosen);
        savePictureBmp(picture, path, Durability::Atomic, AtLink::ReplaceLink);
        // Kept as read: the file just written holds the same pixels.
        const QFileInfo info(path);
        m_picture = std::move(picture);
        m_path = path;
        m_modified = info.lastModified();
        m_size = info.size();
        return {ImportOutcome::Written, {}};
    } catch (const Error &e) {
        return {ImportOutcome::Undecodable, e.description()};
    }
}

void WorkingPicture::discard(const std::function<void(const Error &)> &report)
{
    forget();
    for (auto name : {Jpg, Bmp})
        deleteIfPresent(m_programDir.file(name), report);
}

void WorkingPicture::forget()
{
    m_picture = {};
    m_stretched = {};
    m_path.clear();
    m_modified = {};
    m_size = -1;
}
