#include "platform/Pictures.h"

#include "platform/Error.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QtEndian>

#include <cstring>

#include <zlib.h>

namespace {

constexpr int FileHeaderSize = 14;
constexpr int InfoHeaderSize = 40;
constexpr int HeadersSize = FileHeaderSize + InfoHeaderSize;

// Where a bitmap's headers keep each field, counted from the file's first byte.
namespace Bmp {
constexpr int FileSize = 2;
constexpr int PixelsOffset = 10;
constexpr int InfoSize = 14;
constexpr int Width = 18;
constexpr int Height = 22;
constexpr int Planes = 26;
constexpr int BitsPerPixel = 28;
constexpr int Compression = 30;
constexpr int PixelsSize = 34;
constexpr int XPixelsPerMetre = 38;
constexpr int YPixelsPerMetre = 42;
constexpr quint32 Uncompressed = 0;
constexpr quint32 BitFields = 3;
} // namespace Bmp
constexpr qint64 MiB = 1024 * 1024;

// Qt's image reader refuses pictures above 128 MB of pixels unless told otherwise; the
// largest picture we take needs four bytes a pixel.
[[maybe_unused]] const bool qtReaderLimitRaised = [] {
    QImageReader::setAllocationLimit(int(LargestPicturePixels * 4 / MiB + 1));
    return true;
}();

// The largest picture as Qt's reader is set up now: a caller may have lowered its limit.
qint64 largestPixels()
{
    const qint64 limitMb = QImageReader::allocationLimit();
    return limitMb > 0 ? qMin(LargestPicturePixels, limitMb * MiB / 4) : LargestPicturePixels;
}

Error tooLarge(const QString &path, qint64 width, qint64 height)
{
    return Error::file(Error::InvalidPicture,
                       QT_TRANSLATE_NOOP("Error", "Cannot load the picture \"%1\": %2"), path,
                       QCoreApplication::translate(
                           "Pictures", "the picture is %1 × %2 pixels; Vellox takes pictures of "
                                       "up to %3 megapixels")
                           .arg(width)
                           .arg(height)
                           .arg(largestPixels() / 1'000'000));
}

// Bytes of one stored bitmap row: whole pixels, padded to four bytes.
qint64 rowBytes(qint64 width, qint64 bitsPerPixel)
{
    return (width * bitsPerPixel + 31) / 32 * 4;
}

template <typename T> T readLE(const char *at)
{
    return qFromLittleEndian<T>(at);
}
template <typename T> void writeLE(char *at, T value)
{
    qToLittleEndian<T>(value, at);
}

void appendPngChunk(QByteArray &png, const char *type, const QByteArray &data)
{
    char word[4];
    qToBigEndian<quint32>(quint32(data.size()), word);
    png.append(word, 4);
    const qsizetype start = png.size();
    png.append(type, 4);
    png.append(data);
    const auto *typed = reinterpret_cast<const Bytef *>(png.constData() + start);
    qToBigEndian<quint32>(quint32(crc32(0, typed, uInt(png.size() - start))), word);
    png.append(word, 4);
}

// An 8-bit RGB PNG. Each row is stored as its difference from the row above, which the
// preview's gradients and flat panels turn into long runs that a light deflate level
// packs well: several times faster than a general encoder trying every filter.
QByteArray encodePng(const QImage &picture)
{
    const QImage image = picture.format() == QImage::Format_RGB32
                             ? picture
                             : picture.convertToFormat(QImage::Format_RGB32);
    const int w = image.width(), h = image.height();
    enum Filter : uchar
    {
        None = 0,
        Up = 2,
    };
    // Row by row into the compressor: no picture-sized buffer to fill.
    constexpr int DeflateLevel = 3;
    z_stream stream{};
    if (deflateInit(&stream, DeflateLevel) != Z_OK)
        throw Error(Error::PathFileAccess,
                    QCoreApplication::translate("Pictures", "the PNG encoder ran out of memory"));
    QByteArray packed;
    QByteArray row(qsizetype(w) * 3 + 1, Qt::Uninitialized);
    const auto pack = [&](const QByteArray &in, int flush) {
        stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(in.constData()));
        stream.avail_in = uInt(in.size());
        int status = Z_OK;
        do {
            constexpr qsizetype Step = 16 * 1024;
            const qsizetype done = packed.size();
            packed.resize(done + Step);
            stream.next_out = reinterpret_cast<Bytef *>(packed.data() + done);
            stream.avail_out = uInt(Step);
            status = deflate(&stream, flush);
            packed.resize(done + Step - qsizetype(stream.avail_out));
        } while (stream.avail_out == 0 || (flush == Z_FINISH && status != Z_STREAM_END));
    };
    for (int y = 0; y < h; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        const auto *above =
            y > 0 ? reinterpret_cast<const QRgb *>(image.constScanLine(y - 1)) : nullptr;
        auto *out = reinterpret_cast<uchar *>(row.data());
        *out++ = above ? Up : None;
        for (int x = 0; x < w; ++x) {
            const QRgb c = line[x], u = above ? above[x] : 0;
            *out++ = uchar(qRed(c) - qRed(u));
            *out++ = uchar(qGreen(c) - qGreen(u));
            *out++ = uchar(qBlue(c) - qBlue(u));
        }
        pack(row, Z_NO_FLUSH);
    }
    pack({}, Z_FINISH);
    deflateEnd(&stream);

