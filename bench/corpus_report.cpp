// Suggests all four looks on each picture named and reports how they fare, as a table in
// Markdown: per look, the share of texts that read well where the picture allows it and
// on their own gradient, the closest two looks of one picture, the chroma grey pictures
// are given, the parts that look alike to any vision, and the time a suggestion takes.
// Every fifth picture, in the order named, is held back: reported apart, never tuned on.
//   corpus_report PICTURE... > report.md

#include "readability/Readability.h"
#include "readability/SkinSuggestion.h"
#include "readability/TellingApart.h"
#include "scene/BackgroundPicture.h"
#include "scene/SceneLayout.h"
#include "scene/SceneRenderer.h"

#include "colour/OkLab.h"

#include "skin/ColourTable.h"
#include "skin/SkinItems.h"
#include "skin/SkinLint.h"

#include <QGuiApplication>
#include <QImageReader>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

// What the picture allows a text: some colour reaches this there.
constexpr double Allowed = 4.6;
// A picture whose most colourful pixels stay below this has no colour.
constexpr double GreyChroma = 0.012;

struct Tally
{
    int onPicture = 0, allowedOnPicture = 0, onGradient = 0, texts = 0;
    int lookAlike = 0;
    double greyChroma = 0;
    std::vector<double> millis;
};

struct Set
{
    std::array<Tally, SuggestionCount> looks;
    int pictures = 0, grey = 0;
    double closest = 1e9;
    QString closestName;
    int closeLooks = 0; // pairs of looks below 0.08
    std::array<std::array<double, SuggestionCount>, SuggestionCount> closestOf{};
    std::array<std::array<int, SuggestionCount>, SuggestionCount> closeOf{};
    QStringList misses;
};

// The chroma of the picture's most colourful pixels as the scene shows it: the 99th
// percentile, so that a few stray pixels of a grey photograph do not count.
double colourfulness(BackgroundPicture &picture)
{
    const QImage shown = picture.stretchedTo(SceneSize).convertToFormat(QImage::Format_RGB32);
    std::vector<double> chroma;
    chroma.reserve(size_t(shown.width() * shown.height()));
    for (int y = 0; y < shown.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(shown.constScanLine(y));
        for (int x = 0; x < shown.width(); ++x)
            chroma.push_back(okLchOf(line[x]).chroma);
    }
    std::sort(chroma.begin(), chroma.end());
    return chroma[chroma.size() * 99 / 100];
}

double meanDistance(const std::vector<OkLab> &a, const std::vector<OkLab> &b)
{
    double sum = 0;
    for (size_t i = 0; i < a.size(); ++i)
        sum += std::hypot(a[i].lightness - b[i].lightness, a[i].a - b[i].a, a[i].b - b[i].b);
    return sum / double(a.size());
}

