#include "readability/Readability.h"

#include "scene/SceneRenderer.h"

#include "colour/OkLab.h"
#include "colour/Srgb.h"

#include "skin/ColourTable.h"

#include "platform/QtColour.h"

#include <QCoreApplication>
#include <QFontMetrics>

#include <algorithm>
#include <cmath>

namespace {

// The pixels under a text as it is drawn: from its box's top-left corner, one line,
// clipped to the box.
QRect inkBox(const Scene &scene, const ElementLayout &layout)
{
    const Scene::Element &e = scene.element(layout.role);
    const QRect box = pixelRect(e.box);
    const QFontMetrics metrics(fontOf(layout));
    return metrics.boundingRect(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, e.text) &
           box & scene.image().rect();
}

} // namespace

std::vector<double> sortedLuminances(const QImage &image, QRect box)
{
    box &= image.rect();
    std::vector<double> luminances;
    luminances.reserve(size_t(box.width()) * size_t(std::max(box.height(), 0)));
    for (int y = box.top(); y <= box.bottom(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = box.left(); x <= box.right(); ++x)
            luminances.push_back(relativeLuminance(line[x]));
    }
    std::sort(luminances.begin(), luminances.end());
    return luminances;
}

Readability::Readability(const SceneRenderer &renderer, Scenes scenes)
{
    for (SceneKind kind : {SceneKind::Colour, SceneKind::Picture}) {
        if (kind == SceneKind::Picture && scenes == Scenes::ColourOnly)
            continue;
        const Scene &scene = renderer.scene(kind);
        for (const ElementLayout &layout : sceneLayout()) {
            if (!layout.isText() || layout.role == Role::TitleShadow)
                continue;
            const QRect box = inkBox(scene, layout);
            if (box.isEmpty())
                continue;
            const QRgb colour = toQRgb(scene.element(layout.role).textColour);
            m_backgrounds.push_back(sortedLuminances(scene.image(), box));
            m_readings.append({layout.role, kind, layout.textRow, colour, box,
                               figure(m_backgrounds.back(), relativeLuminance(colour))});
        }
    }
}

double Readability::figure(const std::vector<double> &background, double ink)
{
    // The contrast falls as a background luminance nears the ink's from either side, so
    // the lowest contrasts are the luminances nearest it: merged outward from it, the
    // k-th taken is the k-th lowest.
    const size_t k =
        std::max<size_t>(1, size_t(std::ceil(IgnoredShare * double(background.size()))));
    auto above = std::lower_bound(background.begin(), background.end(), ink);
    auto below = std::make_reverse_iterator(above);
    double contrast = 21;
    for (size_t taken = 0; taken < k; ++taken) {
        const bool fromBelow =
            above == background.end() ||
            (below != background.rend() && contrastRatio(ink, *below) < contrastRatio(ink, *above));
        contrast = contrastRatio(ink, fromBelow ? *below++ : *above++);
    }
    return contrast;
}

QList<TextReading> Readability::hardToRead() const
{
    QList<TextReading> hard;
    std::copy_if(m_readings.begin(), m_readings.end(), std::back_inserter(hard),
                 [](const TextReading &r) { return !r.readsWell(); });
    return hard;
}

const TextReading *Readability::reading(Role role, SceneKind scene) const
{
    for (const TextReading &r : m_readings) {
        if (r.role == role && r.scene == scene)
            return &r;
    }
    return nullptr;
}

double Readability::lowestFigure(int row, QRgb colour) const
{
    const double ink = relativeLuminance(colour);
    double lowest = 21;
    for (qsizetype i = 0; i < m_readings.size(); ++i) {
        if (m_readings[i].row == row)
            lowest = std::min(lowest, figure(m_backgrounds[size_t(i)], ink));
    }
    return lowest;
}

bool Readability::readsWell(int row, QRgb colour) const
{
    return lowestFigure(row, colour) >= ReadsWell;
}

QRgb Readability::mostReadableColour(int row, QRgb current) const
{
    const OkLch start = okLchOf(current);
    QRgb best = current;
    for (int step = 0; step <= 100; ++step) {
        const QRgb colour = nearestInGamut({step / 100.0, start.chroma, start.hue});
        if (lowestFigure(row, colour) > lowestFigure(row, best))
            best = colour;
    }
    return best;
}

std::optional<QRgb> Readability::readableColour(int row, QRgb current) const
{
    if (readsWell(row, current))
        return current;
    const OkLch start = okLchOf(current);
    const auto at = [&](double lightness) {
        return nearestInGamut({lightness, start.chroma, start.hue});
    };
    std::optional<QRgb> best;
    double bestStep = 2;
    // Lighter, then darker, in small steps to the first that reads well; then the edge
    // between it and the step before, by halving.
    for (double direction : {1.0, -1.0}) {
        double failing = start.lightness;
        for (double l = start.lightness;; l += direction * 0.01) {
            l = std::clamp(l, 0.0, 1.0);
            if (readsWell(row, at(l))) {
                double passing = l;
                for (int i = 0; i < 12; ++i) {
                    const double mid = (failing + passing) / 2;
                    (readsWell(row, at(mid)) ? passing : failing) = mid;
                }
                if (std::abs(passing - start.lightness) < bestStep) {
                    bestStep = std::abs(passing - start.lightness);
                    best = at(passing);
                }
                break;
            }
            if (l == 0.0 || l == 1.0)
                break;
            failing = l;
        }
    }
    return best;
}

QList<TextFix> mendTexts(const SceneRenderer &renderer, ColourTable &table,
                         Readability::Scenes scenes)
{
    const Readability readability(renderer, scenes);
    QList<TextFix> fixes;
    for (int row : SkinFileOrder) {
        const TextReading *worst = nullptr;
        for (const TextReading &r : readability.readings()) {
            if (r.row == row && !r.readsWell() && (!worst || r.contrast < worst->contrast))
                worst = &r;
        }
        if (!worst)
            continue;
        TextFix fix{row, table.at(row), {}, *worst, panelBeneath(worst->role)};
        if (const std::optional<QRgb> colour = readability.readableColour(row, worst->colour)) {
            fix.to = fix.from.left(4) + hexColour(*colour);
            table.set(row, fix.to);
        }
        fixes.append(fix);
    }
    return fixes;
}

int panelBeneath(Role text)
{
    const QRect box = pixelRect(layoutOf(text).geometry);
    // Later in the blending order lies on top.
    for (auto it = BlendOrder.rbegin(); it != BlendOrder.rend(); ++it) {
        const ElementLayout &panel = layoutOf(*it);
        if (pixelRect(panel.geometry).contains(box.center()))
            return panel.fillRow;
    }
    return -1;
}

QString hexColour(QRgb colour)
{
    return QStringLiteral("%1").arg(colour & 0xFFFFFF, 6, 16, QLatin1Char('0')).toUpper();
}

QString contrastText(double contrast)
{
    return QString::number(std::floor(contrast * 10) / 10, 'f', 1) + QStringLiteral(":1");
}

QString sceneWords(SceneKind scene)
{
    return scene == SceneKind::Colour
               ? QCoreApplication::translate("Readability", "on the gradient")
               : QCoreApplication::translate("Readability", "on the picture");
}