    QByteArray header(13, '\0');
    qToBigEndian<quint32>(quint32(w), header.data());
    qToBigEndian<quint32>(quint32(h), header.data() + 4);
    header[8] = 8; // bits a channel
    header[9] = 2; // red, green, blue
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    appendPngChunk(png, "IHDR", header);
    appendPngChunk(png, "IDAT", packed);
    appendPngChunk(png, "IEND", {});
    return png;
}

// A 24-bit Windows bitmap, rows bottom-up, handed to `sink` a scanline at a time.
void encodeBmp24(const QImage &picture, const ByteSink &sink)
{
    const QImage image = picture.format() == QImage::Format_RGB32
                             ? picture
                             : picture.convertToFormat(QImage::Format_RGB32);
    const int w = image.width(), h = image.height();
    const qsizetype stride = rowBytes(w, 24);
    char d[HeadersSize] = {};
    d[0] = 'B';
    d[1] = 'M';
    writeLE<quint32>(d + Bmp::FileSize, quint32(HeadersSize + stride * h));
    writeLE<quint32>(d + Bmp::PixelsOffset, HeadersSize);
    writeLE<quint32>(d + Bmp::InfoSize, InfoHeaderSize);
    writeLE<qint32>(d + Bmp::Width, w);
    writeLE<qint32>(d + Bmp::Height, h);
    writeLE<quint16>(d + Bmp::Planes, 1);
    writeLE<quint16>(d + Bmp::BitsPerPixel, 24);
    writeLE<quint32>(d + Bmp::PixelsSize, quint32(stride * h));
    writeLE<qint32>(d + Bmp::XPixelsPerMetre, image.dotsPerMeterX());
    writeLE<qint32>(d + Bmp::YPixelsPerMetre, image.dotsPerMeterY());
    sink(d, HeadersSize);
    QByteArray row(stride, '\0');
    for (int y = h - 1; y >= 0; --y) {
        const auto *in = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        auto *out = reinterpret_cast<uchar *>(row.data());
        for (int x = 0; x < w; ++x, out += 3) {
            out[0] = uchar(qBlue(in[x]));
            out[1] = uchar(qGreen(in[x]));
            out[2] = uchar(qRed(in[x]));
        }
        sink(row.constData(), stride);
    }
}

struct Bmp24Layout
{
    int width = 0;
    int height = 0; // rows stored bottom-up when positive
    quint32 offset = 0;
};

// The plain variant: a 40-byte info header, 24 bits a pixel, no compression. Every other
// bitmap goes to Qt's reader.
std::optional<Bmp24Layout> plainBmp24(const char *h)
{
    if (h[0] != 'B' || h[1] != 'M' || readLE<quint32>(h + Bmp::InfoSize) != InfoHeaderSize ||
        readLE<quint16>(h + Bmp::Planes) != 1 || readLE<quint16>(h + Bmp::BitsPerPixel) != 24 ||
        readLE<quint32>(h + Bmp::Compression) != Bmp::Uncompressed)
        return std::nullopt;
    Bmp24Layout l{readLE<qint32>(h + Bmp::Width), readLE<qint32>(h + Bmp::Height),
                  readLE<quint32>(h + Bmp::PixelsOffset)};
    const qint64 rows = l.height < 0 ? -qint64(l.height) : l.height;
    if (l.width <= 0 || l.width > 32767 || rows == 0 || rows > 32767 || l.offset < HeadersSize)
        return std::nullopt;
    return l;
}

