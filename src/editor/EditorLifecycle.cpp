// The editor's life: its start-up with the work a crash left offered back, its shutdown,
// and the preview following its size state.

#include "editor/EditorWindow.h"

#include "editor/EditorLayout.h"
#include "editor/KeptCopiesOffer.h"
#include "editor/SkinTextEdit.h"

#include "skin/SkinFile.h"
#include "skin/SkinItems.h"

#include "platform/Error.h"
#include "platform/Files.h"
#include "platform/Slider.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>

bool EditorWindow::open()
{
    // What a run that ended without its shutdown left is read before anything is
    // written, and nothing is written over it until the user has answered for it. The
    // working files wait for the windows in any case: their first drawing does not wait
    // for the disk, and the work is on the disk before the user can change it.
    const WorkingFiles::LeftOver leftOver = m_workingFiles.leftOver();
    m_workingFiles.hold();
    if (!loadWindow())
        return false;
    // The keyboard is the editor's from the start, also where no window manager gives it.
    activateWindow();
    offerLeftOverWork(leftOver);
    offerKeptCopies(m_dialogs);
    return true;
}

bool EditorWindow::loadWindow()
{
    for (const SkinItem &item : SkinItems)
        itemList->addItem(shownLabel(item));
    selectRow(0);

    const QString factorySkin = m_programDir.file(ProgramDirectory::FactorySkin);
    if (!fileExists(factorySkin)) {
        m_dialogs.message(tr("Default.ini not found. Make sure it is in the Vellox directory.%1")
                              .arg(m_programDir.whereItIs()));
        close();
        return false;
    }
    QByteArray bytes;
    const std::optional<ColourTable> read = readSkin(factorySkin, LoadAs::Factory, bytes);
    // The windows are mapped before the skin is set in them and drawn: the window manager
    // frames them meanwhile, and nothing is painted before the event loop runs, when all
    // of it is there.
    previewAction->setChecked(true);
    makePreview();
    m_preview->show();
    show();
    // What cannot be read changes nothing: the run's first table is shown all the same.
    m_document.start(read.value_or(m_document.colours()));
    // A colour the preview cannot draw is not told at the start.
    try {
        m_preview->loadWindow();
    } catch (const Error &) {
    }
    opacitySlider->setValue(EditorControls::OpacityMaximum);
    onItemChosen();
    return true;
}

void EditorWindow::offerLeftOverWork(const WorkingFiles::LeftOver &leftOver)
{
    // Read over the factory skin, as the run that left it had begun.
    ColourTable table = m_document.colours();
    if (leftOver.skin)
        readSkinBytes(*leftOver.skin, table);
    // A working skin that is the factory skin, and nothing typed, hold no work.
    if ((table != m_document.colours() || leftOver.typed) &&
        m_dialogs.question(
            tr("Vellox was not closed properly. Restore the skin you were editing?")) ==
            Dialogs::Answer::Yes) {
        m_document.replace(table, tr("Restore Unsaved Work"));
        if (leftOver.typed)
            skinTextEdit->setSkinText(*leftOver.typed);
    }
    m_workingFiles.release();
}

void EditorWindow::keepWork()
{
    m_workingFiles.flush();
}

void EditorWindow::closeEvent(QCloseEvent *event)
{
    unloadWindow();
    event->accept();
}

void EditorWindow::unloadWindow()
{
    if (m_preview)
        m_preview->close();
    const auto report = [this](const Error &e) {
        m_dialogs.message(tr("The working file could not be removed.\r\n%1").arg(e.description()));
    };
    m_workingFiles.remove(report);
    m_document.picture().discard(report);
}

void EditorWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && m_shownOnce)
        followWindowState();
}

void EditorWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!std::exchange(m_shownOnce, true))
        followWindowState();
}

void EditorWindow::followWindowState()
{
    if (isMinimized()) {
        if (m_preview)
            m_preview->hide();
    } else if (!isMaximized() && !isFullScreen()) {
        showPreview();
    }
}

void EditorWindow::bringToFront()
{
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    // Closed while the About window kept the program running: back with its preview.
    const bool reopened = !isVisible();
    show();
    if (reopened)
        showPreview();
    raise();
    activateWindow();
}
