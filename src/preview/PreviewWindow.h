#pragma once

#include "readability/Readability.h"
#include "scene/SceneRenderer.h"
#include "scene/WorkingPicture.h"

#include "colour/Vision.h"

#include "platform/Dialogs.h"
#include "platform/ProgramDirectory.h"

#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>

class DrawingArea;
class QKeyEvent;
class QLineEdit;
class QPushButton;
class QRadioButton;
class SkinDocument;

// The preview window: shows the two scenes its renderer draws from the document, the
// mock-up of the Zantho screen over a two-colour gradient (the colour scene) and over the
// imported background (the picture scene), with the controls for the text mode, the
// background, picture import and package export. It reads the document's colours at the
// moment it draws and keeps no copy. It announces its own loading and unloading, which
// the editor shows as the check mark of its Preview entry.
class PreviewWindow : public QWidget
{
    Q_OBJECT

public:
    // `skinText` gives the skin text as the editor shows it, at the moment it is needed.
    PreviewWindow(const ProgramDirectory &programDir, SkinDocument &document,
                  std::function<QString()> skinText, CommonDialog &fileDialog, Dialogs &dialogs,
                  QWidget *parent = nullptr);
    ~PreviewWindow() override;

    // The opening steps; run once, right after construction, by whoever loads the
    // window. Throws Error when the first redraw fails.
    void loadWindow();
    // Redraws both scenes from the colour table. Throws Error when a colour or a picture
    // cannot be read; what was drawn before stays.
    void redraw();

    // The scene in front as it is shown: the picture scene over the picture background.
    QImage shownImage() const;

    // The figure of a text as the tooltip shows it and a screen reader is told it.
    static QString figureText(const TextReading &text);

signals:
    void loaded();
    void unloaded();
    void skinDropped(const QString &path);
    // A readable colour for item `row`, for the editor to offer in its code box.
    void readableColourFound(int row, const QString &code);
    // A whole skin suggested from the working picture, to replace the table's.
    // `step` names the look, for the history to name the step.
    void coloursSuggested(const ColourTable &colours, const QString &step);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void buildScenes();
    void buildControls();

    void onTextModeChosen(TextMode mode);
    void onColourBackgroundChosen();
    void onPictureBackgroundChosen();
    void onImportClicked();
    void onCreatePackageClicked();
    // A chosen or dropped picture becomes the working picture and is shown.
    void importPicture(const QString &chosen, ImportOrigin origin = ImportOrigin::Chosen);
    // The menu of `scene` at `at`, with the tools for `text` when it is hard to read. Opened
    // by a key, it opens on its first entry, which Enter then takes and a screen reader reads.
    enum class MenuOpenedBy
    {
        Pointer,
        Keyboard,
    };
    void showSceneMenu(DrawingArea *scene, const QPoint &at, const std::optional<TextReading> &text,
                       MenuOpenedBy openedBy);
    void savePreviewImage(const QImage &image);

    // How the texts of the scenes as drawn read: both scenes when there is a picture.
    Readability readability() const;
    Readability::Scenes scenesMeasured() const;
    // The text shown at `at` in `scene`, if any.
    std::optional<TextReading> readingAt(const DrawingArea *scene, QPoint at) const;
    // The texts of `scene` in the order they are read and the keyboard cursor visits them.
    QList<TextReading> measureTexts(const DrawingArea *scene) const;
    // Moves the keyboard cursor of `scene` for `key`; false for a key it does not take.
    bool moveTextCursor(DrawingArea *scene, int key);
    void placeTextCursor(DrawingArea *scene, const std::optional<TextReading> &text);
    // Gives the accessible focus to the text under the cursor of `scene`, when it has the
    // focus, after any new colours: a screen reader reads the text it comes to as it last
    // heard of it.
    void tellCursor(DrawingArea *scene);
    // What the tooltip of `text` tells, and a screen reader of it: its figure, and the
    // step that made the colours when it has a name.
    QString toolTipOf(const std::optional<TextReading> &text) const;
    // Tells a screen reader of the scene's new figures and the step that made them.
    void tellNewColours(DrawingArea *scene);
    // Arrows, Home and End move the keyboard cursor; Shift+F10 opens the menu.
    bool onSceneKey(DrawingArea *scene, const QKeyEvent *key);
    void showCursorMenu(DrawingArea *scene);
    // Where the focus frame of the scenes lies: around them, outside their pictures.
    QRegion focusRing() const;
    void checkReadability();
    void offerReadableColour(const TextReading &reading);
    void suggestColours();
    // The code of item `panel` at the lowest opacity at which its texts read well, offered.
    void offerOpacity(int panel);
    void setVision(Vision vision);

    void exportPackage(const QString &name);

    ProgramDirectory m_programDir;
    SkinDocument &m_document;
    std::function<QString()> m_skinText;
    SceneRenderer m_renderer;
    CommonDialog &m_fileDialog;
    WindowDialogs m_dialogs;
    // Preview images have a save dialog of their own, which remembers its own file.
    CommonDialog m_imageDialog;

    Vision m_vision = Vision::Normal;
    int m_nextSuggestion = 1;
    // For the colour scene and the picture scene: new colours waiting to be told.
    std::array<QTimer *, 2> m_coloursToTell{};

    DrawingArea *colourScene = nullptr;
    DrawingArea *pictureScene = nullptr;

    QRadioButton *skinningTextOption = nullptr;
    QRadioButton *actualTextOption = nullptr;
    QRadioButton *colourBackgroundOption = nullptr;
    QRadioButton *pictureBackgroundOption = nullptr;
    QPushButton *importButton = nullptr;
    QLineEdit *projectNameEdit = nullptr;
    QPushButton *createPackageButton = nullptr;
};