// Reads the rows a batch at a time, so the file never sits in memory beside the picture.
QImage decodeBmp24(QIODevice &in, const Bmp24Layout &l)
{
    const int rows = l.height < 0 ? -l.height : l.height;
    const qsizetype stride = rowBytes(l.width, 24);
    QImage image(l.width, rows, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    const int batch = int(qBound(qint64(1), 64 * 1024 / stride, qint64(rows)));
    QByteArray buffer(stride * batch, '\0');
    for (int first = 0; first < rows; first += batch) {
        const int count = qMin(batch, rows - first);
        if (in.read(buffer.data(), stride * count) != stride * count)
            return {};
        for (int i = 0; i < count; ++i) {
            const int stored = first + i;
            const int y = l.height < 0 ? stored : rows - 1 - stored;
            const auto *from = reinterpret_cast<const uchar *>(buffer.constData() + stride * i);
            auto *out = reinterpret_cast<QRgb *>(image.scanLine(y));
            for (int x = 0; x < l.width; ++x, from += 3)
                out[x] = qRgb(from[2], from[1], from[0]);
        }
    }
    return image;
}

// An uncompressed bitmap of any depth must hold every row its header announces; Qt's
// reader would show a cut-short one with rows missing.
bool bmpHoldsItsRows(const char *h, qint64 fileSize)
{
    const quint32 info = readLE<quint32>(h + Bmp::InfoSize);
    const quint32 compression = readLE<quint32>(h + Bmp::Compression);
    if (info < InfoHeaderSize ||
        (compression != Bmp::Uncompressed && compression != Bmp::BitFields))
        return true;
    const qint64 width = readLE<qint32>(h + Bmp::Width);
    const qint64 height = qAbs(qint64(readLE<qint32>(h + Bmp::Height)));
    const qint64 bits = readLE<quint16>(h + Bmp::BitsPerPixel);
    // Headers no picture could have are left to Qt's reader to refuse; the sum below
    // stays far from overflowing for all others.
    if (width <= 0 || width > (1 << 24) || bits == 0 || bits > 64)
        return true;
    return fileSize >=
           qint64(readLE<quint32>(h + Bmp::PixelsOffset)) + rowBytes(width, bits) * height;
}

// Whether a JPEG's data runs to its end-of-image marker. Qt's reader decodes a file cut
// short without complaint, its missing part grey. Segments are skipped by their length,
// so the end marker of an embedded thumbnail does not count; data after the end marker
// (phones append some) does not matter. One loop over the stream, as the markers come:
// split up, its parts would have to hand the read position back and forth.
bool jpegReachesEnd(QIODevice &in)
{
    QByteArray chunk;
    qsizetype pos = 0;
    const auto fill = [&] {
        if (pos < chunk.size())
            return true;
        chunk = in.read(MiB);
        pos = 0;
        return !chunk.isEmpty();
    };
    const auto next = [&](uchar &c) {
        if (!fill())
            return false;
        c = uchar(chunk[pos++]);
        return true;
    };
    uchar a = 0, b = 0;
    if (!next(a) || !next(b) || a != 0xFF || b != 0xD8)
        return false;
    for (;;) {
        // Entropy-coded data, and any stray bytes, up to the next marker.
        if (!fill())
            return false;
        const void *ff = std::memchr(chunk.constData() + pos, 0xFF, size_t(chunk.size() - pos));
        if (!ff) {
            pos = chunk.size();
            continue;
        }
        pos = static_cast<const char *>(ff) - chunk.constData() + 1;
        uchar marker = 0xFF;
        while (marker == 0xFF) {
            if (!next(marker))
                return false;
        }
        if (marker == 0xD9)
            return true;
        // Stuffed bytes, restart markers and TEM stand alone.
        if (marker == 0x00 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
            continue;
        uchar hi = 0, lo = 0;
        if (!next(hi) || !next(lo))
            return false;
        for (qint64 skip = (hi << 8 | lo) - 2; skip > 0;) {
            if (!fill())
                return false;
            const qint64 step = qMin<qint64>(skip, chunk.size() - pos);
            pos += step;
            skip -= step;
        }
    }
}

// Whether a PNG's chunks run to its IEND chunk. Qt's reader shows a file cut short with
// its last rows missing; each chunk is skipped by its length, never read into memory.
bool pngReachesEnd(QIODevice &in)
{
    if (in.read(8) != QByteArray("\x89PNG\r\n\x1a\n", 8))
        return false;
    for (;;) {
        const QByteArray head = in.read(8);
        if (head.size() != 8)
            return false;
        const quint32 length = qFromBigEndian<quint32>(head.constData());
        if (length > 0x7FFF'FFFFu)
            return false;
        // The chunk's data and its checksum.
        const qint64 next = in.pos() + qint64(length) + 4;
        if (next > in.size() || !in.seek(next))
            return false;
        if (head.mid(4) == "IEND")
            return true;
    }
}

Error loadError(const QString &path, Error::Code code, const QString &reason)
{
    return Error::file(code, QT_TRANSLATE_NOOP("Error", "Cannot load the picture \"%1\": %2"), path,
                       reason);
}

// A damaged picture is told as such, not shown with rows or a part missing.
Error endsEarly(const QString &path)
{
    return loadError(path, Error::InvalidPicture,
                     QCoreApplication::translate("Pictures", "the file ends early; it is damaged"));
}

QImage decodePlainBmp24(QFile &file, const char *header, const Bmp24Layout &layout)
{
    const qint64 rows = qAbs(qint64(layout.height));
    if (qint64(layout.width) * rows > largestPixels())
        throw tooLarge(file.fileName(), layout.width, rows);
    if (!bmpHoldsItsRows(header, file.size()) || !file.seek(layout.offset))
        throw endsEarly(file.fileName());
    QImage image = decodeBmp24(file, layout);
    if (image.isNull())
        throw endsEarly(file.fileName());
    return image;
}

// Any other bitmap or a JPEG, through Qt's reader, once the file is known to be whole.
// `header` holds the first bytes of a file that has at least that many.
QImage decodeWithQt(QFile &file, const char *header, PictureFormats formats)
{
    const QString &path = file.fileName();
    QImageReader reader(&file);
    reader.setDecideFormatFromContent(true);
    const QByteArray format = reader.format();
    if (format.isEmpty())
        throw loadError(path, Error::InvalidPicture, reader.errorString());
    if (formats == PictureFormats::BmpOrJpeg && format != "bmp" && format != "jpeg")
        throw loadError(path, Error::InvalidPicture,
                        QCoreApplication::translate("Pictures", "it is not a BMP or JPEG picture"));
    if (const QSize size = reader.size();
        size.isValid() && qint64(size.width()) * size.height() > largestPixels())
        throw tooLarge(path, size.width(), size.height());
    const qint64 at = file.pos();
    if (format == "bmp" && header && !bmpHoldsItsRows(header, file.size()))
        throw endsEarly(path);
    if (format == "jpeg" && !(file.seek(0) && jpegReachesEnd(file) && file.seek(at)))
        throw endsEarly(path);
    if (format == "png" && !(file.seek(0) && pngReachesEnd(file) && file.seek(at)))
        throw endsEarly(path);
    QImage image = reader.read();
    if (image.isNull())
        throw loadError(path, Error::InvalidPicture, reader.errorString());
    // Qt's smooth scaling misreads a one-bit palette of a single colour (what image tools
    // write for a flat picture) as black and white: every picture is taken in true colour.
    if (image.format() != QImage::Format_RGB32)
        image = image.convertToFormat(QImage::Format_RGB32);
    return image;
}

} // namespace

QImage loadPicture(const QString &path, PictureFormats formats)
{
    QFile file(path);
    if (!QFileInfo(path).isFile()) {
        // A pipe would block the read and a device never end it: said for what they are.
        const QString what = notAFileReason(path);
        throw what.isEmpty() ? loadError(path, Error::FileNotFound,
                                         QCoreApplication::translate("Pictures", "file not found"))
                             : loadError(path, Error::PathFileAccess, what);
    }
    if (!file.open(QIODevice::ReadOnly))
        throw loadError(path, Error::PathFileAccess, file.errorString());
    // Snapshots and working pictures are plain 24-bit bitmaps: read those directly.
    char header[HeadersSize];
    const bool headerRead = file.read(header, HeadersSize) == HeadersSize;
    if (headerRead) {
        if (const auto layout = plainBmp24(header))
            return decodePlainBmp24(file, header, *layout);
    }
    file.seek(0);
    return decodeWithQt(file, headerRead ? header : nullptr, formats);
}

void savePictureBmp(const QImage &picture, const QString &path, Durability durability,
                    AtLink atLink, Readers readers)
{
    writeFile(
        path, durability, atLink, [&picture](const ByteSink &sink) { encodeBmp24(picture, sink); },
        readers);
}

void savePicturePng(const QImage &picture, const QString &path)
{
    QByteArray png;
    try {
        png = encodePicture(picture, PictureFormat::Png);
    } catch (const Error &e) {
        throw Error::file(e.code(),
                          QT_TRANSLATE_NOOP("Error", "Cannot encode a PNG picture for \"%1\": %2"),
                          path, e.description());
    }
    writeFile(path, Durability::Atomic, AtLink::ReplaceLink,
              [&png](const ByteSink &sink) { sink(png.constData(), png.size()); });
}

QByteArray encodePicture(const QImage &picture, PictureFormat format)
{
    QByteArray bytes;
    if (format == PictureFormat::Bmp) {
        encodeBmp24(picture,
                    [&bytes](const char *data, qsizetype size) { bytes.append(data, size); });
        return bytes;
    }
    if (format == PictureFormat::Png)
        return encodePng(picture);
    constexpr int JpegQuality = 90; // the preview's flat colours and texts stay clean
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, "JPEG", JpegQuality))
        throw Error(Error::PathFileAccess,
                    QCoreApplication::translate("Pictures", "the JPEG encoder failed"));
    return bytes;
}
