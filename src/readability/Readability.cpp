#include "readability/Readability.h"

#include "scene/SceneRenderer.h"

#include "colour/OkLab.h"
#include "colour/Srgb.h"

#include "skin/ColourTable.h"
#include "skin/Conversions.h"

#include "platform/QtColour.h"

#include <QCoreApplication>
#include <QFontMetrics>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// Where a text's groups of words part: for each run of two spaces or more, the column in
// the middle of it, from the left of the text's box.
QList<int> wordGroupEdges(const QString &text, const QFont &font)
{
    const QFontMetricsF metrics(font);
    QList<int> edges;
    for (qsizetype i = 0; i < text.size();) {
        qsizetype run = 0;
        while (i + run < text.size() && text[i + run] == u' ')
            ++run;
        if (run >= 2 && i > 0 && i + run < text.size())
            edges.append(int(std::lround(metrics.horizontalAdvance(text.left(i + run / 2)))));
        i += std::max<qsizetype>(run, 1);
    }
    return edges;
}

// The bounding box of the pixels `mask` (`size`, row by row) marks in columns [from, to).
QRect glyphBounds(const std::vector<char> &mask, QSize size, int from, int to)
{
    int left = to, right = from - 1, top = size.height(), bottom = -1;
    for (int y = 0; y < size.height(); ++y) {
        for (int x = from; x < to; ++x) {
            if (mask[size_t(y) * size_t(size.width()) + size_t(x)]) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    return {QPoint(left, top), QPoint(right, bottom)};
}

// Near black and white the bytes leave no room for a hue: a colour that lost it is no
// colour of `start`'s hue. A grey has none to keep.
bool keepsHue(const OkLch &start, QRgb colour)
{
    return start.chroma < 0.03 ||
           std::abs(std::remainder(okLchOf(colour).hue - start.hue, 360.0)) < 3;
}

size_t countedOut(size_t pixels)
{
    return std::max<size_t>(1, size_t(std::ceil(IgnoredShare * double(pixels))));
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

Readability::Readability(const SceneRenderer &renderer, Scenes scenes, Vision vision,
                         double severity)
{
    measure(renderer, scenes, vision, severity, {});
}

Readability::Readability(const SceneRenderer &renderer, Scenes scenes, std::span<const Role> roles)
{
    measure(renderer, scenes, Vision::Normal, DefaultSeverity, roles);
}

void Readability::measure(const SceneRenderer &renderer, Scenes scenes, Vision vision,
                          double severity, std::span<const Role> roles)
{
    for (SceneKind kind : {SceneKind::Colour, SceneKind::Picture}) {
        if (kind == SceneKind::Picture && scenes == Scenes::ColourOnly)
            continue;
        const Scene &scene = renderer.scene(kind);
        for (const ElementLayout &layout : sceneLayout()) {
            if (!layout.isText() || layout.role == Role::TitleShadow ||
                (!roles.empty() &&
                 std::find(roles.begin(), roles.end(), layout.role) == roles.end()))
                continue;
            const Scene::Element &e = scene.element(layout.role);
            const QRect clip = pixelRect(e.box) & QRect(QPoint(0, 0), SceneSize);
            if (clip.isEmpty())
                continue;
            // What lies around the glyphs is what the scene shows there without the text.
            QImage shown = scene.shownWithout(clip, layout.role);
            const std::vector<char> mask = scene.glyphsWithin(clip, layout.role);
            // The title's shadow belongs to the title's drawing, not to what lies beneath
            // it: how busy that is is measured without it. Where the title's glyphs cover
            // it too, the pixels are the title's.
            const std::vector<char> shadow = layout.role == Role::TitleText
                                                 ? scene.inkWithin(clip, Role::TitleShadow)
                                                 : std::vector<char>(mask.size(), 0);
            if (vision != Vision::Normal)
                simulateVision(shown, vision, severity);
            // Words that stand apart, as the two section labels do, are read apart: each
            // group's glyphs lie between the middles of the gaps either side of it.
            QList<int> edges = wordGroupEdges(e.text, scene.font(layout.role));
            edges.prepend(0);
            edges.append(clip.width() + (pixelRect(e.box).left() - clip.left()));
            const int shift = clip.left() - pixelRect(e.box).left();
            for (qsizetype part = 0; part + 1 < edges.size(); ++part) {
                const int from = std::max(edges[part] - shift, 0);
                const int to = std::min(edges[part + 1] - shift, clip.width());
                const QRect glyphs = glyphBounds(mask, clip.size(), from, to);
                if (glyphs.isEmpty())
                    continue;
                std::vector<double> background, beneath;
                background.reserve(size_t(glyphs.width()) * size_t(glyphs.height()));
                for (int y = glyphs.top(); y <= glyphs.bottom(); ++y) {
                    const auto *line = reinterpret_cast<const QRgb *>(shown.constScanLine(y));
                    for (int x = glyphs.left(); x <= glyphs.right(); ++x) {
                        const size_t at = size_t(y) * size_t(clip.width()) + size_t(x);
                        if (mask[at])
                            continue;
                        background.push_back(relativeLuminance(line[x]));
                        if (!shadow[at])
                            beneath.push_back(background.back());
                    }
                }
                std::sort(background.begin(), background.end());
                const QRgb colour = toQRgb(e.textColour);
                m_readings.append(
                    {layout.role, kind, layout.textRow, colour, glyphs.translated(clip.topLeft()),
                     figure(background,
                            relativeLuminance(simulateVision(colour, vision, severity))),
                     bestFigure(background), int(part), rmsContrast(beneath),
                     layout.role == Role::TitleText &&
                         isLight(colour) !=
                             isLight(toQRgb(scene.element(Role::TitleShadow).textColour))});
                m_backgrounds.push_back(std::move(background));
            }
        }
    }
}

double Readability::figure(const std::vector<double> &background, double ink)
{
    // With nothing beneath but the text itself, nothing takes from it.
    if (background.empty())
        return 21;
    // The contrast falls as a background luminance nears the ink's from either side, so
    // the lowest contrasts are the luminances nearest it: merged outward from it, the
    // k-th taken is the k-th lowest.
    const size_t k = countedOut(background.size());
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

double Readability::bestFigure(const std::vector<double> &background)
{
    if (background.empty())
        return 21;
    // On the scale of log(luminance + 0.05) a contrast is a distance, and the figure the
    // distance to the k-th nearest background luminance. That is highest either at black
    // or white, or midway between two luminances k apart with the k - 1 between them
    // nearer: there it is the square root of their ratio. Midway between two luminances
    // is a luminance too, so every pair counts, and the root is taken of the largest.
    const size_t k = countedOut(background.size());
    double best = std::max(figure(background, 0.0), figure(background, 1.0));
    double widest = 1;
    for (size_t i = 0; i + k < background.size(); ++i)
        widest = std::max(widest, (background[i + k] + 0.05) / (background[i] + 0.05));
    best = std::max(best, std::sqrt(widest));
    return best;
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
    const TextReading *worst = nullptr;
    for (const TextReading &r : m_readings) {
        if (r.role == role && r.scene == scene && (!worst || r.contrast < worst->contrast))
            worst = &r;
    }
    return worst;
}

double Readability::lowestFigure(int row, QRgb colour, std::optional<SceneKind> scene) const
{
    const double ink = relativeLuminance(colour);
    double lowest = 21;
    for (qsizetype i = 0; i < m_readings.size(); ++i) {
        if (m_readings[i].row == row && (!scene || m_readings[i].scene == *scene))
            lowest = std::min(lowest, figure(m_backgrounds[size_t(i)], ink));
    }
    return lowest;
}

double Readability::figureIn(qsizetype index, QRgb colour) const
{
    return figure(m_backgrounds[size_t(index)], relativeLuminance(colour));
}

bool Readability::readsWell(int row, QRgb colour, std::optional<SceneKind> scene) const
{
    return lowestFigure(row, colour, scene) >= ReadsWell;
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

std::optional<QRgb> Readability::mostReadableKeeping(int row, QRgb current, SceneKind kept) const
{
    const SceneKind other = kept == SceneKind::Colour ? SceneKind::Picture : SceneKind::Colour;
    const OkLch start = okLchOf(current);
    std::optional<QRgb> chosen;
    std::pair<double, double> chosenRank;
    // Fine steps: the colours of a hue that read well on a gradient of both tones lie in a
    // narrow band.
    for (int step = 0; step <= 1000; ++step) {
        const double lightness = step / 1000.0;
        const QRgb colour = nearestInGamut({lightness, start.chroma, start.hue});
        if (!keepsHue(start, colour) || !readsWell(row, colour, kept))
            continue;
        const std::pair<double, double> rank = {lowestFigure(row, colour, other),
                                                -std::abs(lightness - start.lightness)};
        if (!chosen || rank > chosenRank) {
            chosenRank = rank;
            chosen = colour;
        }
    }
    return chosen;
}

std::optional<QRgb> Readability::readableColour(int row, QRgb current,
                                                std::optional<SceneKind> scene) const
{
    if (readsWell(row, current, scene))
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
            const auto fits = [&](double lightness) {
                return keepsHue(start, at(lightness)) && readsWell(row, at(lightness), scene);
            };
            if (fits(l)) {
                double passing = l;
                for (int i = 0; i < 12; ++i) {
                    const double mid = (failing + passing) / 2;
                    (fits(mid) ? passing : failing) = mid;
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

QString Readability::whatIsLeft(int row, QRgb current) const
{
    const TextReading *worst = nullptr, *hopeless = nullptr;
    bool bothScenes = false;
    for (const TextReading &r : m_readings) {
        bothScenes |= r.scene == SceneKind::Picture;
        if (r.row != row)
            continue;
        if (!worst || r.contrast < worst->contrast)
            worst = &r;
        if (!hopeless || r.best < hopeless->best)
            hopeless = &r;
    }
    if (!worst)
        return {};
    const int panel = panelBeneath(worst->role);
    if (bothScenes && readableColour(row, current, SceneKind::Colour) &&
        readableColour(row, current, SceneKind::Picture))
        return QCoreApplication::translate("Readability",
                                           "reads well on the gradient or on the picture, not "
                                           "both: %1")
            .arg(panel < 0 ? QCoreApplication::translate("Readability", "change the gradient")
                           : QCoreApplication::translate("Readability",
                                                         "raise \"%1\"'s opacity, or change the "
                                                         "gradient")
                                 .arg(shownLabel(SkinItems[size_t(panel)])));
    if (hopeless->best < ReadsWell)
        return QCoreApplication::translate("Readability", "no colour reads better than %1 %2: %3")
            .arg(contrastText(hopeless->best), sceneWords(hopeless->scene),
                 leverWords(hopeless->role, hopeless->scene));
    if (panel < 0)
        return QCoreApplication::translate("Readability", "no colour of its hue reads well %1")
            .arg(sceneWords(worst->scene));
    return QCoreApplication::translate("Readability",
                                       "no colour of its hue reads well %1; raise \"%2\"'s opacity")
        .arg(sceneWords(worst->scene), shownLabel(SkinItems[size_t(panel)]));
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
        TextFix fix{row, table.at(row), {}, *worst, panelBeneath(worst->role), true};
        std::optional<QRgb> colour = readability.readableColour(row, worst->colour);
        if (!colour && scenes == Readability::Scenes::Both) {
            fix.readsEverywhere = false;
            colour = readability.mostReadableKeeping(row, worst->colour, SceneKind::Colour);
        }
        if (colour && (*colour & 0xFFFFFF) != (worst->colour & 0xFFFFFF)) {
            fix.to = fix.from.left(4) + hexColour(*colour);
            table.set(row, fix.to);
        }
        fixes.append(fix);
    }
    return fixes;
}

QList<TextReading> hardestOfEach(const QList<TextReading> &readings, ItemsRead items)
{
    QList<TextReading> hardest;
    for (const TextReading &r : readings) {
        const auto same = std::find_if(hardest.begin(), hardest.end(), [&](const TextReading &h) {
            return h.row == r.row && (items == ItemsRead::Whole || h.scene == r.scene);
        });
        if (same == hardest.end())
            hardest.append(r);
        else if (r.contrast < same->contrast)
            *same = r;
    }
    return hardest;
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

std::optional<int> opaqueEnough(const ColourTable &colours, BackgroundPicture &picture,
                                TextMode mode, int panelRow, Readability::Scenes scenes, bool byHue,
                                int fromPercent, PanelAim aim)
{
    const std::optional<Components> panel = colourFromCode(colours.at(panelRow));
    if (!panel)
        return std::nullopt;
    ColourTable trial = colours;
    SceneRenderer renderer;
    renderer.setTextMode(mode);
    renderer.setExtent(SceneRenderer::Extent::TextsAndBars);
    std::optional<int> reading;
    // Upward, as a text may read well at some opacity and not at a higher one.
    for (int percent = std::clamp(fromPercent, 0, 100); percent <= 100; ++percent) {
        trial.set(panelRow, codeFromColour(std::int16_t(percent), std::uint8_t(panel->red),
                                           std::uint8_t(panel->green), std::uint8_t(panel->blue)));
        renderer.redraw(trial, picture);
        const Readability readability(renderer, scenes);
        bool reads = true, calm = true;
        for (const TextReading &r : readability.readings()) {
            if (panelBeneath(r.role) != panelRow)
                continue;
            reads =
                reads && (r.readsWell() || (byHue && readability.readableColour(r.row, r.colour)));
            calm = calm && !r.overBusy();
        }
        if (reads && !reading)
            reading = percent;
        if (reads && (aim == PanelAim::Reading || calm))
            return percent;
    }
    return reading;
}

QList<TextReading> busiestOfEach(const QList<TextReading> &readings)
{
    QList<TextReading> busiest;
    for (const TextReading &r : readings) {
        if (!r.overBusy())
            continue;
        const auto same = std::find_if(busiest.begin(), busiest.end(), [&](const TextReading &b) {
            return b.row == r.row && b.scene == r.scene;
        });
        if (same == busiest.end())
            busiest.append(r);
        else if (r.busy > same->busy)
            *same = r;
    }
    return busiest;
}

double rmsContrast(const std::vector<double> &luminances)
{
    double sum = 0, squares = 0;
    for (double l : luminances)
        sum += l;
    const double n = double(luminances.size()), mean = n > 0 ? sum / n : 0;
    if (mean <= 0)
        return 0;
    for (double l : luminances)
        squares += (l - mean) * (l - mean);
    return std::sqrt(squares / n) / mean;
}

bool isLight(QRgb colour)
{
    // The luminance at which black and white contrast alike.
    static const double even = std::sqrt(1.05 * 0.05) - 0.05;
    return relativeLuminance(colour) > even;
}
