#include "scene/SkinDocument.h"

#include <QUndoCommand>

// One change of the colour table: the tables before and after it, the row it is about,
// and what made each. The history runs redo() as it takes the command, which makes the
// change.
class TableCommand final : public QUndoCommand
{
public:
    TableCommand(SkinDocument &document, ColourTable after, int row, SkinChange::Cause cause,
                 const QString &step, QString origin)
        : QUndoCommand(step), m_document(document), m_before(document.m_colours),
          m_after(std::move(after)), m_row(row), m_cause(cause), m_originBefore(document.m_origin),
          m_origin(std::move(origin))
    {
    }

    void undo() override
    {
        m_document.m_origin = m_originBefore;
        m_document.setTable(m_before, {SkinChange::Cause::Undone, m_row});
    }
    void redo() override
    {
        m_document.m_origin = m_origin;
        m_document.setTable(m_after, {std::exchange(m_cause, SkinChange::Cause::Redone), m_row});
    }

private:
    SkinDocument &m_document;
    const ColourTable m_before;
    const ColourTable m_after;
    const int m_row;
    SkinChange::Cause m_cause; // what the first redo makes; every later one is a redo
    const QString m_originBefore;
    const QString m_origin;
};

SkinDocument::SkinDocument(const ProgramDirectory &programDir) : m_picture(programDir)
{
    m_history.setUndoLimit(StepsKept);
}

void SkinDocument::start(const ColourTable &table)
{
    m_history.clear();
    m_origin.clear();
    setTable(table, {SkinChange::Cause::Replaced, 0});
}

void SkinDocument::apply(int row, const QString &code, const QString &step)
{
    ColourTable after = m_colours;
    after.set(row, code);
    push(std::move(after), row, SkinChange::Cause::Applied, step, StepName::HistoryOnly);
}

void SkinDocument::replace(const ColourTable &table, const QString &step, StepName naming)
{
    push(table, 0, SkinChange::Cause::Replaced, step, naming);
}

void SkinDocument::push(ColourTable after, int row, SkinChange::Cause cause, const QString &step,
                        StepName naming)
{
    if (after == m_colours) {
        emit changed({cause, row});
        return;
    }
    m_history.push(new TableCommand(*this, std::move(after), row, cause, step,
                                    naming == StepName::AlsoOrigin ? step : QString()));
}

void SkinDocument::setTable(const ColourTable &table, const SkinChange &change)
{
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
