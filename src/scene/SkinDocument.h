#pragma once

#include "scene/WorkingPicture.h"

#include "skin/ColourTable.h"

#include "platform/ProgramDirectory.h"

#include <QObject>
#include <QUndoStack>

// What one change of the document touched, for whoever shows the document.
struct SkinChange
{
    enum class Cause
    {
        Applied,  // a code put into one row, as "Apply Change" puts it
        Replaced, // the whole table: a load, the factory skin, a suggestion, work restored
        Undone,
        Redone,
        Imported, // a new working picture
    };

    SkinChange(Cause cause, int row) : cause(cause), row(row) {}

    Cause cause;
    // The row the change is about: the applied row, 0 for a whole table.
    int row;

    bool colours() const { return cause != Cause::Imported; }
};

// The skin being edited, for the whole run: its colour table, its working picture and the
// history of the table's changes. The editor owns it; the preview reads the colours at
// the moment it draws. Every change is made here, the table's as a command of the
// history that makes it in redo() and takes it back in undo(), and each is announced by
// one `changed` signal; nobody changes the table and then records a step.
class SkinDocument : public QObject
{
    Q_OBJECT

public:
    // Far more than a session of editing needs; the oldest steps go first.
    static constexpr int StepsKept = 1000;

    explicit SkinDocument(const ProgramDirectory &programDir);

    const ColourTable &colours() const { return m_colours; }
    // For reading and drawing the picture; it changes only through importPicture.
    WorkingPicture &picture() { return m_picture; }

    // The table the run starts from, announced as a load: there is nothing to undo
    // before it.
    void start(const ColourTable &table);
    // Whether the name of a step also says what made the colours, for the views to show
    // beside them until the next step.
    enum class StepName
    {
        HistoryOnly, // "Apply Change": how the user finds the step again in the history
        AlsoOrigin,  // "Colours from Picture, dark look": shown with the colours too
    };
    // Puts `code` into `row`, as one step named `step` in the user's language. Throws
    // Error for a row outside the table, and then changes nothing. A code the row
    // already holds is announced all the same, for the views to show the table again,
    // but it is no step of the history.
    void apply(int row, const QString &code, const QString &step);
    // Replaces the whole table, as one step named `step`; `table` equal to the one held
    // records nothing, but is announced as a load is.
    void replace(const ColourTable &table, const QString &step,
                 StepName naming = StepName::HistoryOnly);
    // Makes the chosen file the working picture (see WorkingPicture::import); announced
    // when the picture was written. Throws Error as the import does.
    ImportOutcome importPicture(const QString &chosen, ImportOrigin origin = ImportOrigin::Chosen);

    void undo() { m_history.undo(); }
    void redo() { m_history.redo(); }
    const QUndoStack &history() const { return m_history; }
    // What made the table as it stands, when its step says so (StepName::AlsoOrigin);
    // known already while the change is announced.
    const QString &origin() const { return m_origin; }

signals:
    void changed(const SkinChange &change);

private:
    friend class TableCommand;
    void setTable(const ColourTable &table, const SkinChange &change);
    void push(ColourTable after, int row, SkinChange::Cause cause, const QString &step,
              StepName naming);

    QString m_origin;

    ColourTable m_colours;
    WorkingPicture m_picture;
    QUndoStack m_history;
};
