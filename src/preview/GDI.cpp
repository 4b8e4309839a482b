#include "preview/GDI.h"

#include "platform/Numeric.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace GDI {

namespace {

// For one fill channel and one opacity the blend depends only on the source channel,
// so each channel's 256 results are computed once per blend.
using ChannelTable = std::array<std::uint8_t, 256>;

ChannelTable channelTable(int fill, double a)
{
    ChannelTable table{};
    for (int p = 0; p < 256; ++p)
        table[static_cast<size_t>(p)] =
            static_cast<std::uint8_t>(roundHalfEven(p - a * (p - fill)));
    return table;
}

} // namespace

QImage BlendBitmap(const QImage &source, DisplayColor c, int x, int y, int w, int h, float a)
{
    QImage result(std::max(w, 0), std::max(h, 0), QImage::Format_RGB32);
    if (result.isNull())
        return result;
    const auto color = static_cast<std::uint32_t>(c);
    const double opacity = a;
    const ChannelTable red = channelTable(static_cast<int>(color & 0xFF), opacity);
    const ChannelTable green = channelTable(static_cast<int>((color >> 8) & 0xFF), opacity);
    const ChannelTable blue = channelTable(static_cast<int>((color >> 16) & 0xFF), opacity);
    const QImage src = source.format() == QImage::Format_RGB32
                           ? source
                           : source.convertToFormat(QImage::Format_RGB32);
    for (int r = 0; r < h; ++r) {
        auto *out = reinterpret_cast<QRgb *>(result.scanLine(r));
        const int sy = y + r;
        const QRgb *in = (sy >= 0 && sy < src.height())
                             ? reinterpret_cast<const QRgb *>(src.constScanLine(sy))
                             : nullptr;
        for (int k = 0; k < w; ++k) {
            const int sx = x + k;
            const QRgb p = (in && sx >= 0 && sx < src.width()) ? in[sx] : qRgb(255, 255, 255);
            out[k] = qRgb(red[static_cast<size_t>(qRed(p))], green[static_cast<size_t>(qGreen(p))],
                          blue[static_cast<size_t>(qBlue(p))]);
        }
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