void measure(const QString &path, Set &set)
{
    QImageReader reader(path);
    reader.setAllocationLimit(0);
    const QImage image = reader.read();
    if (image.isNull()) {
        std::fprintf(stderr, "corpus_report: cannot read \"%s\": %s\n", qPrintable(path),
                     qPrintable(reader.errorString()));
        return;
    }
    StillPicture still(image);
    const QString name = path.section(u'/', -1);
    const bool grey = colourfulness(still) < GreyChroma;
    ++set.pictures;
    set.grey += grey;
    std::vector<std::vector<OkLab>> items;
    for (int variant = 1; variant <= SuggestionCount; ++variant) {
        Tally &tally = set.looks[size_t(variant - 1)];
        const auto start = std::chrono::steady_clock::now();
        const ColourTable skin = suggestSkin(still, variant);
        tally.millis.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
        SceneRenderer renderer;
        renderer.redraw(skin, still);
        const Readability readability(renderer, Readability::Scenes::Both);
        for (const TextReading &r : readability.readings()) {
            const bool reads = r.contrast >= ReadsWell;
            if (r.scene == SceneKind::Colour) {
                ++tally.texts;
                tally.onGradient += reads;
            } else if (r.best >= Allowed) {
                ++tally.allowedOnPicture;
                tally.onPicture += reads;
            }
            if (!reads && (r.scene == SceneKind::Colour || r.best >= Allowed))
                set.misses << QStringLiteral("%1, look %2: %3 %4 reads %5 (any colour %6)")
                                  .arg(name)
                                  .arg(variant)
                                  .arg(itemName(r.row), sceneWords(r.scene))
                                  .arg(r.contrast, 0, 'f', 2)
                                  .arg(r.best, 0, 'f', 2);
        }
        for (const PartsCompared &p : compareParts(renderer, Readability::Scenes::Both)) {
            tally.lookAlike += p.looksAlike();
            if (p.looksAlike())
                set.misses << QStringLiteral("%1, look %2: %3")
                                  .arg(name)
                                  .arg(variant)
                                  .arg(lookAlikeText(p));
        }
        std::vector<OkLab> look;
        for (int row : SkinFileOrder) {
            const QRgb colour = skin.at(row).toUInt(nullptr, 16);
            look.push_back(okLabOf(colour));
            if (grey)
                tally.greyChroma = std::max(tally.greyChroma, okLchOf(colour).chroma);
        }
        items.push_back(look);
    }
    for (size_t a = 0; a < items.size(); ++a) {
        for (size_t b = a + 1; b < items.size(); ++b) {
            const double d = meanDistance(items[a], items[b]);
            set.closeLooks += d < 0.08;
            set.closeOf[a][b] += d < 0.08;
            if (set.closestOf[a][b] == 0 || d < set.closestOf[a][b])
                set.closestOf[a][b] = d;
            if (d < set.closest) {
                set.closest = d;
                set.closestName =
                    QStringLiteral("%1 (looks %2 and %3)").arg(name).arg(a + 1).arg(b + 1);
            }
        }
    }
}

void report(const char *title, const Set &set)
{
    std::printf("### %s: %d pictures, %d of them grey\n\n", title, set.pictures, set.grey);
    std::printf("| look | read on the picture where it allows (%.1f:1) | read on their gradient | "
                "pairs alike (any vision) | grey pictures' most chroma | ms per suggestion "
                "(median, max) |\n|---|---|---|---|---|---|\n",
                Allowed);
    static const char *names[] = {"light", "dark", "vivid", "muted"};
    for (size_t i = 0; i < set.looks.size(); ++i) {
        const Tally &t = set.looks[i];
        std::vector<double> ms = t.millis;
        std::sort(ms.begin(), ms.end());
        std::printf("| %s | %d / %d (%.1f %%) | %d / %d (%.1f %%) | %d | %s | %.0f, %.0f |\n",
                    names[i], t.onPicture, t.allowedOnPicture,
                    100.0 * t.onPicture / std::max(1, t.allowedOnPicture), t.onGradient, t.texts,
                    100.0 * t.onGradient / std::max(1, t.texts), t.lookAlike,
                    set.grey ? qPrintable(QString::number(t.greyChroma, 'f', 4)) : "—",
                    ms.empty() ? 0 : ms[ms.size() / 2], ms.empty() ? 0 : ms.back());
    }
    std::printf("\nClosest two looks of one picture: %.3f, %s; pairs of looks below 0.08: %d.\n\n",
                set.closest, qPrintable(set.closestName), set.closeLooks);
    for (size_t a = 0; a < set.looks.size(); ++a)
        for (size_t b = a + 1; b < set.looks.size(); ++b)
            std::printf("- %s and %s: closest %.3f, %d pictures below 0.08\n", names[a], names[b],
                        set.closestOf[a][b], set.closeOf[a][b]);
    std::printf("\n");
    for (const QString &miss : set.misses)
        std::printf("- %s\n", qPrintable(miss));
    if (!set.misses.isEmpty())
        std::printf("\n");
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    QStringList paths = app.arguments().mid(1);
    if (paths.isEmpty()) {
        std::fprintf(stderr, "usage: corpus_report PICTURE...\n");
        return 2;
    }
    Set tuned, heldBack;
    for (qsizetype i = 0; i < paths.size(); ++i) {
        std::fprintf(stderr, "%lld/%lld %s\n", qlonglong(i + 1), qlonglong(paths.size()),
                     qPrintable(paths[i]));
        measure(paths[i], i % 5 == 4 ? heldBack : tuned);
    }
    std::printf("## %d wallpapers\n\n", tuned.pictures + heldBack.pictures);
    report("Tuned on", tuned);
    report("Held back (every fifth, never tuned on)", heldBack);
    return 0;
}
