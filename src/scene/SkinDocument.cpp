#include "scene/SkinDocument.h"

#include <QUndoCommand>

// One change of the colour table: the tables before and after it, and the row it is
// about. The history runs redo() as it takes the command, which makes the change.
class TableCommand final : public QUndoCommand
{
public:
    TableCommand(SkinDocument &document, ColourTable after, int row, SkinChange::Cause cause)
        : m_document(document), m_before(document.m_colours), m_after(std::move(after)), m_row(row),
          m_cause(cause)
    {
    }

    void undo() override { m_document.setTable(m_before, {SkinChange::Cause::Undone, m_row}); }
    void redo() override
    {
        m_document.setTable(m_after, {std::exchange(m_cause, SkinChange::Cause::Redone), m_row});
    }

private:
    SkinDocument &m_document;
    const ColourTable m_before;
    const ColourTable m_after;
    const int m_row;
    SkinChange::Cause m_cause; // what the first redo makes; every later one is a redo
};

SkinDocument::SkinDocument(const ProgramDirectory &programDir) : m_picture(programDir)
{
    m_history.setUndoLimit(StepsKept);
}

void SkinDocument::start(const ColourTable &table)
{
    m_history.clear();
    setTable(table, {SkinChange::Cause::Replaced, 0});
}

void SkinDocument::apply(int row, const QString &code)
{
    ColourTable after = m_colours;
    after.set(row, code);
    push(std::move(after), row, SkinChange::Cause::Applied);
}

void SkinDocument::replace(const ColourTable &table)
{
    push(table, 0, SkinChange::Cause::Replaced);
}

void SkinDocument::push(ColourTable after, int row, SkinChange::Cause cause)
{
    if (after == m_colours)
        emit changed({cause, row});
    else
        m_history.push(new TableCommand(*this, std::move(after), row, cause));
}

void SkinDocument::setTable(const ColourTable &table, SkinChange change)
{
    for (int row = 0; row < ItemCount; ++row)
        change.rows[static_cast<size_t>(row)] = table.at(row) != m_colours.at(row);
    m_colours = table;
    emit changed(change);
}

ImportOutcome SkinDocument::importPicture(const QString &chosen, ImportOrigin origin)
{
    const ImportOutcome outcome = m_picture.import(chosen, origin);
    if (outcome.kind == ImportOutcome::Written)
        emit changed({SkinChange::Cause::Imported, 0});
    return outcome;
}
