#include "platform/Pictures.h"

#include "platform/Error.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>
#include <QtEndian>

#include <cstring>

namespace {

constexpr int FileHeaderSize = 14;
constexpr int InfoHeaderSize = 40;
constexpr int HeadersSize = FileHeaderSize + InfoHeaderSize;
// Pictures decoded here keep to the same memory limit as Qt's image reader.
bool overAllocationLimit(qint64 bytes)
{
    const qint64 limitMb = QImageReader::allocationLimit();
    return limitMb > 0 && bytes > limitMb * 1024 * 1024;
}

qsizetype rowBytes24(int width)
{
    return (qsizetype(width) * 3 + 3) & ~qsizetype(3);
}

template <typename T> T readLE(const char *at)
{
    return qFromLittleEndian<T>(at);
}
template <typename T> void writeLE(char *at, T value)
{
    qToLittleEndian<T>(value, at);
}

// A 24-bit Windows bitmap, rows bottom-up, built a scanline at a time.
QByteArray encodeBmp24(const QImage &picture)
{
    const QImage image = picture.format() == QImage::Format_RGB32
                             ? picture
                             : picture.convertToFormat(QImage::Format_RGB32);
    const int w = image.width(), h = image.height();
    const qsizetype stride = rowBytes24(w);
    QByteArray bytes(HeadersSize + stride * h, '\0');
    char *d = bytes.data();
    d[0] = 'B';
    d[1] = 'M';
    writeLE<quint32>(d + 2, quint32(bytes.size()));
    writeLE<quint32>(d + 10, HeadersSize);
    writeLE<quint32>(d + 14, InfoHeaderSize);
    writeLE<qint32>(d + 18, w);
    writeLE<qint32>(d + 22, h);
    writeLE<quint16>(d + 26, 1);
    writeLE<quint16>(d + 28, 24);
    writeLE<quint32>(d + 34, quint32(stride * h));
    writeLE<qint32>(d + 38, image.dotsPerMeterX());
    writeLE<qint32>(d + 42, image.dotsPerMeterY());
    for (int y = 0; y < h; ++y) {
        const auto *in = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        auto *out = reinterpret_cast<uchar *>(d + HeadersSize + stride * (h - 1 - y));
        for (int x = 0; x < w; ++x, out += 3) {
            out[0] = uchar(qBlue(in[x]));
            out[1] = uchar(qGreen(in[x]));
            out[2] = uchar(qRed(in[x]));
        }
    }
    return bytes;
}

struct Bmp24Layout
{
    int width = 0;
    int height = 0; // rows stored bottom-up when positive
    quint32 offset = 0;
    bool complete = false; // the file holds every row
};

// The plain variant: a 40-byte info header, 24 bits a pixel, no compression. Every other
// bitmap goes to Qt's reader.
std::optional<Bmp24Layout> plainBmp24(const char *h, qint64 fileSize)
{
    if (h[0] != 'B' || h[1] != 'M' || readLE<quint32>(h + 14) != InfoHeaderSize ||
        readLE<quint16>(h + 26) != 1 || readLE<quint16>(h + 28) != 24 ||
        readLE<quint32>(h + 30) != 0)
        return std::nullopt;
    Bmp24Layout l{readLE<qint32>(h + 18), readLE<qint32>(h + 22), readLE<quint32>(h + 10)};
    const qint64 rows = l.height < 0 ? -qint64(l.height) : l.height;
    if (l.width <= 0 || l.width > 32767 || rows == 0 || rows > 32767 || l.offset < HeadersSize)
        return std::nullopt;
    if (overAllocationLimit(qint64(l.width) * rows * 4))
        return std::nullopt;
    l.complete = fileSize >= qint64(l.offset) + rowBytes24(l.width) * rows;
    return l;
}

QImage decodeBmp24(const char *pixels, const Bmp24Layout &l)
{
    const int rows = l.height < 0 ? -l.height : l.height;
    const qsizetype stride = rowBytes24(l.width);
    QImage image(l.width, rows, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    for (int y = 0; y < rows; ++y) {
        const int stored = l.height < 0 ? y : rows - 1 - y;
        const auto *in = reinterpret_cast<const uchar *>(pixels + stride * stored);
        auto *out = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < l.width; ++x, in += 3)
            out[x] = qRgb(in[2], in[1], in[0]);
    }
    return image;
}

} // namespace

QImage loadPicture(const QString &path)
{
    const auto fail = [&](Error::Code code, const QString &reason) {
        return Error::file(code, "load the picture", path, reason);
    };
    QFile file(path);
    if (!QFileInfo(path).isFile())
        throw fail(Error::FileNotFound, QStringLiteral("file not found"));
    if (!file.open(QIODevice::ReadOnly))
        throw fail(Error::PathFileAccess, file.errorString());

    // Snapshots and working pictures are plain 24-bit bitmaps: read those directly.
    char header[HeadersSize];
    if (file.read(header, HeadersSize) == HeadersSize) {
        if (const auto layout = plainBmp24(header, file.size())) {
            // A damaged picture is told as such, not shown with rows missing.
            if (!layout->complete || !file.seek(layout->offset))
                throw fail(Error::InvalidPicture, QStringLiteral("the file ends early"));
            const qint64 size = rowBytes24(layout->width) *
                                (layout->height < 0 ? -qint64(layout->height) : layout->height);
            const QByteArray pixels = file.read(size);
            if (pixels.size() != size)
                throw fail(Error::InvalidPicture, QStringLiteral("the file ends early"));
            QImage image = decodeBmp24(pixels.constData(), *layout);
            if (image.isNull())
                throw fail(Error::InvalidPicture, QStringLiteral("not enough memory"));
            return image;
        }
    }
    file.seek(0);

    QImageReader reader(&file);
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
    const QByteArray bytes = encodeBmp24(picture);
    const auto fail = [&](const QFileDevice &file) {
        return Error::file(Error::PathFileAccess, "write", path, file.errorString());
    };
    if (durability == Durability::Scratch) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(bytes) != bytes.size())
            throw fail(file);
        return;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw fail(file);
}
