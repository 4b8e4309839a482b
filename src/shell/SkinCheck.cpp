#include "shell/SkinCheck.h"

#include "shell/HeadlessPreview.h"

#include "skin/ColourTable.h"
#include "skin/Conversions.h"
#include "skin/SkinFile.h"
#include "skin/SkinItems.h"

#include "platform/Error.h"
#include "platform/Files.h"
#include "platform/QtColour.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstdio>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr double LeastContrast = 3.0;
constexpr qsizetype FarthestMisspelling = 2; // edits from a real key

QString itemName(int row)
{
    const SkinItem &item = SkinItems[static_cast<size_t>(row)];
    return u"\"%1\" (%2)"_s.arg(item.label, item.key);
}

qsizetype editDistance(QStringView a, QStringView b)
{
    QList<qsizetype> previous(b.size() + 1), current(b.size() + 1);
    for (qsizetype j = 0; j <= b.size(); ++j)
        previous[j] = j;
    for (qsizetype i = 1; i <= a.size(); ++i) {
        current[0] = i;
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const bool same = a[i - 1].toLower() == b[j - 1].toLower();
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + !same});
        }
        std::swap(previous, current);
    }
    return previous[b.size()];
}

// Why a line the reader skipped looks meant as a colour line, or nothing.
QString skippedColourLine(const QString &line)
{
    const qsizetype equals = line.indexOf(u'=');
    if (equals < 0)
        return {};
    const QString key = line.left(equals).trimmed();
    const QString value = line.mid(equals + 1).trimmed();
    if (const int row = rowOfKey(key); row >= 0)
        return u"line skipped: %1 is read only with one space either side of \"=\", as in \"%2 = %3\""_s
            .arg(itemName(row), SkinItems[static_cast<size_t>(row)].key, value);
    if (!value.startsWith("0x"_L1, Qt::CaseInsensitive))
        return {};
    for (int row = 0; row < ItemCount; ++row) {
        const SkinItem &item = SkinItems[static_cast<size_t>(row)];
        if (item.isColour() && editDistance(key, QString(item.key)) <= FarthestMisspelling)
            return u"line skipped: \"%1\" is no item of a skin; did you mean \"%2\"?"_s.arg(
                key, item.key);
    }
    return u"line skipped: \"%1\" is no item of a skin"_s.arg(key);
}

double luminance(Rgb c)
{
    const auto linear = [](int channel) {
        const double v = channel / 255.0;
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.red) + 0.7152 * linear(c.green) + 0.0722 * linear(c.blue);
}

double contrast(double a, double b)
{
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

// The lowest contrast of the text colour with any pixel of its box.
double lowestContrast(const QImage &scene, QRect box, Rgb text)
{
    const double ink = luminance(text);
    double lowest = 21;
    box &= scene.rect();
    for (int y = box.top(); y <= box.bottom(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(scene.constScanLine(y));
        for (int x = box.left(); x <= box.right(); ++x)
            lowest = std::min(lowest, contrast(ink, luminance(rgbOf(fromQRgb(line[x])))));
    }
    return lowest;
}

// Texts that do not stand out from the colour scene under them.
void findLowContrast(const ColourTable &colours, const std::array<int, ItemCount> &setOn,
                     QList<SkinProblem> &problems)
{
    try {
        HeadlessPreview headless(colours);
        const PreviewWindow &preview = headless.open();
        const QImage &scene = preview.colourSceneBackground();
        for (const PreviewWindow::PlacedText &text : preview.colourSceneTexts()) {
            // A shadow is meant to sink into what is under it.
            if (text.row == Row::Shadow)
                continue;
            const double lowest =
                lowestContrast(scene, text.box, rgbOf(displayColourOf(colours, text.row)));
            if (lowest < LeastContrast)
                problems.append({setOn[static_cast<size_t>(text.row)], SkinProblem::Warning,
                                 u"%1 as \"%2\" at (%3, %4) has a contrast of %5:1 with the "
                                 "colour scene under it; 3:1 is the least for readable text"_s
                                     .arg(itemName(text.row), text.text)
                                     .arg(text.box.x())
                                     .arg(text.box.y())
                                     .arg(std::floor(lowest * 100) / 100, 0, 'f', 2)});
        }
    } catch (const Error &e) {
        problems.append(
            {0, SkinProblem::Error, "the preview cannot be drawn: "_L1 + e.description()});
    }
}

} // namespace

QList<SkinProblem> checkSkin(const QString &path)
{
    QList<SkinProblem> problems;
    ColourTable colours;
    std::array<int, ItemCount> setOn{};
    int lineNumber = 0;
    try {
        readLines8bit(path, LargestSkinFile, [&](const QString &line) {
            ++lineNumber;
            if (const std::optional<SkinLine> read = readSkinLine(line)) {
                colours.set(read->row, read->code);
                setOn[static_cast<size_t>(read->row)] = lineNumber;
            } else if (const QString why = skippedColourLine(line); !why.isEmpty()) {
                problems.append({lineNumber, SkinProblem::Warning, why});
            }
        });
    } catch (const Error &e) {
        return {{0, SkinProblem::Error, e.description()}};
    }

    bool drawable = true;
    for (int row = 0; row < ItemCount; ++row) {
        const QString &code = colours.at(row);
        if (!SkinItems[static_cast<size_t>(row)].isColour())
            continue;
        if (code.isEmpty()) {
            problems.append({0, SkinProblem::Warning, itemName(row) + " is not set"_L1});
            drawable = false;
            continue;
        }
        try {
            colourFromCode(code);
        } catch (const Error &e) {
            problems.append({setOn[static_cast<size_t>(row)], SkinProblem::Error,
                             u"%1: the code \"%2\" cannot be read: %3"_s.arg(itemName(row), code,
                                                                             e.description())});
            drawable = false;
        }
    }
    if (drawable)
        findLowContrast(colours, setOn, problems);
    std::stable_sort(problems.begin(), problems.end(),
                     [](const SkinProblem &a, const SkinProblem &b) { return a.line < b.line; });
    return problems;
}

int checkSkins(const QStringList &paths)
{
    bool anyError = false;
    for (const QString &path : paths) {
        for (const SkinProblem &p : checkSkin(path)) {
            anyError |= p.severity == SkinProblem::Error;
            const char *severity = p.severity == SkinProblem::Error ? "error" : "warning";
            std::printf("%s:%d: %s: %s\n", qPrintable(path), p.line, severity, qPrintable(p.text));
        }
    }
    std::fflush(stdout);
    return anyError ? 1 : 0;
}
