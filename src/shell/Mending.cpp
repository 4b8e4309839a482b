#include "shell/Mending.h"

#include "shell/CommandLine.h"
#include "shell/Render.h"
#include "shell/SkinCheck.h"

#include "readability/Readability.h"
#include "readability/SkinSuggestion.h"
#include "scene/SceneRenderer.h"

#include "skin/Conversions.h"
#include "skin/SkinFile.h"
#include "skin/SkinLint.h"

#include "platform/CommandOutput.h"
#include "platform/Error.h"
#include "platform/Files.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdio>
#include <map>

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
        return failedCommand(e.description());
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
    // The file is written back as it was read, but for the codes changed, the last code
    // given to an item.
    std::map<int, QString> changed;
    const auto put = [&](int row, const QString &code) { changed[row] = code; };
    const Readability::Scenes scenes =
        picture.present() ? Readability::Scenes::Both : Readability::Scenes::ColourOnly;
    const QString name = skinName(command.skin);
    // Said once the file is written: a line saying "changed" must not outlive a failed write.
    QByteArray said;
    const auto say = [&](int row, const QString &what) {
        said += u"%1:%2: %3 %4\n"_s.arg(name)
                    .arg(skin.lineOf[size_t(row)])
                    .arg(itemName(row), what)
                    .toLocal8Bit();
    };
    QList<int> unmended;
    bool allRead = true;
    try {
        SceneRenderer renderer;
        renderer.redraw(skin.colours, picture);
        const QList<TextFix> fixes = mendTexts(renderer, skin.colours, scenes);
        // The renderer still shows the skin as it was read: what is left is told from that.
        const Readability before(renderer, scenes);
        QList<int> panels;
        for (const TextFix &fix : fixes) {
            const QString reads =
                QCoreApplication::translate("Mending", "reads %1 %2")
                    .arg(contrastText(fix.worst.contrast), sceneWords(fix.worst.scene));
            if (!fix.to.isEmpty()) {
                say(fix.row, QCoreApplication::translate("Mending", "%1: %2 -> %3")
                                 .arg(reads, fix.from, fix.to));
                put(fix.row, fix.to);
                continue;
            }
            say(fix.row, QCoreApplication::translate("Mending", "%1, and %2")
                             .arg(reads, before.whatIsLeft(fix.row, fix.worst.colour)));
            unmended.append(fix.row);
            if (command.panels && fix.panelRow >= 0 && !panels.contains(fix.panelRow))
                panels.append(fix.panelRow);
        }
        for (int panel : panels) {
            const QString from = skin.colours.at(panel);
            const std::optional<Components> c = colourFromCode(from);
            // Raised, never lowered: less of the panel would only let more picture through.
            const std::optional<int> percent = opaqueEnough(
                skin.colours, picture, TextMode::Skinning, panel, scenes, true, c->opacity);
            if (percent == c->opacity)
                continue;
            if (!percent) {
                say(panel,
                    QCoreApplication::translate(
                        "Mending", "does not make its texts read well even at 100 % opacity"));
                continue;
            }
            const QString to = codeFromColour(std::int16_t(*percent), std::uint8_t(c->red),
                                              std::uint8_t(c->green), std::uint8_t(c->blue));
            skin.colours.set(panel, to);
            put(panel, to);
            say(panel, QCoreApplication::translate(
                           "Mending",
                           "at %1 %, the lowest opacity at which its texts can read well: %2 -> %3")
                           .arg(*percent)
                           .arg(from, to));
        }
        // The texts that the panels now let a colour of their hue mend.
        renderer.redraw(skin.colours, picture);
        for (const TextFix &fix : mendTexts(renderer, skin.colours, scenes)) {
            if (!fix.to.isEmpty()) {
                say(fix.row, QCoreApplication::translate("Mending", "reads %1 %2: %3 -> %4")
                                 .arg(contrastText(fix.worst.contrast), sceneWords(fix.worst.scene),
                                      fix.from, fix.to));
                put(fix.row, fix.to);
                unmended.removeAll(fix.row);
            }
        }
        // Told as it is now: a text still hard to read is a failure to say so.
        renderer.redraw(skin.colours, picture);
        const Readability after(renderer, scenes);
        for (const TextReading &r : after.hardToRead()) {
            allRead = false;
            if (!unmended.contains(r.row)) {
                unmended.append(r.row);
                say(r.row, QCoreApplication::translate("Mending", "still reads %1 %2")
                               .arg(contrastText(r.contrast), sceneWords(r.scene)));
            }
        }
    } catch (const Error &e) {
        return failedCommand(name + ": "_L1 + e.description());
    }
    QByteArray bytes = skin.bytes;
    for (int row : SkinFileOrder) {
        const auto change = changed.find(row);
        if (change == changed.end())
            continue;
        const int line = skin.lineOf[size_t(row)];
        // An item the file leaves to the factory skin gets a line of its own.
        if (line == 0)
            bytes +=
                (bytes.isEmpty() || bytes.endsWith('\n') || bytes.endsWith('\r')
                     ? QByteArray()
                     : QByteArray("\r\n")) +
                QByteArray(SkinItems[size_t(row)].key.data(), SkinItems[size_t(row)].key.size()) +
                " = " + change->second.toLatin1() + "\r\n";
        else
            replaceCode(bytes, line, change->second);
    }
    try {
        writeOutput(command.output, bytes);
    } catch (const Error &e) {
        return failedCommand(e.description());
    }
    // The report goes beside the output, never into it: with "-o -" standard output
    // carries the skin alone. A text still hard to read is a failure to say so.
    std::fputs(said.constData(), stderr);
    return allRead ? 0 : 1;
}
