#include "scene/Blend.h"

#include "platform/Numeric.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

// For one fill channel and one opacity the blend depends only on the source channel,
// so each channel's 256 results are worked out once per blend.
using ChannelTable = std::array<std::uint8_t, 256>;

ChannelTable channelTable(int fill, double a)
{
    ChannelTable table{};
    for (int p = 0; p < 256; ++p)
        table[size_t(p)] = std::uint8_t(roundHalfEven(p - a * (p - fill)));
    return table;
}

// The blend looks channels up byte by byte: an RGB32 pixel lies in memory as blue,
// green, red, 0xFF.
static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "RGB32 byte order");
enum ByteOfRgb32
{
    BlueByte,
    GreenByte,
    RedByte,
    AlphaByte
};

void blendRect(QImage &target, const QImage &source, QRect area, const ChannelTable &red,
               const ChannelTable &green, const ChannelTable &blue, QRgb outside)
{
    const int x0 = area.left(), x1 = area.right() + 1;
    const int inside0 = std::clamp(0, x0, x1), inside1 = std::clamp(source.width(), x0, x1);
    for (int y = area.top(); y <= area.bottom(); ++y) {
        auto *out = reinterpret_cast<QRgb *>(target.scanLine(y));
        if (y >= source.height()) {
            std::fill(out + x0, out + x1, outside);
            continue;
        }
        std::fill(out + x0, out + inside0, outside);
        // A row that starts with a run of one colour, as the gradient's rows are whole,
        // takes one blend for the run.
        const auto *from = reinterpret_cast<const QRgb *>(source.constScanLine(y));
        int x = inside0;
        while (x < inside1 && from[x] == from[inside0])
            ++x;
        if (x > inside0) {
            const QRgb run = from[inside0];
            std::fill(
                out + inside0, out + x,
                qRgb(red[size_t(qRed(run))], green[size_t(qGreen(run))], blue[size_t(qBlue(run))]));
        }
        const uchar *in = source.constScanLine(y) + std::ptrdiff_t(x) * 4;
        auto *o = reinterpret_cast<uchar *>(out + x);
        for (; x < inside1; ++x, in += 4, o += 4) {
            o[BlueByte] = blue[in[BlueByte]];
            o[GreenByte] = green[in[GreenByte]];
            o[RedByte] = red[in[RedByte]];
            o[AlphaByte] = 0xFF;
        }
        std::fill(out + inside1, out + x1, outside);
    }
}

} // namespace

void blendOnto(QImage &target, const QImage &source, DisplayColour fill, const QRegion &area,
               float opacity)
{
    if (area.isEmpty())
        return;
    const Rgb c = rgbOf(fill);
    const double a = opacity;
    const ChannelTable red = channelTable(c.red, a);
    const ChannelTable green = channelTable(c.green, a);
    const ChannelTable blue = channelTable(c.blue, a);
    // Whatever lies outside the source reads as white.
    const QRgb outside = qRgb(red[255], green[255], blue[255]);
    for (const QRect &rect : area) {
        const QRect within = rect & target.rect();
        if (!within.isEmpty())
            blendRect(target, source, within, red, green, blue, outside);
    }
}

void copyInto(QImage &to, const QImage &from)
{
    if (to.size() == from.size() && to.format() == from.format() && to.isDetached())
        std::memcpy(to.bits(), from.constBits(), size_t(to.sizeInBytes()));
    else
        to = from;
}

void copyWithin(QImage &to, const QImage &from, const QRegion &area)
{
    const int bytes = to.depth() / 8;
    for (QRect rect : area) {
        rect &= to.rect();
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            std::memcpy(to.scanLine(y) + rect.left() * bytes,
                        from.constScanLine(y) + rect.left() * bytes, size_t(rect.width() * bytes));
    }
}
