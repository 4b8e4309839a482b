#include "readability/TellingApart.h"

#include "scene/SceneRenderer.h"

#include "colour/Ciede2000.h"

#include "platform/QtColour.h"
#include "platform/Translations.h"

#include "skin/SkinLint.h"

#include <QCoreApplication>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace {

// The glyphs of the text of `role` alone, drawn within `box` in black, as they cover each
// pixel. The same for every colour and scene: drawn once for those `seen` keeps.
QImage inkOf(Role role, const QString &text, QRect box, PartsSeen *seen)
{
    if (const std::optional<QImage> kept = seen ? seen->ink(role, text, box) : std::nullopt)
        return *kept;
    QImage ink(box.size(), QImage::Format_Alpha8);
    ink.fill(0);
    QPainter painter(&ink);
    painter.translate(-box.topLeft());
    painter.setClipRect(box);
    painter.setFont(fontOf(layoutOf(role)));
    painter.setPen(Qt::black);
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    painter.end();
    if (seen)
        seen->keepInk(role, text, box, ink);
    return ink;
}

// The pixels of a part, as a picture one pixel high, so that a vision is seen on them
// as on a scene.
QImage partPixels(const Scene &scene, Role role, PartsSeen *seen)
{
    const ElementLayout &layout = layoutOf(role);
    const Scene::Element &e = scene.element(role);
    const QRect box = pixelRect(e.box) & QRect(QPoint(0, 0), SceneSize);
    QList<QRgb> pixels;
    pixels.reserve(qsizetype(std::max(box.width() * box.height(), 0)));
    if (!layout.isText()) {
        // Only where the bar shows: its outline and the texts over it are not its colour,
        // and over a busy picture they move the median a long way.
        if (box.isEmpty())
            return {};
        const QImage shown = scene.shownWithin(box, role, {});
        for (int y = 0; y < box.height(); ++y) {
            const auto *line = reinterpret_cast<const QRgb *>(shown.constScanLine(y));
            const auto *bare =
                reinterpret_cast<const QRgb *>(scene.image().constScanLine(y + box.top())) +
                box.left();
            for (int x = 0; x < box.width(); ++x)
                if (line[x] == bare[x])
                    pixels << line[x];
        }
    } else {
        // The glyphs alone, drawn as the scene draws the text. Their edges are blends
        // with what lies beneath, and small type is mostly edges: the text's colour is
        // read where the glyphs cover a pixel wholly, or as nearly as they cover any.
        // Drawn within the box alone, shifted by whole pixels as the scene draws it there.
        if (box.isEmpty())
            return {};
        const QImage shown = scene.shownWithin(box, role, toQColor(e.textColour));
        const QImage ink = inkOf(role, e.text, box, seen);
        int solid = 1;
        for (int y = 0; y < box.height(); ++y)
            solid = std::max(solid, int(*std::max_element(ink.constScanLine(y),
                                                          ink.constScanLine(y) + box.width())));
        solid = std::min(solid, 250);
        for (int y = 0; y < box.height(); ++y) {
            const uchar *covered = ink.constScanLine(y);
            const auto *line = reinterpret_cast<const QRgb *>(shown.constScanLine(y));
            for (int x = 0; x < box.width(); ++x)
                if (covered[x] >= solid)
                    pixels << line[x];
        }
    }
    QImage line(int(pixels.size()), 1, QImage::Format_RGB32);
    std::copy(pixels.begin(), pixels.end(), reinterpret_cast<QRgb *>(line.scanLine(0)));
    return line;
}

int rowOf(Role role)
{
    const ElementLayout &layout = layoutOf(role);
    return layout.isText() ? layout.textRow : layout.fillRow;
}

size_t visionIndex(Vision vision)
{
    return size_t(std::find(std::begin(Visions), std::end(Visions), vision) - std::begin(Visions));
}

// Enough for the parts of both scenes that one search step compares.
constexpr size_t PartsKept = 24;

} // namespace

QRgb medianColour(const QImage &line)
{
    // Counted, not sorted: the value at the middle of each channel's order.
    const auto *pixels = reinterpret_cast<const QRgb *>(line.constScanLine(0));
    const int width = line.width();
    std::array<std::array<int, 256>, 3> counts{};
    for (int x = 0; x < width; ++x) {
        ++counts[0][qRed(pixels[x])];
        ++counts[1][qGreen(pixels[x])];
        ++counts[2][qBlue(pixels[x])];
    }
    int median[3];
    for (size_t i = 0; i < 3; ++i) {
        int value = 0;
        for (int below = counts[i][0]; below <= width / 2; below += counts[i][size_t(value)])
            ++value;
        median[i] = value;
    }
    return qRgb(median[0], median[1], median[2]);
}

