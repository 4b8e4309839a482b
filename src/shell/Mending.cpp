#include "shell/Mending.h"

#include "shell/CommandLine.h"
#include "shell/Render.h"
#include "shell/SkinCheck.h"

#include "readability/Readability.h"
#include "readability/SkinSuggestion.h"
#include "scene/SceneRenderer.h"

#include "skin/SkinFile.h"
#include "skin/SkinLint.h"

#include "platform/CommandOutput.h"
#include "platform/Error.h"
#include "platform/Files.h"

#include <algorithm>
#include <cstdio>

#include <QCoreApplication>

using namespace Qt::Literals::StringLiterals;

namespace {

// The file's bytes with the code on line `line` (from 1) replaced by `code`: the code is
// what follows the first " = ", up to a second one.
void replaceCode(QByteArray &bytes, int line, const QString &code)
{
    const LineSpan span = skinLineSpans(bytes).at(line - 1);
    const qsizetype equals = bytes.indexOf(" = ", span.start);
    const qsizetype from = equals + 3;
    qsizetype to = bytes.indexOf(" = ", from);
    if (to < 0 || to > span.end)
        to = span.end;
    bytes.replace(from, to - from, code.toLatin1());
}

} // namespace

int suggestSkinFile(const CommandLine &command)
{
    if (const QString problem = overwritesInput(command.output, command); !problem.isEmpty())
        return failedCommand(problem);
    StillPicture picture;
    if (const QString problem = loadBackground(command.background, picture); !problem.isEmpty())
        return failedCommand(problem);
    ColourTable skin;
    try {
        skin = suggestSkin(picture, command.variant);
    } catch (const Error &e) {
        return failedCommand(command.background + ": "_L1 + e.description());
    }
    try {
        writeOutput(command.output, encodeLines8bit(skinFileLines(skinText(skin))));
    } catch (const Error &e) {
        return failedCommand(command.output + ": "_L1 + e.description());
    }
    return 0;
}

int fixSkinFile(const CommandLine &command, const FactorySkin &factory)
{
    if (const QString problem = overwritesInput(command.output, command); !problem.isEmpty())
        return failedCommand(problem);
    CheckedSkin skin;
    StillPicture picture;
    if (const QString problem =
            readForDrawing(command.skin, command.background, factory, skin, picture);
        !problem.isEmpty())
        return failedCommand(problem);
    // The file is written back as it was read, but for the codes mended.
    QByteArray bytes = skin.bytes;
    QList<TextFix> fixes;
    try {
        SceneRenderer renderer;
        renderer.redraw(skin.colours, picture);
        fixes = mendTexts(renderer, skin.colours,
                          picture.present() ? Readability::Scenes::Both
                                            : Readability::Scenes::ColourOnly);
    } catch (const Error &e) {
        return failedCommand(skinName(command.skin) + ": "_L1 + e.description());
    }
    // Said once the file is written: a line saying "changed" must not outlive a failed write.
    QByteArray said;
    for (const TextFix &fix : fixes) {
        const int line = skin.lineOf[size_t(fix.row)];
        const QString where = QCoreApplication::translate("Mending", "%1:%2: %3 reads %4 %5")
                                  .arg(skinName(command.skin))
                                  .arg(line)
                                  .arg(itemName(fix.row), contrastText(fix.worst.contrast),
                                       sceneWords(fix.worst.scene));
        if (fix.to.isEmpty()) {
            said += (where +
                     QCoreApplication::translate("Mending",
                                                 ", and no colour of its hue reads well there") +
                     (fix.panelRow < 0
                          ? QString()
                          : QCoreApplication::translate("Mending", "; raise the opacity of %1")
                                .arg(itemName(fix.panelRow))) +
                     u'\n')
                        .toLocal8Bit();
            continue;
        }
        said += u"%1: %2 -> %3\n"_s.arg(where, fix.from, fix.to).toLocal8Bit();
        // An item the file leaves to the factory skin gets a line of its own.
        if (line == 0)
            bytes += (bytes.isEmpty() || bytes.endsWith('\n') || bytes.endsWith('\r')
                          ? QByteArray()
                          : QByteArray("\r\n")) +
                     QByteArray(SkinItems[size_t(fix.row)].key.data(),
                                SkinItems[size_t(fix.row)].key.size()) +
                     " = " + fix.to.toLatin1() + "\r\n";
        else
            replaceCode(bytes, line, fix.to);
    }
    try {
        writeOutput(command.output, bytes);
    } catch (const Error &e) {
        return failedCommand(command.output + ": "_L1 + e.description());
    }
    // The report goes beside the output, never into it: with "-o -" standard output
    // carries the skin alone. A text still hard to read is a failure to say so.
    std::fputs(said.constData(), stderr);
    const bool allRead = std::all_of(fixes.begin(), fixes.end(),
                                     [](const TextFix &fix) { return !fix.to.isEmpty(); });
    return allRead ? 0 : 1;
}
