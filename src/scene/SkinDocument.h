#pragma once

#include "scene/WorkingPicture.h"

#include "skin/ColourTable.h"

#include "platform/ProgramDirectory.h"

#include <QObject>
#include <QUndoStack>

// The skin being edited, for the whole run: its colour table, its working picture and
// the history of the table's changes. The editor owns it; the preview reads the colours
// at the moment it draws and imports into the picture.
class SkinDocument : public QObject
{
    Q_OBJECT

public:
    explicit SkinDocument(const ProgramDirectory &programDir);

    ColourTable &colours() { return m_colours; }
    const ColourTable &colours() const { return m_colours; }
    WorkingPicture &picture() { return m_picture; }

    // Records, as one step that can be undone, how the table changed since `before`;
    // `row` is the row the step is about, 0 for a change of the whole table. Nothing is
    // recorded when the table is as it was.
    void recordChange(const ColourTable &before, int row);
    void undo() { m_history.undo(); }
    void redo() { m_history.redo(); }

signals:
    // An undo or a redo has put back the table of a step about `row`.
    void restored(int row);

private:
    friend class TableStep;

    ColourTable m_colours;
    WorkingPicture m_picture;
    QUndoStack m_history;
};
