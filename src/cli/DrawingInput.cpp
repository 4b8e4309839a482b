#include "cli/DrawingInput.h"

#include "cli/CommandLine.h"
#include "cli/Telling.h"

#include "scene/BackgroundPicture.h"

#include "skin/Conversions.h"
#include "skin/SkinFile.h"
#include "skin/SkinItems.h"

#include "platform/Error.h"
#include "platform/Files.h"
#include "platform/Pictures.h"

#include <QCoreApplication>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// Standard input as a skin file is read: no more than the largest skin file, so that an
// endless stream is refused rather than held.
QByteArray readStandardInput()
{
    QByteArray bytes;
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw Error(Error::PathFileAccess,
                        QCoreApplication::translate("SkinCheck", "Cannot read standard input: %1")
                            .arg(systemReason(errno)));
        if (n == 0)
            return bytes;
        bytes.append(buffer, n);
        if (bytes.size() > LargestSkinFile)
            throw Error(Error::PathFileAccess,
                        QCoreApplication::translate(
                            "SkinCheck",
                            "Cannot read standard input: it holds more than %1, the most Vellox "
                            "reads of a skin")
                            .arg(exactSize(LargestSkinFile)));
    }
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
        skin.bytes = path == "-"_L1 ? readStandardInput() : readSmallFile(path, LargestSkinFile);
        skin.read = true;
        lint = lintSkin(skin.bytes);
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
            skin.problems.append(
                {0, SkinProblem::Error,
                 QCoreApplication::translate(
                     "SkinCheck", "%1 is not set, and the factory skin cannot give it: %2")
                     .arg(itemName(row), factory.problem)});
        else if (const QString why = whyNotDrawable(code); !why.isEmpty())
            skin.problems.append(
                {0, SkinProblem::Error,
                 QCoreApplication::translate(
                     "SkinCheck", "%1 is not set, and the factory skin \"%2\" cannot give it: %3")
                     .arg(itemName(row), factory.path, why)});
        else if (!lint.oneLine)
            skin.leftToFactory.append(row);
    }
    sortByLine(skin.problems);
    return skin;
}

QString loadBackground(const QString &path, StillPicture &picture)
{
    if (path.isEmpty())
        return {};
    try {
        picture = StillPicture(loadPicture(path, PictureFormats::AnyReadable));
    } catch (const Error &e) {
        return aboutFile(path, e.description());
    }
    return {};
}

QString readForDrawing(const QString &skinPath, const QString &picturePath,
                       const FactorySkin &factory, CheckedSkin &skin, StillPicture &picture)
{
    skin = readSkin(skinPath, factory);
    // A file that cannot be read is named by the reason itself.
    const QString name = skinName(skinPath);
    for (const SkinProblem &p : skin.problems) {
        if (p.severity == SkinProblem::Error)
            return p.line != 0 ? u"%1:%2: %3"_s.arg(name).arg(p.line).arg(p.text)
                   : skin.read ? aboutFile(name, p.text)
                               : p.text;
    }
    return loadBackground(picturePath, picture);
}
