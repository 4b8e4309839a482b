#include "platform/Pictures.h"

#include "platform/Error.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>

QImage loadPicture(const QString &path)
{
    const auto fail = [&](Error::Code code, const QString &reason) {
        return Error::file(code, "load the picture", path, reason);
    };
    if (!QFileInfo(path).isFile())
        throw fail(Error::FileNotFound, QStringLiteral("file not found"));
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    const QByteArray format = reader.format();
    if (format != "bmp" && format != "jpeg")
        throw fail(Error::InvalidPicture, format.isEmpty()
                                              ? reader.errorString()
                                              : QStringLiteral("it is not a BMP or JPEG picture"));
    QImage image = reader.read();
    if (image.isNull())
        throw fail(Error::InvalidPicture, reader.errorString());
    return image;
}

void savePictureBmp(const QImage &picture, const QString &path, Durability durability)
{
    const auto fail = [&](const QFileDevice &file) {
        return Error::file(Error::PathFileAccess, "write", path,
                           file.error() != QFileDevice::NoError
                               ? file.errorString()
                               : QStringLiteral("the picture could not be encoded"));
    };
    if (durability == Durability::Scratch) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || !picture.save(&file, "BMP"))
            throw fail(file);
        return;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !picture.save(&file, "BMP") || !file.commit())
        throw fail(file);
}
