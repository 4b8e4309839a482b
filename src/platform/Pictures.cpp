#include "platform/Pictures.h"

#include "platform/Error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>

namespace {

QString native(const QString &path) { return QDir::toNativeSeparators(path); }

} // namespace

QImage loadPicture(const QString &path)
{
    if (!QFileInfo(path).isFile())
        throw Error(Error::FileNotFound,
                    QStringLiteral("Cannot open \"%1\": file not found").arg(native(path)));
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    const QByteArray format = reader.format();
    if (format != "bmp" && format != "jpeg") {
        const QString reason = format.isEmpty() ? reader.errorString()
                                                : QStringLiteral("it is not a BMP or JPEG picture");
        throw Error(Error::InvalidPicture,
                    QStringLiteral("Cannot load the picture \"%1\": %2").arg(native(path), reason));
    }
    QImage image = reader.read();
    if (image.isNull())
        throw Error(Error::InvalidPicture, QStringLiteral("Cannot load the picture \"%1\": %2")
                                               .arg(native(path), reader.errorString()));
    return image;
}

void savePictureBmp(const QImage &picture, const QString &path, Durability durability)
{
    const auto fail = [&](const QString &reason) {
        return Error(Error::PathFileAccess,
                     QStringLiteral("Cannot write \"%1\": %2").arg(native(path), reason));
    };
    if (durability == Durability::Scratch) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw fail(file.errorString());
        if (!picture.save(&file, "BMP"))
            throw fail(file.error() != QFileDevice::NoError
                           ? file.errorString()
                           : QStringLiteral("the picture could not be encoded"));
        return;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw fail(file.errorString());
    if (!picture.save(&file, "BMP"))
        throw fail(file.error() != QFileDevice::NoError
                       ? file.errorString()
                       : QStringLiteral("the picture could not be encoded"));
    if (!file.commit())
        throw fail(file.errorString());
}
