#pragma once

#include "preview/PreviewWindow.h"
#include "scene/SkinDocument.h"

#include "platform/Dialogs.h"
#include "platform/ProgramDirectory.h"

#include <QMainWindow>
#include <QPointer>

class ColourBox;
class QAction;
class QComboBox;
class QLineEdit;
class QPushButton;
class SkinTextEdit;
class Slider;

// The editor window: the item list, the colour controls, the skin text and the
// commands. It owns the document (the colour table and the working picture) for the
// whole run and loads the preview window on demand.
class EditorWindow : public QMainWindow
{
    Q_OBJECT

public:
    EditorWindow(const ProgramDirectory &programDir, Dialogs &dialogs, QWidget *parent = nullptr);
    ~EditorWindow() override;

    // Runs the start-up steps and shows the window. Returns false when the program
    // cannot start; the window has then closed again and nothing of it is left open.
    bool open();

    const ColourTable &colours() const { return m_document.colours(); }
    // The preview window if it is loaded, else null.
    PreviewWindow *loadedPreview() const { return m_preview; }

    // Reads a skin file into the colour table and brings everything that shows the
    // colours up to date. Never fails: what cannot be done is skipped.
    void loadSkin(const QString &path);

    // A chosen, dropped or handed skin file, loaded as "Load skin.ini..." loads one.
    void openSkin(const QString &path);
    // The whole table replaced, as one step, as a load replaces it.
    void replaceColours(const ColourTable &colours);
    // A skin handed over by a second start: opened as soon as no dialog is open.
    void openHandedSkin(const QString &path);

    // Shows the window in front of the others, restored if it was minimised.
    void bringToFront();

signals:
    void aboutRequested();

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildControls();
    void buildMenus();
    void connectControls();
    void addShortcuts();

    bool loadWindow();
    // After a run that ended without its shutdown steps, offers its skin back.
    void offerLeftOverWork();
    // Copies of files kept while a rewrite in place that never ended was under way.
    void offerKeptCopies();
    // What follows reading a skin, or undoing a step: text, controls (of `row`), preview
    // and working skin brought up to date.
    void showLoadedSkin(int row = 0);
    void unloadWindow();
    void followWindowState();

    void showSkinText();
    QString shownSkinText() const;
    void selectRow(int row);
    void clearColourControls();
    void showComposedCode();
    void showSliderColour();

    void onItemChosen();
    void onCodeEdited();
    void onColourSliderMoved();
    void onOpacitySliderMoved();
    void onApplyClicked();
    void onRestoreClicked();
    void onColourBoxActivated();
    void onLoadTriggered();
    void onSaveAsTriggered();
    void onPreviewTriggered(bool checkedByMenu);

    // Loads the preview window unseen when it is not loaded.
    PreviewWindow *previewWindow();
    void showPreview();

    ProgramDirectory m_programDir;
    Dialogs &m_dialogs;
    CommonDialog m_fileDialog;
    SkinDocument m_document;
    QPointer<PreviewWindow> m_preview;
    bool m_shownOnce = false;
    QByteArray m_leftOver; // the working skin a previous run left, until it is offered back

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
};
