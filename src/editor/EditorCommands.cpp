// The commands that change the skin or write it, and how everything that shows the
// document follows each change the document announces.

#include "editor/EditorWindow.h"

#include "editor/SkinTextEdit.h"

#include "skin/SkinFile.h"
#include "skin/SkinLint.h"

#include "platform/Error.h"
#include "platform/Files.h"

#include <QBuffer>
#include <QComboBox>
#include <QImageReader>
#include <QLineEdit>
#include <QScopedValueRollback>

#include <functional>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr auto SkinFilter = QT_TRANSLATE_NOOP("EditorWindow", "Zantho Skin Files (*.ini)|*.ini");

// What a failing step does to the steps after it.
enum class OnFailure
{
    GoOn,          // the next step runs all the same, without a word
    AskToContinue, // the user is asked "Continue?"; No ends the run
};

// "Continue?" after a failed step of "Apply Change".
bool askToContinue(Dialogs &dialogs, const Error &e)
{
    const QString question = e.description() + " ("_L1 + QString::number(e.code()) +
                             ")\r\n\r\n"_L1 +
                             QCoreApplication::translate("EditorWindow", "Continue?");
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

// Why a file holding `bytes` is not to be replaced by a skin: a picture of any kind Qt
// reads, or anything else that is no skin; an empty file may be. Empty when it may be.
QString whyNotSkinToReplace(QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    if (const QByteArray format = QImageReader::imageFormat(&buffer); !format.isEmpty())
        return QCoreApplication::translate("EditorWindow", "the file is a picture (%1)")
            .arg(QString::fromLatin1(format).toUpper());
    if (bytes.trimmed().isEmpty())
        return {};
    if (const QString why = whyNotSkinText(bytes); !why.isEmpty())
        return why;
    const SkinLint lint = lintSkin(bytes);
    if (lint.isSkin)
        return {};
    return QCoreApplication::translate("EditorWindow", "no line of it sets a colour item");
}

} // namespace

void EditorWindow::loadSkin(const QString &path, LoadAs loadAs)
{
    ColourTable table = m_document.colours();
    QByteArray bytes;
    try {
        bytes = readSmallFile(path, LargestSkinFile);
        // A picture or a program read as a skin would set nothing and only cost the
        // user the text they typed.
        if (const QString why = whyNotSkinText(bytes); !why.isEmpty())
            throw Error::file(Error::TypeMismatch,
                              QT_TRANSLATE_NOOP("Error", "Cannot load the skin \"%1\": %2"), path,
                              why);
        // A file dropped or handed over may be any file: one that sets no colour, or whose
        // lines run together, would only cost the user the text they typed.
        if (loadAs == LoadAs::HandedOver) {
            if (const QString why = whyNotASkin(bytes); !why.isEmpty())
                throw Error::file(Error::TypeMismatch,
                                  QT_TRANSLATE_NOOP("Error", "Cannot load the skin \"%1\": %2"),
                                  path, why);
        }
        readSkinBytes(bytes, table);
    } catch (const Error &e) {
        // A file caught in the middle of another program's save is read again when it
        // settles.
        if (loadAs == LoadAs::Reload)
            return;
        m_dialogs.message(tr("The skin could not be loaded.\r\n%1").arg(e.description()));
        // Nothing was read, so nothing changes; the run's first table is shown all the
        // same.
        if (loadAs != LoadAs::Start)
            return;
    }
    switch (loadAs) {
    case LoadAs::Start:
        m_document.start(table);
        return;
    case LoadAs::Factory:
        m_followedFile.follow({}, {});
        break;
    case LoadAs::UserFile:
    case LoadAs::HandedOver:
    case LoadAs::Reload:
        m_followedFile.follow(path, bytes);
        if (loadAs == LoadAs::Reload && table == m_document.colours())
            return;
        break;
    }
    // Text the user typed, which the load replaces in the box, stays in its file until
    // the next edit, for the next start to offer should the run end before.
    if (loadAs != LoadAs::Reload && shownSkinText() != skinText(m_document.colours())) {
        m_workingFiles.flush();
        m_keepTypedFile = true;
    }
    m_document.replace(table);
    m_keepTypedFile = false;
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

void EditorWindow::onApplyClicked()
{
    const int row = itemList->currentIndex();
    const QString code = codeEdit->text().toLower();
    try {
        m_document.apply(row, code);
    } catch (const Error &e) {
        // No row to store the code in: the table stays, and the later steps show it.
        if (askToContinue(m_dialogs, e))
            showChange({SkinChange::Cause::Applied, row});
    }
}

void EditorWindow::onRestoreClicked()
{
    loadSkin(m_programDir.file(ProgramDirectory::FactorySkin), LoadAs::Factory);
    clearColourControls();
}

void EditorWindow::onLoadTriggered()
{
    m_fileDialog.setFilter(tr(SkinFilter));
    if (const QString path = m_fileDialog.showOpen(m_dialogs); fileExists(path))
        loadSkin(path, LoadAs::UserFile);
}

void EditorWindow::openSkin(const QString &path)
{
    if (fileExists(path))
        loadSkin(path, LoadAs::HandedOver);
}

void EditorWindow::onSaveAsTriggered()
{
    m_fileDialog.setFilter(tr(SkinFilter));
    const QString chosen = m_fileDialog.showSave(m_dialogs);
    if (chosen.isEmpty())
        return;
    const QString text = shownSkinText();
    try {
        // A photograph or a program whose name was typed is not given up for a skin, even
        // after the dialog's "Yes": what is written over is never more than a skin's text.
        if (fileExists(chosen)) {
            if (const QString why = whyNotSkinToReplace(readSmallFile(chosen, LargestSkinFile));
                !why.isEmpty())
                throw Error::file(Error::PathFileAccess,
                                  QT_TRANSLATE_NOOP("Error", "A skin is not saved over \"%1\": %2"),
                                  chosen, why);
        }
        writeSkinFile(chosen, text);
    } catch (const Error &e) {
        m_dialogs.message(tr("The skin was not saved.\r\n%1").arg(e.description()));
        return;
    }
    // What was just written is no change of the file; what others write to it later is.
    m_followedFile.follow(chosen, encodeLines8bit(skinFileLines(text)));
    m_dialogs.message(tr("Skin.ini saved to %1").arg(chosen));
}
