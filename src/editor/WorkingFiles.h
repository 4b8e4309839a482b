#pragma once

#include "platform/ProgramDirectory.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <optional>

class Error;

// The files beside the program that hold the work while it runs: the working skin
// (temp.ini) and what the user typed into the skin text box where it differs from the
// table. The shutdown removes them; a run that ends without it leaves them for the next
// start to offer back, and until the user has answered that offer they are held exactly
// as they are: nothing is written over them or removed.
class WorkingFiles : public QObject
{
    Q_OBJECT

public:
    static constexpr QLatin1StringView TypedText{"temp-typed.txt"};

    explicit WorkingFiles(const ProgramDirectory &programDir);

    // What a run that ended without its shutdown left, read before anything is written.
    struct LeftOver
    {
        std::optional<QByteArray> skin; // the working skin, as it lies there
        std::optional<QString> typed;   // the skin text as the user typed it
    };
    LeftOver leftOver() const;

    // While held, writes and removals wait; release() then writes the latest of each.
    void hold();
    bool held() const { return m_held; }
    void release();

    // What a working skin that cannot be written does: throw Error for the caller to ask
    // the user, or be told once by skinNotKept until a write succeeds.
    enum class OnFailure
    {
        Throw,
        Tell,
    };
    // Replaces the working skin with `text`.
    void writeSkin(const QString &text, OnFailure onFailure);
    // The text box holds `typed`, which the user edited; it is written a moment later, so
    // that typing is not slowed by the disk. `typed` empty: the box shows the table as
    // it is, and the file goes.
    void keepTyped(const QString &typed);
    // Writes what is waiting at once: the program is about to end.
    void flush();

    // The shutdown's removals; each failure goes to `report`, the rest still go.
    void remove(const std::function<void(const Error &)> &report);

signals:
    // The typed text could not be written (a full disk, no permission): told once, until
    // it can be written again, which is told too.
    void typedNotKept(const QString &why);
    void typedKeptAgain(const QString &path);
    // The same for the working skin, where the colours of a change the user was not asked
    // about (an undo, a load) could not be kept.
    void skinNotKept(const QString &why);
    void skinKeptAgain(const QString &path);

private:
    void writeTyped();
    void writeTypedTelling();

    ProgramDirectory m_programDir;
    bool m_held = false;
    std::optional<QString> m_pendingSkin;
    std::optional<QString> m_pendingTyped; // empty text: to be removed
    QTimer m_typedTimer;
    bool m_typedFailing = false;
    bool m_skinFailing = false;
};
