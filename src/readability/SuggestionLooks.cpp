#include "readability/SuggestionLooks.h"

#include "scene/BackgroundPicture.h"
#include "scene/SceneLayout.h"

#include "colour/Quantiser.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <utility>

namespace {

double hueDistance(double a, double b)
{
    const double d = std::fmod(std::abs(a - b), 360.0);
    return std::min(d, 360 - d);
}

Palette paletteOfShown(const QImage &shown)
{
    const QList<ColourCluster> clusters = quantise(shown, 8);
    QList<OkLch> colours;
    qint64 total = 0;
    for (const ColourCluster &c : clusters) {
        colours << toLch(c.centre);
        total += c.pixels;
    }
    if (colours.isEmpty())
        colours << OkLch{0.5, 0, 0};
    const OkLch dominant = colours[0], second = colours.value(1, colours[0]);
    // The accent: the most colourful of the colours that cover a part worth seeing; the
    // second accent the most colourful of another hue, or the hue across from it.
    qsizetype accent = 0;
    for (qsizetype i = 0; i < clusters.size(); ++i) {
        if (clusters[i].pixels * 50 >= total && colours[i].chroma > colours[accent].chroma)
            accent = i;
    }
    OkLch first = colours[accent];
    first.chroma = std::max(first.chroma, 0.06);
    std::optional<OkLch> otherHue;
    for (qsizetype i = 0; i < clusters.size(); ++i) {
        if (clusters[i].pixels * 50 >= total && hueDistance(colours[i].hue, first.hue) >= 40 &&
            colours[i].chroma >= 0.04 && (!otherHue || colours[i].chroma > otherHue->chroma))
            otherHue = colours[i];
    }
    const OkLch other =
        otherHue.value_or(OkLch{first.lightness, first.chroma, std::fmod(first.hue + 150, 360)});

    return {dominant, second, first, other, showsNoColour(shown)};
}

} // namespace

bool showsNoColour(const QImage &picture)
{
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    // Grey unless a hundredth of the pixels show colour; counted until they do, and a
    // pixel of three equal channels, as most of a grey photograph's are, not measured.
    const qint64 allowed = qint64(rgb.width()) * rgb.height() / 100;
    qint64 colourful = 0;
    for (int y = 0; y < rgb.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb p = line[x];
            if ((qRed(p) != qGreen(p) || qGreen(p) != qBlue(p)) &&
                okLchOf(p).chroma >= GreyPicture && ++colourful > allowed)
                return false;
        }
    }
    return true;
}

Look lookFor(int variant, const Palette &palette)
{
    Look look = Looks[size_t(std::clamp(variant, 1, SuggestionCount) - 1)];
    if (!palette.grey)
        return look;
    look.mostChroma = 0;
    if (look.vivid) {
        look.top = 0.46;
        look.bottom = 0.08;
        look.panel = 0.1;
        look.popup = 0.14;
        look.bar = 0.9;
        look.outline = 0.98;
        look.text = 1.0;
        look.barText = 0.05;
    }
    return look;
}

Palette paletteOf(BackgroundPicture &background)
{
    const QImage &shown = background.stretchedTo(SceneSize);
    // A picture with many colours takes tens of milliseconds to quantise, and each look,
    // and what is said of it, asks again of the same picture as shown.
    thread_local std::optional<std::pair<qint64, Palette>> last;
    if (last && last->first == shown.cacheKey())
        return last->second;
    const Palette palette = paletteOfShown(shown);
    last = std::pair(shown.cacheKey(), palette);
    return palette;
}

const std::array<QRgb, 1001> &tonesOf(const OkLch &tint)
{
    thread_local std::map<std::pair<double, double>, std::array<QRgb, 1001>> tones;
    if (tones.size() >= 8 && !tones.contains({tint.chroma, tint.hue}))
        tones.clear();
    const auto [kept, made] = tones.try_emplace({tint.chroma, tint.hue});
    for (int step = 0; made && step <= 1000; ++step)
        kept->second[size_t(step)] = nearestInGamut({step / 1000.0, tint.chroma, tint.hue});
    return kept->second;
}
