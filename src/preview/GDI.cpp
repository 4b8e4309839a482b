#include "preview/GDI.h"

#include "platform/Numeric.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace GDI {

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

QImage BlendBitmap(const QImage &source, DisplayColor c, int x, int y, int w, int h, float a)
{
    QImage result(std::max(w, 0), std::max(h, 0), QImage::Format_RGB32);
    if (result.isNull())
        return result;
    const auto color = static_cast<std::uint32_t>(c);
    const double opacity = a;
    const ChannelTable red = channelTable(int(color & 0xFF), opacity);
    const ChannelTable green = channelTable(int((color >> 8) & 0xFF), opacity);
    const ChannelTable blue = channelTable(int((color >> 16) & 0xFF), opacity);
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

void DrawBitmap(QImage &target, const QImage &bitmap, int x, int y, int w, int h)
{
    const int left = std::max(x, 0);
    const int right = std::min({x + w, target.width(), x + bitmap.width()});
    const int top = std::max(y, 0);
    const int bottom = std::min({y + h, target.height(), y + bitmap.height()});
    if (left >= right || top >= bottom)
        return;
    const QImage src =
        bitmap.format() == target.format() ? bitmap : bitmap.convertToFormat(target.format());
    const int bytesPerPixel = target.depth() / 8;
    for (int ty = top; ty < bottom; ++ty) {
        std::memcpy(target.scanLine(ty) + left * bytesPerPixel,
                    src.constScanLine(ty - y) + (left - x) * bytesPerPixel,
                    static_cast<size_t>((right - left) * bytesPerPixel));
    }
}

void FreeBitmap(QImage &bitmap)
{
    bitmap = QImage();
}

} // namespace GDI
