#include "scene/SkinDocument.h"

#include <QUndoCommand>

// One change of the colour table: the tables before and after it, and the row it is
// about. The history runs redo() as it takes the command, which makes the change.
class TableCommand final : public QUndoCommand
{
public:
    TableCommand(SkinDocument &document, ColourTable after, int row, SkinChange::Cause cause)
        : m_document(document), m_before(document.m_colours), m_after(std::move(after)), m_row(row),
          m_cause(cause), m_stepBefore(document.m_step)
    {
    }

    void undo() override
    {
        m_document.m_step = m_stepBefore;
        m_document.setTable(m_before, {SkinChange::Cause::Undone, m_row});
    }
    void redo() override
    {
        m_document.m_step = text();
        m_document.setTable(m_after, {std::exchange(m_cause, SkinChange::Cause::Redone), m_row});
    }

private:
    SkinDocument &m_document;
    const ColourTable m_before;
    const ColourTable m_after;
    const int m_row;
    SkinChange::Cause m_cause; // what the first redo makes; every later one is a redo
    const QString m_stepBefore;
};

SkinDocument::SkinDocument(const ProgramDirectory &programDir) : m_picture(programDir)
{
    m_history.setUndoLimit(StepsKept);
}

void SkinDocument::start(const ColourTable &table)
{
    m_history.clear();
    m_step.clear();
    setTable(table, {SkinChange::Cause::Replaced, 0});
}

void SkinDocument::apply(int row, const QString &code)
{
    ColourTable after = m_colours;
    after.set(row, code);
    push(std::move(after), row, SkinChange::Cause::Applied);
}

void SkinDocument::replace(const ColourTable &table, const QString &step)
{
    push(table, 0, SkinChange::Cause::Replaced, step);
}

void SkinDocument::push(ColourTable after, int row, SkinChange::Cause cause, const QString &step)
{
    if (after == m_colours) {
        emit changed({cause, row});
        return;
    }
    auto *command = new TableCommand(*this, std::move(after), row, cause);
    command->setText(step);
    m_history.push(command);
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
