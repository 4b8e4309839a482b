// Skin files in and out: loaded from the menu, dropped or handed over by a second start,
// read again when another program changes the one loaded, the factory skin restored, and
// saved.

#include "editor/EditorWindow.h"

#include "editor/SkinTextEdit.h"

#include "skin/SkinFile.h"
#include "skin/SkinLint.h"

#include "platform/Error.h"
#include "platform/Files.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QTimer>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr auto SkinFilter = QT_TRANSLATE_NOOP("EditorWindow", "Zantho Skin Files (*.ini)|*.ini");

constexpr std::chrono::milliseconds HandOverRetry{200};

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

std::optional<ColourTable> EditorWindow::readSkin(const QString &path, LoadAs loadAs,
                                                  QByteArray &bytes)
{
    ColourTable table = m_document.colours();
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
        if (loadAs != LoadAs::Reload)
            m_dialogs.message(tr("The skin could not be loaded.\r\n%1").arg(e.description()));
        return std::nullopt;
    }
    return table;
}

void EditorWindow::loadSkin(const QString &path, LoadAs loadAs)
{
    QByteArray bytes;
    const std::optional<ColourTable> read = readSkin(path, loadAs, bytes);
    if (!read)
        return;
    const ColourTable &table = *read;
    // The step's name, as the history gives it back.
    QString step;
    const QString fileName = QFileInfo(path).fileName();
    switch (loadAs) {
    case LoadAs::Factory:
        m_followedFile.follow({}, {});
        step = tr("Restore Defaults");
        break;
    case LoadAs::UserFile:
    case LoadAs::HandedOver:
        m_followedFile.follow(path, bytes);
        step = tr("Load \"%1\"").arg(fileName);
        break;
    case LoadAs::Reload:
        m_followedFile.follow(path, bytes);
        if (table == m_document.colours())
            return;
        step = tr("Read \"%1\" Again").arg(fileName);
        break;
    }
    // Text the user typed, which the load replaces in the box, stays in its file until
    // the next edit, for the next start to offer should the run end before.
    if (loadAs != LoadAs::Reload && shownSkinText() != skinText(m_document.colours())) {
        m_workingFiles.flush();
        m_keepTypedFile = true;
    }
    m_document.replace(table, step);
    m_keepTypedFile = false;
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

void EditorWindow::openHandedSkin(const QString &path)
{
    // Never underneath a dialog, whose answer is about what it was opened on.
    if (QApplication::activeModalWidget()) {
        QTimer::singleShot(HandOverRetry, this, [this, path] { openHandedSkin(path); });
        return;
    }
    openSkin(path);
}

void EditorWindow::reloadFollowedFile()
{
    if (QApplication::activeModalWidget()) {
        QTimer::singleShot(HandOverRetry, this, [this] { reloadFollowedFile(); });
        return;
    }
    // Text typed by hand into the skin text box is the user's too: a reload would replace
    // it, so the change is told instead, for the user to load when they choose.
    if (shownSkinText() != skinText(m_document.colours())) {
        m_dialogs.message(
            tr("\"%1\" was changed by another program. The Skin.ini box holds text you typed, "
               "so Vellox has not read the file again; \"Load skin.ini...\" reads it.")
                .arg(QDir::toNativeSeparators(m_followedFile.path())));
        return;
    }
    loadSkin(m_followedFile.path(), LoadAs::Reload);
}

void EditorWindow::onRestoreClicked()
{
    loadSkin(m_programDir.file(ProgramDirectory::FactorySkin), LoadAs::Factory);
    clearColourControls();
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
