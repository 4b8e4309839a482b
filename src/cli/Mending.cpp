#include "cli/Mending.h"

#include "cli/CommandLine.h"
#include "cli/OutputFiles.h"
#include "cli/SkinCheck.h"
#include "cli/Telling.h"

#include "readability/Readability.h"
#include "readability/SkinSuggestion.h"
#include "readability/TellingApart.h"
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
    QStringList shortfalls;
    try {
        skin = suggestSkin(picture, command.variant, &shortfalls);
    } catch (const Error &e) {
        return failedCommand(aboutFile(command.background, e.description()));
    }
    try {
        writeOutput(command.output, encodeLines8bit(skinFileLines(skinText(skin))));
    } catch (const Error &e) {
        return failedCommand(e.description());
    }
    // What the picture leaves hard to read is told, but the skin is still the best there is.
    for (const QString &line : shortfalls)
        std::fprintf(stderr, "vellox: %s\n", qPrintable(line));
    return 0;
}

namespace {

// One skin mended: the codes it changes, and what it says of each item, in order. What
// it measures after a change, it measures on the codes it writes.
class SkinMending
{
public:
    SkinMending(const QString &name, CheckedSkin &skin, StillPicture &picture)
        : m_name(name), m_skin(skin), m_asRead(skin.colours), m_picture(picture),
          m_scenes(picture.present() ? Readability::Scenes::Both : Readability::Scenes::ColourOnly)
    {
    }

    // Each text given a readable colour of its hue, or, where none reads well in both
    // scenes, the one that reads well on the gradient and best on the picture. When asked,
    // the panels of those then raised as far as a colour of their hue needs, the texts
    // mended again from their colours as read, and each panel lowered to the least at which
    // they still read well. Whether every text reads well at the end.
    bool mend(bool raisingPanels)
    {
        SceneRenderer renderer;
        renderer.redraw(m_skin.colours, m_picture);
        const Readability asRead(renderer, m_scenes);
        for (const TextReading &r : hardestOfEach(asRead.hardToRead()))
            m_readsAsRead[r.row] = readsWords(r);
        const QList<PartsCompared> partsAsRead = compareParts(renderer, m_scenes, Visions);
        QList<int> panels, partly;
        ColourTable trial = m_skin.colours;
        for (const TextFix &fix : mendTexts(renderer, trial, m_scenes)) {
            tell(fix, asRead);
            if (!fix.readsEverywhere) {
                partly.append(fix.row);
                if (fix.panelRow >= 0 && !panels.contains(fix.panelRow))
                    panels.append(fix.panelRow);
            }
        }
        if (raisingPanels && !panels.isEmpty()) {
            // Raised for, and mended again from, their colours as read: a colour already
            // moved to its hue's edge has lost the hue it would be mended by.
            for (int row : partly) {
                m_changed.erase(row);
                m_unmended.removeAll(row);
            }
            sync();
            QList<int> raised;
            for (int panel : panels) {
                if (raise(panel))
                    raised.append(panel);
            }
            renderer.redraw(m_skin.colours, m_picture);
            const Readability onRaised(renderer, m_scenes);
            trial = m_skin.colours;
            const QList<TextFix> fixes = mendTexts(renderer, trial, m_scenes);
            for (int row : partly) {
                // A text that reads well as it was, over the panel raised, needs no change.
                if (std::none_of(fixes.begin(), fixes.end(),
                                 [&](const TextFix &f) { return f.row == row; }))
                    forget(row);
            }
            for (const TextFix &fix : fixes)
                tell(fix, onRaised);
            for (int panel : raised)
                lower(panel);
        }
        // Told as it is written: a text still hard to read is a failure to say so.
        renderer.redraw(m_skin.colours, m_picture);
        const QList<TextReading> hard = Readability(renderer, m_scenes).hardToRead();
        for (const TextReading &r : hardestOfEach(hard)) {
            if (!m_unmended.contains(r.row))
                say(r.row, QCoreApplication::translate("Mending", "still reads %1 %2")
                               .arg(contrastText(r.contrast), sceneWords(r.scene)));
        }
        tellPartsMadeAlike(partsAsRead, compareParts(renderer, m_scenes, Visions));
        return hard.isEmpty();
    }