qsizetype PartsSeen::indexOf(const QImage &pixels, double severity) const
{
    for (size_t i = 0; i < m_parts.size(); ++i) {
        const Part &part = m_parts[i];
        if (part.severity == severity && part.pixels.width() == pixels.width() &&
            std::equal(part.pixels.constBits(), part.pixels.constBits() + pixels.width() * 4,
                       pixels.constBits()))
            return qsizetype(i);
    }
    return -1;
}

std::optional<QRgb> PartsSeen::find(const QImage &pixels, Vision vision, double severity) const
{
    const qsizetype i = indexOf(pixels, severity);
    return i < 0 ? std::nullopt : m_parts[size_t(i)].colours[visionIndex(vision)];
}

std::optional<QImage> PartsSeen::ink(Role role, const QString &text, QRect box) const
{
    for (const auto &[r, t, b, ink] : m_inks) {
        if (r == role && t == text && b == box)
            return ink;
    }
    return std::nullopt;
}

void PartsSeen::keepInk(Role role, const QString &text, QRect box, const QImage &ink)
{
    m_inks.emplace_back(role, text, box, ink);
}

void PartsSeen::keep(const QImage &pixels, Vision vision, double severity, QRgb colour)
{
    qsizetype i = indexOf(pixels, severity);
    if (i < 0) {
        if (m_parts.size() < PartsKept) {
            i = qsizetype(m_parts.size());
            m_parts.emplace_back();
        } else {
            i = qsizetype(m_next);
            m_next = (m_next + 1) % PartsKept;
        }
        m_parts[size_t(i)] = {pixels, severity, {}};
    }
    m_parts[size_t(i)].colours[visionIndex(vision)] = colour;
}

QList<PartsCompared> compareParts(const SceneRenderer &renderer, Readability::Scenes scenes,
                                  std::span<const Vision> visions, double severity,
                                  std::span<const std::array<Role, 2>> pairs, double below,
                                  PartsSeen *seen)
{
    QList<PartsCompared> compared;
    for (SceneKind kind : {SceneKind::Colour, SceneKind::Picture}) {
        if (kind == SceneKind::Picture && scenes == Readability::Scenes::ColourOnly)
            continue;
        const Scene &scene = renderer.scene(kind);
        std::map<Role, QImage> parts;
        for (const auto &pair : pairs)
            for (Role role : pair)
                if (!parts.contains(role))
                    parts[role] = partPixels(scene, role, seen);
        // Those that see fewest colours first, where a search stops at the first pair
        // that fails it.
        std::vector<Vision> order(visions.begin(), visions.end());
        if (below >= 0)
            std::reverse(order.begin(), order.end());
        for (Vision vision : order) {
            std::map<Role, QRgb> colours;
            for (auto [role, pixels] : parts) {
                if (pixels.isNull())
                    continue;
                if (const auto known = seen ? seen->find(pixels, vision, severity) : std::nullopt) {
                    colours[role] = *known;
                    continue;
                }
                const QImage asDrawn = pixels;
                simulateVision(pixels, vision, severity);
                colours[role] = medianColour(pixels);
                if (seen)
                    seen->keep(asDrawn, vision, severity, colours[role]);
            }
            for (const auto &[first, second] : pairs) {
                if (!colours.contains(first) || !colours.contains(second))
                    continue;
                const PartsCompared now{
                    vision,       severity,      first, second,
                    rowOf(first), rowOf(second), kind,  ciede2000(colours[first], colours[second])};
                // Of the two scenes, the one where they look most alike counts.
                const auto before = std::find_if(compared.begin(), compared.end(), [&](auto &c) {
                    return c.vision == now.vision && c.first == now.first && c.second == now.second;
                });
                if (before == compared.end())
                    compared.append(now);
                else if (now.difference < before->difference)
                    *before = now;
                if (now.difference < below)
                    return compared;
            }
        }
    }
    return compared;
}

QString lookAlikeText(const PartsCompared &parts)
{
    // English writes the name in lower case within a sentence; a translation as it has it.
    const QString vision = QCoreApplication::translate("Vision", visionName(parts.vision));
    QString seen = parts.vision == Vision::Normal
                       ? QCoreApplication::translate("TellingApart", "normal vision")
                   : vision == QLatin1String(visionName(parts.vision)) ? vision.toLower()
                                                                       : vision;
    if (hasSeverity(parts.vision))
        seen = QCoreApplication::translate("TellingApart", "%1 at severity %2")
                   .arg(seen, Translations::decimal(parts.severity, -1));
    // The scene where they differ least is named: the other may show them farther apart.
    return QCoreApplication::translate("TellingApart",
                                       "with %1, %2 and %3 differ by ΔE00 %4 %5 (%6 wanted)%7")
        .arg(seen, itemName(parts.firstRow), itemName(parts.secondRow),
             Translations::decimal(std::floor(parts.difference * 10) / 10, 1),
             sceneWords(parts.scene), QString::number(TellsApart),
             parts.looksAlike() ? QCoreApplication::translate("TellingApart", ": they look alike")
                                : QString());
}
