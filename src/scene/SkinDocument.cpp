#include "scene/SkinDocument.h"

#include <QUndoCommand>

namespace {

// Far more than a session of editing needs; the oldest steps go first.
constexpr int StepsKept = 1000;

} // namespace

// One change of the colour table: the tables before and after it. It is recorded once
// the change is made, so the first redo, which the history runs as it takes the step,
// leaves the table alone.
class TableStep final : public QUndoCommand
{
public:
    TableStep(SkinDocument &document, ColourTable before, int row)
        : m_document(document), m_before(std::move(before)), m_after(document.m_colours), m_row(row)
    {
    }

    void undo() override { restore(m_before); }
    void redo() override
    {
        if (!std::exchange(m_made, false))
            restore(m_after);
    }

private:
    void restore(const ColourTable &table)
    {
        m_document.m_colours = table;
        emit m_document.restored(m_row);
    }

    SkinDocument &m_document;
    ColourTable m_before;
    ColourTable m_after;
    int m_row;
    bool m_made = true;
};

SkinDocument::SkinDocument(const ProgramDirectory &programDir) : m_picture(programDir)
{
    m_history.setUndoLimit(StepsKept);
}

void SkinDocument::recordChange(const ColourTable &before, int row)
{
    if (before != m_colours)
        m_history.push(new TableStep(*this, before, row));
}
