#pragma once

#include "editor/FollowedFile.h"
#include "editor/WorkingFiles.h"

#include "preview/PreviewWindow.h"

#include "scene/SkinDocument.h"

#include "platform/Dialogs.h"
#include "platform/ProgramDirectory.h"

#include <QMainWindow>
#include <QPointer>

#include <optional>

class ColourBox;
class QAction;
class QComboBox;
class QLineEdit;
class QPushButton;
class SkinTextEdit;
class Slider;

// The editor window: the item list, the colour controls, the skin text and the
// commands. It owns the document (the colour table and the working picture) for the
// whole run and loads the preview window on demand. The commands ask the document for
// their change; the controls, the skin text, the working files and the preview follow
// the document's announcement of it.
class EditorWindow : public QMainWindow
{
    Q_OBJECT

public:
    EditorWindow(const ProgramDirectory &programDir, Dialogs &dialogs, QWidget *parent = nullptr);
    ~EditorWindow() override;

    // Runs the start-up steps and shows the window, then offers back what a run that
    // ended without its shutdown left. Returns false when the program cannot start; the
    // window has then closed again and nothing of it is left open.
    bool open();

    const ColourTable &colours() const { return m_document.colours(); }
    const SkinDocument &document() const { return m_document; }
    // The preview window if it is loaded, else null.
    PreviewWindow *loadedPreview() const { return m_preview; }

    // A dropped or handed skin file, loaded as "Load skin.ini..." loads one, but only when
    // it is a skin: a file that sets no colour, or whose lines the reader cannot tell
    // apart, is refused with a message and changes nothing. A name that is no file loads
    // nothing.
    void openSkin(const QString &path);
    // A skin handed over by a second start: opened as soon as no dialog is open.
    void openHandedSkin(const QString &path);
    // Shows the window in front of the others, restored if it was minimised.
    void bringToFront();
    // The program is about to end without its shutdown: what waits to be written goes to
    // the working files now, for the next start to offer back.
    void keepWork();

signals:
    void aboutRequested();

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // The window itself (EditorWindow.cpp).
    void buildControls();
    void buildMenus();
    void connectControls();
    void addShortcuts();
    // Loads the preview window unseen when it is not loaded.
    PreviewWindow *previewWindow();
    // The preview window, made if there is none, but not yet loaded.
    void makePreview();
    void showPreview();
    void onPreviewTriggered(bool checkedByMenu);

    // The colour controls (EditorColourControls.cpp).
    void selectRow(int row);
    void clearColourControls();
    void showComposedCode();
    void showSliderColour();
    void onItemChosen();
    void onCodeEdited();
    void onColourSliderMoved();
    void onOpacitySliderMoved();
    void onColourBoxActivated();

    // The user's changes, and the views following the document (EditorChanges.cpp).
    void onApplyClicked();
    // Everything that shows the document brought up to date after `change`.
    void showChange(const SkinChange &change);
    void showSkinText();
    QString shownSkinText() const;
    void onSkinTextEdited();

    // Skin files in and out (EditorSkinFiles.cpp).
    // What a loaded skin is, for the history and for following its file.
    enum class LoadAs
    {
        Factory,    // the factory skin again, as one step
        UserFile,   // a skin of the user's, as one step; its file is followed from then on
        HandedOver, // the same, for a file dropped or handed over: refused if no skin
        Reload,     // the followed file, changed on the disk: one step, and only a change
    };
    // Reads a skin file over the table. Never fails: a file that cannot be read, or is
    // no skin, changes nothing, the skin text typed included, and is told unless it is
    // a reload.
    void loadSkin(const QString &path, LoadAs loadAs);
    // The table a skin file sets over the one shown, and the bytes read; nothing when it
    // cannot be read or is no skin, which is told unless it is a reload.
    std::optional<ColourTable> readSkin(const QString &path, LoadAs loadAs, QByteArray &bytes);
    // The followed skin file changed on the disk: read again as soon as no dialog is open.
    void reloadFollowedFile();
    void onLoadTriggered();
    void onRestoreClicked();
    void onSaveAsTriggered();

    // Start-up and shutdown (EditorLifecycle.cpp).
    bool loadWindow();
    void offerLeftOverWork(const WorkingFiles::LeftOver &leftOver);
    void unloadWindow();
    void followWindowState();

    ProgramDirectory m_programDir;
    WindowDialogs m_dialogs;
    CommonDialog m_fileDialog;
    SkinDocument m_document;
    WorkingFiles m_workingFiles;
    FollowedFile m_followedFile;
    QPointer<PreviewWindow> m_preview;
    bool m_shownOnce = false;
    bool m_showingSkinText = false;
    // A load replaced text the user typed: its file stays until the next edit.
    bool m_keepTypedFile = false;

    QComboBox *itemList = nullptr;
    ColourBox *colourBox = nullptr;
    Slider *redSlider = nullptr;
    Slider *greenSlider = nullptr;
    Slider *blueSlider = nullptr;
    Slider *opacitySlider = nullptr;
    QLineEdit *codeEdit = nullptr;
    QPushButton *applyButton = nullptr;
    QPushButton *restoreButton = nullptr;
    SkinTextEdit *skinTextEdit = nullptr;

    QAction *loadAction = nullptr;
    QAction *saveAsAction = nullptr;
    QAction *exitAction = nullptr;
    QAction *previewAction = nullptr;
    QAction *aboutAction = nullptr;
    // Not in a menu: the menus stay as they were.
    QAction *undoAction = nullptr;
    QAction *redoAction = nullptr;
};
