#include "colour/Quantiser.h"

#include "colour/Srgb.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace {

struct Bin
{
    qint64 pixels = 0;
    qint64 red = 0, green = 0, blue = 0;
    OkLab lab{};
};

double distance2(const OkLab &p, const OkLab &q)
{
    const double dl = p.lightness - q.lightness, da = p.a - q.a, db = p.b - q.b;
    return dl * dl + da * da + db * db;
}

// The picture's colours, 32 levels a channel, each with its pixels and its mean colour.
std::vector<Bin> histogram(const QImage &picture)
{
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    std::vector<Bin> bins(32 * 32 * 32);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb p = line[x];
            Bin &bin = bins[size_t((qRed(p) >> 3) << 10 | (qGreen(p) >> 3) << 5 | qBlue(p) >> 3)];
            ++bin.pixels;
            bin.red += qRed(p);
            bin.green += qGreen(p);
            bin.blue += qBlue(p);
        }
    }
    std::erase_if(bins, [](const Bin &b) { return b.pixels == 0; });
    for (Bin &b : bins) {
        b.lab = okLabFromLinear({linearChannel(int(b.red / b.pixels)),
                                 linearChannel(int(b.green / b.pixels)),
                                 linearChannel(int(b.blue / b.pixels))});
    }
    return bins;
}

// Farthest-point seeds: the commonest colour, then each time the colour whose pixels lie
// farthest from every seed so far. Stops early when every colour is a seed's.
std::vector<OkLab> seeds(const std::vector<Bin> &bins, int count)
{
    std::vector<OkLab> chosen;
    std::vector<double> nearest(bins.size(), std::numeric_limits<double>::max());
    size_t next =
        size_t(std::max_element(bins.begin(), bins.end(),
                                [](const Bin &a, const Bin &b) { return a.pixels < b.pixels; }) -
               bins.begin());
    while (int(chosen.size()) < count) {
        chosen.push_back(bins[next].lab);
        double best = 0;
        for (size_t i = 0; i < bins.size(); ++i) {
            nearest[i] = std::min(nearest[i], distance2(bins[i].lab, chosen.back()));
            if (const double score = nearest[i] * double(bins[i].pixels); score > best) {
                best = score;
                next = i;
            }
        }
        if (best == 0)
            break;
    }
    return chosen;
}

} // namespace

QList<ColourCluster> quantise(const QImage &picture, int count)
{
    const std::vector<Bin> bins = histogram(picture);
    if (bins.empty() || count <= 0)
        return {};
    std::vector<OkLab> centres = seeds(bins, count);
    std::vector<size_t> owner(bins.size(), 0);
    std::vector<ColourCluster> clusters;
    for (int round = 0; round < 32; ++round) {
        bool moved = false;
        for (size_t i = 0; i < bins.size(); ++i) {
            size_t best = 0;
            double nearest = distance2(bins[i].lab, centres[0]);
            for (size_t c = 1; c < centres.size(); ++c) {
                if (const double d = distance2(bins[i].lab, centres[c]); d < nearest) {
                    best = c;
                    nearest = d;
                }
            }
            moved |= std::exchange(owner[i], best) != best;
        }
        clusters.assign(centres.size(), ColourCluster{{}, 0, 0});
        for (size_t i = 0; i < bins.size(); ++i) {
            ColourCluster &c = clusters[owner[i]];
            const double w = double(bins[i].pixels);
            c.centre.lightness += bins[i].lab.lightness * w;
            c.centre.a += bins[i].lab.a * w;
            c.centre.b += bins[i].lab.b * w;
            c.pixels += bins[i].pixels;
        }
        for (size_t c = 0; c < clusters.size(); ++c) {
            if (clusters[c].pixels == 0)
                continue;
            const double w = double(clusters[c].pixels);
            clusters[c].centre = {clusters[c].centre.lightness / w, clusters[c].centre.a / w,
                                  clusters[c].centre.b / w};
            centres[c] = clusters[c].centre;
        }
        if (!moved && round > 0)
            break;
    }
    std::erase_if(clusters, [](const ColourCluster &c) { return c.pixels == 0; });
    for (ColourCluster &c : clusters)
        c.colour = nearestInGamut(toLch(c.centre));
    std::stable_sort(
        clusters.begin(), clusters.end(),
        [](const ColourCluster &a, const ColourCluster &b) { return a.pixels > b.pixels; });
    return QList<ColourCluster>(clusters.begin(), clusters.end());
}
