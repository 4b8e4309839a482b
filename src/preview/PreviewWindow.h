#pragma once

#include "preview/PreviewLayout.h"

#include "platform/Dialogs.h"
#include "platform/ProgramDirectory.h"

#include <QWidget>

#include <array>
#include <functional>

class ColourTable;
class DrawingArea;
class QLineEdit;
class QPushButton;
class QRadioButton;
class WorkingPicture;

// The preview window: the mock-up of the Zantho screen in the skin's colours, once
// over a two-colour gradient (the colour scene) and once over the imported background
// (the picture scene). It reads the editor's colours at the moment it draws and keeps no
// copy. It announces its own loading and unloading, which the editor shows as the check
// mark of its Preview entry.
class PreviewWindow : public QWidget
{
    Q_OBJECT

public:
    // What the preview reads of the editor, always at the moment it needs it.
    struct Skin
    {
        const ColourTable &colours;
        std::function<QString()> text; // the skin text as the editor shows it
    };

    PreviewWindow(const ProgramDirectory &programDir, Skin skin, WorkingPicture &picture,
                  CommonDialog &fileDialog, Dialogs &dialogs, QWidget *parent = nullptr);
    ~PreviewWindow() override;

    // The opening steps; run once, right after construction, by whoever loads the
    // window. Throws Error when the first redraw fails.
    void loadWindow();
    // Redraws both scenes from the colour table. Throws Error when a colour or a picture
    // cannot be read or the snapshot cannot be written; what was drawn before stays.
    void redraw();

    enum class Background
    {
        Colour,
        Picture
    };
    // Choose as the options do, with the same messages.
    void chooseTextMode(TextMode mode);
    void chooseBackground(Background background);
    // The scene in front as it is shown: the picture scene over the picture background.
    QImage shownImage() const;

    // A text of the colour scene: its colour item, what it says and where it stands.
    struct PlacedText
    {
        int row;
        QString text;
        QRect box;
    };
    QList<PlacedText> colourSceneTexts() const;
    // What the colour scene's texts are drawn on: the gradient and the blended panels.
    const QImage &colourSceneBackground() const;

signals:
    void loaded();
    void unloaded();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    enum Scene
    {
        ColourScene,
        PictureScene
    };

    void buildScenes();
    void buildControls();

    void onTextModeChosen(TextMode mode);
    void onColourBackgroundChosen();
    void onPictureBackgroundChosen();
    void onImportClicked();
    void onCreatePackageClicked();
    // A chosen or dropped picture becomes the working picture and is shown.
    void importPicture(const QString &chosen);
    void showSceneMenu(DrawingArea *scene, const QPoint &at);
    void savePreviewImage(const QImage &image);

    void exportPackage(const QString &name);
    void colourElements();
    void showWorkingPicture();
    void composite(Scene scene);
    void blendPhase(Scene scene, BlendPhase phase);
    void blend(DrawingArea *area, const SceneShape *shape, int row);
    void snapshot(DrawingArea *area);

    ProgramDirectory m_programDir;
    const ColourTable &m_colours;
    std::function<QString()> m_skinText;
    WorkingPicture &m_picture;
    CommonDialog &m_fileDialog;
    Dialogs &m_dialogs;
    // Preview images have a save dialog of their own, which remembers its own file.
    CommonDialog m_imageDialog;

    DrawingArea *colourScene = nullptr;
    DrawingArea *pictureScene = nullptr;
    std::array<DrawingArea *, 2> m_scenes{};
    std::array<std::array<SceneText *, 2>, TextRoles.size()> m_texts{};
    std::array<std::array<SceneShape *, 2>, ShapeRoles.size()> m_shapes{};

    QRadioButton *skinningTextOption = nullptr;
    QRadioButton *actualTextOption = nullptr;
    QRadioButton *colourBackgroundOption = nullptr;
    QRadioButton *pictureBackgroundOption = nullptr;
    QPushButton *importButton = nullptr;
    QLineEdit *projectNameEdit = nullptr;
    QPushButton *createPackageButton = nullptr;
};
