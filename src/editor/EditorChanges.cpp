// How the user's changes reach the document, and how everything that shows the document
// follows each change it announces: the controls, the skin text, the working files and
// the preview.

#include "editor/EditorWindow.h"

#include "editor/SkinTextEdit.h"

#include "skin/SkinFile.h"

#include "platform/Error.h"

#include <QComboBox>
#include <QLineEdit>
#include <QScopedValueRollback>

#include <functional>

using namespace Qt::Literals::StringLiterals;

namespace {

// What a failing step does to the steps after it.
enum class OnFailure
{
    GoOn,          // the next step runs all the same, without a word
    AskToContinue, // the user is asked "Continue?"; No ends the run
};

// "Continue?" after a failed step of "Apply Change".
bool askToContinue(Dialogs &dialogs, const Error &e)
{
    const QString question = QCoreApplication::translate("EditorWindow", "%1 (%2)\r\n\r\nContinue?")
                                 .arg(e.description(), QString::number(e.code()));
    return dialogs.question(question) == Dialogs::Answer::Yes;
}

void runSteps(std::initializer_list<std::function<void()>> steps, OnFailure onFailure,
              Dialogs &dialogs)
{
    for (const auto &step : steps) {
        try {
            step();
        } catch (const Error &e) {
            if (onFailure == OnFailure::AskToContinue && !askToContinue(dialogs, e))
                return;
        }
    }
}

} // namespace

void EditorWindow::onApplyClicked()
{
    const int row = itemList->currentIndex();
    const QString code = codeEdit->text().toLower();
    try {
        m_document.apply(row, code, tr("Apply Change"));
    } catch (const Error &e) {
        // No row to store the code in: the table stays, and the later steps show it.
        if (askToContinue(m_dialogs, e))
            showChange({SkinChange::Cause::Applied, row});
    }
}

void EditorWindow::showChange(const SkinChange &change)
{
    if (!change.colours()) {
        // A new picture shows at once; one that cannot be drawn is told by the import.
        runSteps({[this] { previewWindow()->redraw(); }}, OnFailure::GoOn, m_dialogs);
        return;
    }
    // An applied code stays shown as it was typed; a load, an undo or a redo shows the
    // row it is about. Only "Apply Change" asks whether to go on past a step that fails:
    // a colour the preview cannot draw shows when it is chosen, and a working skin that
    // cannot be written after any other change is told once, until it can be again.
    const bool applied = change.cause == SkinChange::Cause::Applied;
    runSteps({[this] { showSkinText(); },
              [this, &change, applied] {
                  if (!applied)
                      selectRow(change.row);
              },
              [this, applied] {
                  m_workingFiles.writeSkin(shownSkinText(), applied
                                                                ? WorkingFiles::OnFailure::Throw
                                                                : WorkingFiles::OnFailure::Tell);
              },
              [this] { previewWindow()->redraw(); }},
             applied ? OnFailure::AskToContinue : OnFailure::GoOn, m_dialogs);
}

void EditorWindow::showSkinText()
{
    const QScopedValueRollback showing(m_showingSkinText, true);
    skinTextEdit->setSkinText(skinText(m_document.colours()));
    if (!m_keepTypedFile)
        m_workingFiles.keepTyped({});
}

QString EditorWindow::shownSkinText() const
{
    return skinTextEdit->skinText();
}

void EditorWindow::onSkinTextEdited()
{
    if (m_showingSkinText)
        return;
    // What the user typed is kept beside the working skin, so that a crash does not take
    // what "Save As" would have written.
    const QString typed = shownSkinText();
    m_workingFiles.keepTyped(typed == skinText(m_document.colours()) ? QString() : typed);
}