    // The file as it was read, but for the codes changed.
    QByteArray bytes() const
    {
        QByteArray bytes = m_skin.bytes;
        for (int row : SkinFileOrder) {
            const auto changed = m_changed.find(row);
            if (changed == m_changed.end())
                continue;
            const QString &code = changed->second;
            const int line = m_skin.lineOf[size_t(row)];
            // An item the file leaves to the factory skin gets a line of its own.
            if (line == 0)
                bytes += (bytes.isEmpty() || bytes.endsWith('\n') || bytes.endsWith('\r')
                              ? QByteArray()
                              : QByteArray("\r\n")) +
                         QByteArray(SkinItems[size_t(row)].key.data(),
                                    SkinItems[size_t(row)].key.size()) +
                         " = " + code.toLatin1() + "\r\n";
            else
                replaceCode(bytes, line, code);
        }
        return bytes;
    }

    // Each item's lines with the line the file sets it on; an item the file leaves to the
    // factory skin, and the skin as a whole, with none.
    QByteArray said() const
    {
        QByteArray bytes;
        for (const auto &[row, what] : m_said) {
            const int line = row < 0 ? 0 : m_skin.lineOf[size_t(row)];
            const QString told = row < 0 ? what : itemName(row) + u' ' + what;
            bytes += (line > 0 ? u"%1:%2: %3\n"_s.arg(m_name).arg(line).arg(told)
                               : u"%1: %2\n"_s.arg(m_name, told))
                         .toLocal8Bit();
        }
        return bytes;
    }

private:
    static QString readsWords(const TextReading &r)
    {
        return QCoreApplication::translate("Mending", "reads %1 %2")
            .arg(contrastText(r.contrast), sceneWords(r.scene));
    }

    // The table as it will be written: the codes as read, but for those changed.
    void sync()
    {
        m_skin.colours = m_asRead;
        for (const auto &[row, code] : m_changed)
            m_skin.colours.set(row, code);
    }

    // What a fix changes and says, told from how the item read in the skin as read, in
    // place of what was said of it before. `measured` is what the fix was found on.
    void tell(const TextFix &fix, const Readability &measured)
    {
        const auto asRead = m_readsAsRead.find(fix.row);
        const QString reads =
            asRead != m_readsAsRead.end() ? asRead->second : readsWords(fix.worst);
        const QString from = m_asRead.at(fix.row);
        if (fix.to.isEmpty()) {
            m_changed.erase(fix.row);
            if (!m_unmended.contains(fix.row))
                m_unmended.append(fix.row);
            sayInstead(fix.row, QCoreApplication::translate("Mending", "%1, and %2")
                                    .arg(reads, measured.whatIsLeft(fix.row, fix.worst.colour)));
        } else if (fix.readsEverywhere) {
            m_changed[fix.row] = fix.to;
            m_unmended.removeAll(fix.row);
            sayInstead(
                fix.row,
                QCoreApplication::translate("Mending", "%1: %2 -> %3").arg(reads, from, fix.to));
        } else {
            m_changed[fix.row] = fix.to;
            sayInstead(
                fix.row,
                QCoreApplication::translate("Mending", "%1: %2 -> %3, which reads well on the "
                                                       "gradient and as well as its hue can on the "
                                                       "picture (%4)")
                    .arg(reads, from, fix.to, measured.whatIsLeft(fix.row, fix.worst.colour)));
        }
        sync();
    }

    void say(int row, const QString &what) { m_said.append({row, what}); }

    // What is said of `row` in place of all that was said of it before.
    void sayInstead(int row, const QString &what)
    {
        const auto first =
            std::find_if(m_said.begin(), m_said.end(),
                         [&](const QPair<int, QString> &s) { return s.first == row; });
        if (first == m_said.end())
            return say(row, what);
        first->second = what;
        m_said.erase(std::remove_if(first + 1, m_said.end(),
                                    [&](const QPair<int, QString> &s) { return s.first == row; }),
                     m_said.end());
    }

    void forget(int row)
    {
        m_said.erase(std::remove_if(m_said.begin(), m_said.end(),
                                    [&](const QPair<int, QString> &s) { return s.first == row; }),
                     m_said.end());
    }

