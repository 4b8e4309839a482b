#include "preview/Blend.h"

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

} // namespace

QImage blendedRect(const QImage &source, DisplayColour fill, QRect rect, float opacity)
{
    const int x = rect.x(), y = rect.y(), w = rect.width(), h = rect.height();
    QImage result(std::max(w, 0), std::max(h, 0), QImage::Format_RGB32);
    if (result.isNull())
        return result;
    const Rgb c = rgbOf(fill);
    const double a = opacity;
    const ChannelTable red = channelTable(c.red, a);
    const ChannelTable green = channelTable(c.green, a);
    const ChannelTable blue = channelTable(c.blue, a);
    const QImage src = source.format() == QImage::Format_RGB32
                           ? source
                           : source.convertToFormat(QImage::Format_RGB32);
    // Whatever lies outside the source reads as white.
    const QRgb outside = qRgb(red[255], green[255], blue[255]);
    const int k0 = std::clamp(-x, 0, w);
    const int k1 = std::clamp(src.width() - x, k0, w);
    for (int r = 0; r < h; ++r) {
        auto *out = reinterpret_cast<QRgb *>(result.scanLine(r));
        const int sy = y + r;
        if (sy < 0 || sy >= src.height()) {
            std::fill(out, out + w, outside);
            continue;
        }
        std::fill(out, out + k0, outside);
        const uchar *in = src.constScanLine(sy) + std::ptrdiff_t(x + k0) * 4;
        auto *o = reinterpret_cast<uchar *>(out + k0);
        for (int k = k0; k < k1; ++k, in += 4, o += 4) {
            o[BlueByte] = blue[in[BlueByte]];
            o[GreenByte] = green[in[GreenByte]];
            o[RedByte] = red[in[RedByte]];
            o[AlphaByte] = 0xFF;
        }
        std::fill(out + k1, out + w, outside);
    }
    return result;
}

void copyRect(QImage &target, const QImage &piece, QRect rect)
{
    const int x = rect.x(), y = rect.y(), w = rect.width(), h = rect.height();
    const int left = std::max(x, 0);
    const int right = std::min({x + w, target.width(), x + piece.width()});
    const int top = std::max(y, 0);
    const int bottom = std::min({y + h, target.height(), y + piece.height()});
    if (left >= right || top >= bottom)
        return;
    const QImage src =
        piece.format() == target.format() ? piece : piece.convertToFormat(target.format());
    const int bytesPerPixel = target.depth() / 8;
    for (int ty = top; ty < bottom; ++ty) {
        std::memcpy(target.scanLine(ty) + left * bytesPerPixel,
                    src.constScanLine(ty - y) + (left - x) * bytesPerPixel,
                    static_cast<size_t>((right - left) * bytesPerPixel));
    }
}
