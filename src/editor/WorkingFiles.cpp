#include "editor/WorkingFiles.h"

#include "skin/SkinFile.h"

#include "platform/Error.h"
#include "platform/Files.h"

#include <exception>
#include <optional>
#include <utility>

namespace {

// Long enough to gather a burst of keys into one write, short enough that a crash loses
// a word at most.
constexpr std::chrono::milliseconds TypingPause{400};
// What the user types is a skin file's text, with room for a pasted one of the largest.
constexpr qint64 LargestTypedText = 4 * LargestSkinFile;

} // namespace

WorkingFiles::WorkingFiles(const ProgramDirectory &programDir) : m_programDir(programDir)
{
    m_typedTimer.setSingleShot(true);
    m_typedTimer.setInterval(TypingPause);
    connect(&m_typedTimer, &QTimer::timeout, this, &WorkingFiles::writeTypedTelling);
}

WorkingFiles::LeftOver WorkingFiles::leftOver() const
{
    LeftOver left;
    const QString skin = m_programDir.file(ProgramDirectory::WorkingSkin);
    const QString typed = m_programDir.file(TypedText);
    // What cannot be read cannot be offered; it stays where it is until the shutdown.
    try {
        if (fileExists(skin))
            left.skin = readSmallFile(skin, LargestSkinFile);
    } catch (const Error &) {
    }
    try {
        if (fileExists(typed))
            left.typed = QString::fromUtf8(readSmallFile(typed, LargestTypedText));
    } catch (const Error &) {
    }
    return left;
}

void WorkingFiles::hold()
{
    m_held = true;
}

void WorkingFiles::release()
{
    m_held = false;
    // The skin first: a crash between the two then leaves the typed text with the table
    // it was typed over.
    if (const std::optional<QString> skin = std::exchange(m_pendingSkin, std::nullopt))
        writeSkin(*skin, OnFailure::Tell);
    flush();
}

void WorkingFiles::writeSkin(const QString &text, OnFailure onFailure)
{
    if (m_held) {
        m_pendingSkin = text;
        return;
    }
    const QString path = m_programDir.file(ProgramDirectory::WorkingSkin);
    try {
        writeWorkingSkin(path, text);
    } catch (const Error &e) {
        if (onFailure == OnFailure::Throw)
            throw;
        if (!std::exchange(m_skinFailing, true))
            emit skinNotKept(e.description());
        return;
    }
    if (std::exchange(m_skinFailing, false))
        emit skinKeptAgain(path);
}

void WorkingFiles::keepTyped(const QString &typed)
{
    m_pendingTyped = typed;
    if (typed.isEmpty())
        flush();
    else
        m_typedTimer.start();
}

void WorkingFiles::flush()
{
    m_typedTimer.stop();
    writeTypedTelling();
}

void WorkingFiles::writeTypedTelling()
{
    // The box still holds the text, and Save As writes it; only a crash would lose it,
    // which the user is told of, once, and again when that danger is gone.
    std::optional<QString> why;
    try {
        writeTyped();
    } catch (const Error &e) {
        why = e.description();
    } catch (const std::exception &e) {
        // A timer calls this at the edge of Qt's event loop, which carries no exception:
        // memory running out is told like a full disk.
        why = QString::fromLocal8Bit(e.what());
    }
    if (why) {
        if (!std::exchange(m_typedFailing, true))
            emit typedNotKept(*why);
        return;
    }
    if (std::exchange(m_typedFailing, false))
        emit typedKeptAgain(m_programDir.file(TypedText));
}

void WorkingFiles::writeTyped()
{
    if (m_held || !m_pendingTyped)
        return;
    // What failed is still waiting: the next keystroke or flush tries it again.
    const QString typed = *m_pendingTyped;
    const QString path = m_programDir.file(TypedText);
    if (typed.isEmpty()) {
        if (fileExists(path))
            deleteFile(path);
        m_pendingTyped.reset();
        return;
    }
    const QByteArray bytes = typed.toUtf8();
    writeFile(
        path, Durability::Atomic, AtLink::ReplaceLink,
        [&](const ByteSink &sink) { sink(bytes.constData(), bytes.size()); }, Readers::OwnerOnly);
    m_pendingTyped.reset();
}

void WorkingFiles::remove(const std::function<void(const Error &)> &report)
{
    m_typedTimer.stop();
    m_pendingSkin.reset();
    m_pendingTyped.reset();
    for (const QString &name : {QString(ProgramDirectory::WorkingSkin), QString(TypedText)})
        deleteIfPresent(m_programDir.file(name), report);
}