    // The panel as opaque as a colour of each of its texts' hue needs to read well, or
    // said to help too little; whether it was raised.
    bool raise(int panel)
    {
        const std::optional<Components> c = colourFromCode(m_skin.colours.at(panel));
        // Raised, never lowered: less of the panel would only let more picture through.
        const std::optional<int> percent = opaqueEnough(
            m_skin.colours, m_picture, TextMode::Skinning, panel, m_scenes, true, c->opacity);
        if (!percent) {
            say(panel, QCoreApplication::translate(
                           "Mending", "does not make its texts read well even at 100 % opacity"));
            return false;
        }
        if (*percent == c->opacity)
            return false;
        m_changed[panel] = withOpacity(*c, *percent);
        sync();
        return true;
    }

    // The raised panel at the least opacity, from where it was, at which every text that
    // reads well in the colours now given still does: the texts' new colours may need
    // less than the search by hue found.
    void lower(int panel)
    {
        const QString from = m_asRead.at(panel);
        const std::optional<Components> c = colourFromCode(from);
        const int raisedTo = colourFromCode(m_skin.colours.at(panel))->opacity;
        SceneRenderer renderer;
        renderer.redraw(m_skin.colours, m_picture);
        QList<QPair<Role, SceneKind>> reading;
        const Readability raised(renderer, m_scenes);
        for (const TextReading &r : raised.readings()) {
            if (r.readsWell())
                reading.append({r.role, r.scene});
        }
        int percent = c->opacity;
        for (; percent < raisedTo; ++percent) {
            m_skin.colours.set(panel, withOpacity(*c, percent));
            renderer.redraw(m_skin.colours, m_picture);
            const QList<TextReading> all = Readability(renderer, m_scenes).readings();
            if (std::none_of(all.begin(), all.end(), [&](const TextReading &r) {
                    return !r.readsWell() && reading.contains(qMakePair(r.role, r.scene));
                }))
                break;
        }
        // Where the texts need no more than the panel had, it keeps its code as read.
        if (percent == c->opacity) {
            m_changed.erase(panel);
            sync();
            return;
        }
        const QString to = withOpacity(*c, percent);
        m_changed[panel] = to;
        sync();
        say(panel,
            QCoreApplication::translate(
                "Mending", "at %1 %, the lowest opacity at which its texts can read well: %2 -> %3")
                .arg(percent)
                .arg(from, to));
    }

    // The parts a viewer must tell apart that look alike only once mended, each said.
    void tellPartsMadeAlike(const QList<PartsCompared> &before, const QList<PartsCompared> &after)
    {
        for (const PartsCompared &now : after) {
            if (!now.looksAlike())
                continue;
            const bool already = std::any_of(before.begin(), before.end(), [&](const auto &was) {
                return was.vision == now.vision && was.first == now.first &&
                       was.second == now.second && was.looksAlike();
            });
            if (!already)
                say(-1, QCoreApplication::translate("Mending", "once mended, %1")
                            .arg(lookAlikeText(now)));
        }
    }

    static QString withOpacity(const Components &c, int percent)
    {
        return codeFromColour(std::int16_t(percent), std::uint8_t(c.red), std::uint8_t(c.green),
                              std::uint8_t(c.blue));
    }

    const QString m_name;
    CheckedSkin &m_skin;
    const ColourTable m_asRead;
    StillPicture &m_picture;
    const Readability::Scenes m_scenes;
    std::map<int, QString> m_changed; // row: the code written for it
    QList<int> m_unmended;
    std::map<int, QString> m_readsAsRead; // row: how its hardest text read as read
    // Said once the file is written: a line saying "changed" must not outlive a failed write.
    QList<QPair<int, QString>> m_said; // row, or -1 for the skin: what is said of it
};

} // namespace

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
    const QString name = skinName(command.skin);
    SkinMending mending(name, skin, picture);
    bool allRead = false;
    try {
        allRead = mending.mend(command.panels);
    } catch (const Error &e) {
        return failedCommand(aboutFile(name, e.description()));
    }
    try {
        writeOutput(command.output, mending.bytes());
    } catch (const Error &e) {
        return failedCommand(e.description());
    }
    // The report goes beside the output, never into it: with "-o -" standard output
    // carries the skin alone. A text still hard to read is a failure to say so.
    std::fputs(mending.said().constData(), stderr);
    return allRead ? 0 : 1;
}
