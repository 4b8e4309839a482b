#pragma once

#include "scene/SceneRenderer.h"

#include "skin/ColourTable.h"
#include "skin/SkinItems.h"

#include <map>
#include <set>

// A skin line of `key` with an opacity byte and a colour.
inline QByteArray line(const char *key, int opacityByte, QRgb rgb)
{
    return QByteArray(key) + " = 0x" +
           QByteArray::number(quint32(opacityByte) << 24 | (rgb & 0xFFFFFF), 16)
               .rightJustified(8, '0') +
           "\r\n";
}

// Red 0 under the panels' 255 at 30 % gives 76.5 in double precision but 77 with the
// single-precision 0.3 the program blends with.
constexpr QRgb Background = qRgb(0, 200, 90);
constexpr QRgb PanelFill = qRgb(255, 0, 0);     // at 30 %
constexpr QRgb BarFill = qRgb(0, 0, 255);       // at 50 %
constexpr QRgb ChangeFill = qRgb(0, 255, 0);    // at 70 %
constexpr QRgb PopupFill = qRgb(255, 255, 255); // at 60 %

// Every colour row set: the background uniform, translucent rows at known opacities.
inline QByteArray sceneSkin()
{
    QByteArray skin;
    for (int row = 0; row < ItemCount; ++row) {
        const SkinItem &item = SkinItems[size_t(row)];
        if (item.isColour())
            skin += line(item.key.data(), 0xFF, qRgb(row, row * 2, row * 3));
    }
    return skin + line("BgColor1", 0xFF, Background) + line("BgColor2", 0xFF, Background) +
           line("RectBg", 0x4C, PanelFill) + line("SelectColor", 0x7F, BarFill) +
           line("ChangeColor", 0xB2, ChangeFill) + line("MenuBgColor", 0x99, PopupFill);
}

// The pixels of one scene of `table` that change when the colour of each of `rows` goes
// from black to white, by how much the most changed channel of each changes.
inline std::map<int, QList<QPoint>> changedBy(const ColourTable &table, BackgroundPicture &picture,
                                              SceneKind kind, QRect box, const std::set<int> &rows,
                                              TextMode mode = TextMode::Skinning)
{
    QImage drawn[2];
    for (int white : {0, 1}) {
        ColourTable changed = table;
        for (int row : rows)
            changed.set(row,
                        table.at(row).left(4) + QLatin1StringView(white ? "FFFFFF" : "000000"));
        SceneRenderer renderer;
        renderer.setTextMode(mode);
        renderer.redraw(changed, picture);
        drawn[white] = renderer.scene(kind).shownImage();
    }
    std::map<int, QList<QPoint>> byChange;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            const QRgb b = drawn[0].pixel(x, y), w = drawn[1].pixel(x, y);
            const int change =
                std::max({qRed(w) - qRed(b), qGreen(w) - qGreen(b), qBlue(w) - qBlue(b), 0});
            if (change > 0)
                byChange[change] << QPoint(x, y);
        }
    }
    return byChange;
}
