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
    // What the picture leaves hard to read is told, but the skin is still the best there is.
    for (const QString &line : suggestionShortfalls(skin, picture, command.variant))
        std::fprintf(stderr, "vellox: %s\n", qPrintable(line));
    return 0;
}

namespace {

// One skin mended: the codes it changes, and what it says of each item, in order.
class SkinMending
{
public:
    SkinMending(const QString &name, CheckedSkin &skin, StillPicture &picture)
        : m_name(name), m_skin(skin), m_asRead(skin.colours), m_picture(picture),
          m_scenes(picture.present() ? Readability::Scenes::Both : Readability::Scenes::ColourOnly)
    {
    }

    // Each text given a readable colour of its hue; the panels of those that none mends
    // on the picture, when asked, raised as far as a colour of their hue needs, then those
    // texts mended, then each panel lowered to the least at which they still read well.
    // Whether every text reads well at the end.
    bool mend(bool raisingPanels)
    {
        SceneRenderer renderer;
        renderer.redraw(m_skin.colours, m_picture);
        const QList<int> panels = mendByHue(renderer);
        if (raisingPanels && !panels.isEmpty()) {
            std::map<int, QString> raised; // panel: its code as read
            for (int panel : panels) {
                if (const QString from = m_skin.colours.at(panel); raise(panel))
                    raised[panel] = from;
            }
            renderer.redraw(m_skin.colours, m_picture);
            for (const TextFix &fix : mendTexts(renderer, m_skin.colours, m_scenes))
                sayFixed(fix, readsWords(fix));
            for (const auto &[panel, from] : raised)
                lower(panel, from);
        }
        // Told as it is now: a text still hard to read is a failure to say so.
        renderer.redraw(m_skin.colours, m_picture);
        const QList<TextReading> hard = Readability(renderer, m_scenes).hardToRead();
        // A text mended on the gradient alone that the panels now let read everywhere.
        for (const auto &first : m_readsFirst) {
            const int row = first.first;
            if (std::none_of(hard.begin(), hard.end(),
                             [&](const TextReading &r) { return r.row == row; }))
                sayInstead(row, QCoreApplication::translate("Mending", "%1: %2 -> %3")
                                    .arg(first.second, m_asRead.at(row), m_changed[row]));
        }
        for (const TextReading &r : hard) {
            if (!m_unmended.contains(r.row)) {
                m_unmended.append(r.row);
                say(r.row, QCoreApplication::translate("Mending", "still reads %1 %2")
                               .arg(contrastText(r.contrast), sceneWords(r.scene)));
            }
        }
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

    QByteArray said() const
    {
        QByteArray bytes;
        for (const auto &[row, what] : m_said)
            bytes += u"%1:%2: %3 %4\n"_s.arg(m_name)
                         .arg(m_skin.lineOf[size_t(row)])
                         .arg(itemName(row), what)
                         .toLocal8Bit();
        return bytes;
    }

private:
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

    // The panels beneath the texts that no colour of their hue mends on the picture.
    QList<int> mendByHue(const SceneRenderer &renderer)
    {
        const QList<TextFix> fixes = mendTexts(renderer, m_skin.colours, m_scenes);
        // The renderer still shows the skin as it was read: what is left is told from that.
        const Readability before(renderer, m_scenes);
        QList<int> panels;
        for (const TextFix &fix : fixes) {
            const QString reads = readsWords(fix);
            if (fix.readsEverywhere) {
                sayFixed(fix, reads);
                continue;
            }
            const QString left = before.whatIsLeft(fix.row, fix.worst.colour);
            if (fix.to.isEmpty()) {
                say(fix.row, QCoreApplication::translate("Mending", "%1, and %2").arg(reads, left));
                m_unmended.append(fix.row);
            } else {
                say(fix.row,
                    QCoreApplication::translate("Mending", "%1: %2 -> %3, which reads well on the "
                                                           "gradient and as well as its hue can on "
                                                           "the picture (%4)")
                        .arg(reads, fix.from, fix.to, left));
                m_changed[fix.row] = fix.to;
                m_readsFirst[fix.row] = reads;
            }
            if (fix.panelRow >= 0 && !panels.contains(fix.panelRow))
                panels.append(fix.panelRow);
        }
        return panels;
    }

    static QString readsWords(const TextFix &fix)
    {
        return QCoreApplication::translate("Mending", "reads %1 %2")
            .arg(contrastText(fix.worst.contrast), sceneWords(fix.worst.scene));
    }

    // A text given a colour that reads well everywhere.
    void sayFixed(const TextFix &fix, const QString &reads)
    {
        if (!fix.readsEverywhere || fix.to.isEmpty())
            return;
        // A text mended only on the gradient before is told once, from the code as read.
        const auto first = m_readsFirst.find(fix.row);
        const bool before = first != m_readsFirst.end();
        sayInstead(fix.row, QCoreApplication::translate("Mending", "%1: %2 -> %3")
                                .arg(before ? first->second : reads,
                                     before ? m_asRead.at(fix.row) : fix.from, fix.to));
        m_changed[fix.row] = fix.to;
        m_unmended.removeAll(fix.row);
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
        m_skin.colours.set(panel, withOpacity(*c, *percent));
        return true;
    }

    // The raised panel at the least opacity, from where it was, at which every text that
    // reads well in the colours now given still does: the texts' new colours may need
    // less than the search by hue found.
    void lower(int panel, const QString &from)
    {
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
        const QString to = percent == c->opacity ? from : withOpacity(*c, percent);
        m_skin.colours.set(panel, to);
        if (to == from)
            return;
        m_changed[panel] = to;
        say(panel,
            QCoreApplication::translate(
                "Mending", "at %1 %, the lowest opacity at which its texts can read well: %2 -> %3")
                .arg(percent)
                .arg(from, to));
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
    std::map<int, QString> m_changed; // row: the last code given to it
    QList<int> m_unmended;
    // Said once the file is written: a line saying "changed" must not outlive a failed write.
    QList<QPair<int, QString>> m_said;   // row: what is said of it
    std::map<int, QString> m_readsFirst; // row: how it read before anything was mended
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
        return failedCommand(name + ": "_L1 + e.description());
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
