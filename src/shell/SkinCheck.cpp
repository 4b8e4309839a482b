#include "shell/SkinCheck.h"

#include "preview/SceneRenderer.h"

#include "skin/Conversions.h"
#include "skin/SkinFile.h"
#include "skin/SkinItems.h"

#include "platform/Error.h"
#include "platform/Files.h"
#include "platform/QtColour.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr double LeastContrast = 3.0;

// Relative luminance of each channel value, worked out once.
const std::array<double, 256> &linearChannel()
{
    static const std::array<double, 256> table = [] {
        std::array<double, 256> t{};
        for (size_t i = 0; i < t.size(); ++i) {
            const double v = double(i) / 255.0;
            t[i] = v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        }
        return t;
    }();
    return table;
}

double luminance(int red, int green, int blue)
{
    const auto &linear = linearChannel();
    return 0.2126 * linear[size_t(red)] + 0.7152 * linear[size_t(green)] +
           0.0722 * linear[size_t(blue)];
}

double contrast(double a, double b)
{
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

// The lowest contrast of the text colour with any pixel of its box: against the pixels
// nearest the text's luminance, from below and from above.
double lowestContrast(const QImage &scene, QRect box, Rgb text)
{
    const double ink = luminance(text.red, text.green, text.blue);
    double below = -1, above = 2;
    box &= scene.rect();
    for (int y = box.top(); y <= box.bottom(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(scene.constScanLine(y));
        for (int x = box.left(); x <= box.right(); ++x) {
            const double l = luminance(qRed(line[x]), qGreen(line[x]), qBlue(line[x]));
            if (l <= ink)
                below = std::max(below, l);
            if (l >= ink)
                above = std::min(above, l);
        }
    }
    double lowest = 21;
    if (below >= 0)
        lowest = contrast(ink, below);
    if (above <= 1)
        lowest = std::min(lowest, contrast(ink, above));
    return lowest;
}

void sortByLine(QList<SkinProblem> &problems)
{
    std::stable_sort(problems.begin(), problems.end(),
                     [](const SkinProblem &a, const SkinProblem &b) { return a.line < b.line; });
}

} // namespace

FactorySkin::FactorySkin(QString path) : path(std::move(path))
{
    try {
        lint = lintSkin(readSmallFile(this->path, LargestSkinFile));
    } catch (const Error &e) {
        problem = e.description();
    }
}

bool CheckedSkin::drawable() const
{
    return std::none_of(problems.begin(), problems.end(),
                        [](const SkinProblem &p) { return p.severity == SkinProblem::Error; });
}

CheckedSkin readSkin(const QString &path, const FactorySkin &factory)
{
    CheckedSkin skin;
    SkinLint lint;
    try {
        lint = lintSkin(readSmallFile(path, LargestSkinFile));
    } catch (const Error &e) {
        skin.problems.append({0, SkinProblem::Error, e.description()});
        return skin;
    }
    skin.problems = lint.problems;
    skin.lineOf = lint.lineOf;
    if (!lint.isSkin)
        return skin;
    for (int row : SkinFileOrder) {
        if (lint.lineOf[size_t(row)] != 0) {
            skin.colours.set(row, lint.codes.at(row));
            continue;
        }
        const QString &code = factory.lint.codes.at(row);
        skin.colours.set(row, code);
        if (!factory.problem.isEmpty())
            skin.problems.append({0, SkinProblem::Error,
                                  u"%1 is not set, and the factory skin cannot give it: %2"_s.arg(
                                      itemName(row), factory.problem)});
        else if (const QString why = whyNotDrawable(code); !why.isEmpty())
            skin.problems.append(
                {0, SkinProblem::Error,
                 u"%1 is not set, and the factory skin \"%2\" cannot give it: %3"_s.arg(
                     itemName(row), factory.path, why)});
        else if (!lint.oneLine)
            skin.problems.append(
                {0, SkinProblem::Warning,
                 u"%1 is not set; it keeps the factory colour %2"_s.arg(itemName(row), code)});
    }
    sortByLine(skin.problems);
    return skin;
}

QList<SkinProblem> lowContrast(SceneRenderer &renderer, const ColourTable &colours,
                               const std::array<int, ItemCount> &lineOf)
{
    QList<SkinProblem> problems;
    StillPicture none;
    renderer.redraw(colours, none);
    const Scene &scene = renderer.scene(SceneKind::Colour);
    for (const ElementLayout &layout : sceneLayout()) {
        // A shadow is meant to sink into what is under it.
        if (!layout.isText() || layout.role == Role::TitleShadow)
            continue;
        const QRect box = pixelRect(scene.element(layout.role).box);
        const double lowest =
            lowestContrast(scene.image(), box, rgbOf(displayColourOf(colours, layout.textRow)));
        if (lowest < LeastContrast)
            problems.append({lineOf[size_t(layout.textRow)], SkinProblem::Warning,
                             u"%1 as \"%2\" at (%3, %4) has a contrast of %5:1 with the colour "
                             "scene under it; 3:1 is the least for readable text"_s
                                 .arg(itemName(layout.textRow), scene.element(layout.role).text)
                                 .arg(box.x())
                                 .arg(box.y())
                                 .arg(std::floor(lowest * 100) / 100, 0, 'f', 2)});
    }
    return problems;
}

QList<SkinProblem> checkSkin(const QString &path, const FactorySkin &factory,
                             SceneRenderer &renderer)
{
    CheckedSkin skin = readSkin(path, factory);
    if (skin.drawable()) {
        skin.problems += lowContrast(renderer, skin.colours, skin.lineOf);
        sortByLine(skin.problems);
    }
    return skin.problems;
}

int checkSkins(const QStringList &paths, const FactorySkin &factory)
{
    bool anyError = false;
    SceneRenderer renderer; // one for all: each redraw covers the whole colour scene
    for (const QString &path : paths) {
        for (const SkinProblem &p : checkSkin(path, factory, renderer)) {
            anyError |= p.severity == SkinProblem::Error;
            const char *severity = p.severity == SkinProblem::Error ? "error" : "warning";
            std::printf("%s:%d: %s: %s\n", qPrintable(path), p.line, severity, qPrintable(p.text));
        }
    }
    std::fflush(stdout);
    return anyError ? 1 : 0;
}
