#include "cli/SkinCheck.h"

#include "cli/CommandLine.h"

#include "readability/Readability.h"
#include "readability/TellingApart.h"
#include "scene/SceneRenderer.h"

#include "skin/Conversions.h"
#include "skin/SkinFile.h"
#include "skin/SkinItems.h"

#include "platform/Error.h"
#include "platform/Files.h"
#include "platform/Pictures.h"
#include "platform/Translations.h"

#include <QCoreApplication>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

std::optional<SkinProblem> notSet(const CheckedSkin &skin, const FactorySkin &factory)
{
    const QList<int> &rows = skin.leftToFactory;
    if (rows.isEmpty())
        return std::nullopt;
    if (rows.size() == 1)
        return SkinProblem{0, SkinProblem::Warning,
                           QCoreApplication::translate(
                               "SkinCheck", "%1 is not set; it keeps the factory colour %2")
                               .arg(itemName(rows.first()), factory.lint.codes.at(rows.first()))};
    QStringList names;
    for (int row : rows)
        names << itemName(row);
    return SkinProblem{
        0, SkinProblem::Warning,
        QCoreApplication::translate("SkinCheck", "%1 are not set; they keep their factory colours")
            .arg(names.join(", "_L1))};
}

QList<SkinProblem> hardToRead(SceneRenderer &renderer, const ColourTable &colours,
                              BackgroundPicture &picture, const std::array<int, ItemCount> &lineOf,
                              const Seeing &seeing)
{
    renderer.redraw(colours, picture);
    const Readability::Scenes scenes =
        picture.present() ? Readability::Scenes::Both : Readability::Scenes::ColourOnly;
    const Readability readability(renderer, scenes, seeing.vision, seeing.severity);
    // One warning for each item and scene, with the item's lowest figure there.
    QList<TextReading> worst;
    for (const TextReading &r : readability.hardToRead()) {
        const auto same = std::find_if(worst.begin(), worst.end(), [&](const TextReading &w) {
            return w.row == r.row && w.scene == r.scene;
        });
        if (same == worst.end())
            worst.append(r);
        else if (r.contrast < same->contrast)
            *same = r;
    }
    const QString asSeen = seeing.vision == Vision::Normal ? QString() : seenWords(seeing);
    QList<SkinProblem> problems;
    for (const TextReading &r : worst) {
        // Where no colour would do, what is left is said too.
        const QString left = r.best >= ReadsWell
                                 ? QString()
                                 : QCoreApplication::translate(
                                       "SkinCheck", "; no colour reads better than %1 there: %2")
                                       .arg(contrastText(r.best), leverWords(r.role, r.scene));
        problems.append({lineOf[size_t(r.row)], SkinProblem::Warning,
                         QCoreApplication::translate("SkinCheck", "%1 reads %2 %3%4 (%5 wanted%6)")
                             .arg(itemName(r.row), contrastText(r.contrast), sceneWords(r.scene),
                                  asSeen, contrastText(ReadsWell), left)});
    }
    // A busy background is told apart from the figure, after it: a text can read well by
    // its contrast and still be slow to read there.
    for (const TextReading &r : busiestOfEach(readability.readings()))
        problems.append({lineOf[size_t(r.row)], SkinProblem::Warning,
                         QCoreApplication::translate("SkinCheck", "%1%2: %3")
                             .arg(itemName(r.row), asSeen, busyWords(r))});
    return problems;
}

QList<SkinProblem> lookAlike(const SceneRenderer &renderer, Readability::Scenes scenes,
                             const Seeing &seeing)
{
    // Without a vision of its own, the check compares the parts under every vision.
    const Vision one[] = {seeing.vision};
    QList<SkinProblem> problems;
    for (const PartsCompared &parts :
         compareParts(renderer, scenes,
                      seeing.vision == Vision::Normal ? std::span<const Vision>(Visions) : one,
                      seeing.severity)) {
        if (parts.looksAlike())
            problems.append({0, SkinProblem::Warning, lookAlikeText(parts)});
    }
    return problems;
}

QString seenWords(const Seeing &seeing)
{
    // English writes the name in lower case within a sentence; a translation as it has it.
    const char *name = visionName(seeing.vision);
    const QString vision = QCoreApplication::translate("Vision", name);
    const QString seen = vision == QLatin1String(name) ? vision.toLower() : vision;
    return hasSeverity(seeing.vision)
               ? QCoreApplication::translate("SkinCheck", " as seen with %1 at severity %2")
                     .arg(seen, Translations::decimal(seeing.severity, -1))
               : QCoreApplication::translate("SkinCheck", " as seen with %1").arg(seen);
}

QList<SkinProblem> checkSkin(const QString &path, const FactorySkin &factory,
                             SceneRenderer &renderer, BackgroundPicture &picture,
                             const Seeing &seeing)
{
    CheckedSkin skin = readSkin(path, factory);
    if (skin.drawable()) {
        skin.problems += hardToRead(renderer, skin.colours, picture, skin.lineOf, seeing);
        sortByLine(skin.problems);
        // After the lines, as they concern the skin as a whole.
        skin.problems += lookAlike(renderer,
                                   picture.present() ? Readability::Scenes::Both
                                                     : Readability::Scenes::ColourOnly,
                                   seeing);
    }
    // Last, in one line: in a short file they would bury what is wrong in it.
    if (const std::optional<SkinProblem> line = notSet(skin, factory))
        skin.problems.append(*line);
    return skin.problems;
}

int checkSkins(const QStringList &paths, const FactorySkin &factory, const QString &background,
               const Seeing &seeing)
{
    StillPicture picture;
    if (const QString problem = loadBackground(background, picture); !problem.isEmpty()) {
        std::fprintf(stderr, "vellox: %s\n", qPrintable(problem));
        return 1;
    }
    bool anyError = false;
    SceneRenderer renderer; // one for all: each redraw covers the whole of both scenes
    for (const QString &path : paths) {
        for (const SkinProblem &p : checkSkin(path, factory, renderer, picture, seeing)) {
            anyError |= p.severity == SkinProblem::Error;
            // What concerns the file as a whole has no line: "s.ini: warning: ...".
            const QString where =
                p.line == 0 ? skinName(path) : u"%1:%2"_s.arg(skinName(path)).arg(p.line);
            std::printf("%s: %s: %s\n", qPrintable(where),
                        p.severity == SkinProblem::Error ? "error" : "warning", qPrintable(p.text));
        }
    }
    std::fflush(stdout);
    return anyError ? 1 : 0;
}
