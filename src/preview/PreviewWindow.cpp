#include "preview/PreviewWindow.h"

#include "preview/Blend.h"
#include "preview/DrawingArea.h"
#include "preview/Gradient.h"
#include "preview/PackageFolder.h"
#include "preview/WorkingPicture.h"

#include "skin/ColourTable.h"
#include "skin/Conversions.h"
#include "skin/SkinFile.h"
#include "skin/SkinItems.h"

#include "platform/Dialogs.h"
#include "platform/Error.h"
#include "platform/FileDrop.h"
#include "platform/Files.h"
#include "platform/Pictures.h"

#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr auto PreviewImageFilter = "PNG Images (*.png)|*.png"_L1;
constexpr auto PictureFilter = "Zantho Backrounds (*.jpg,*.bmp,*.png)|*.jpg;*.bmp;*.png"_L1;
constexpr auto NoPictureLoaded =
    "No Picture loaded. Please import picture before choosing this option."_L1;
constexpr auto PackageSkin = "skin.ini"_L1;
constexpr auto PackageJpg = "background.jpg"_L1;
constexpr auto PackageBmp = "background.bmp"_L1;
constexpr auto PngNotSupported =
    "Sorry! .png's aren't supported yet for preview. Try saving as .bmp or .jpg."_L1;

// A project name becomes one folder inside the projects folder, and nothing else.
bool isValidProjectName(const QString &name)
{
    if (name.trimmed().isEmpty() || name == "."_L1 || name == ".."_L1)
        return false;
    if (name.contains(u'/') || name.contains(u'\\') || name.contains(QChar(0)))
        return false;
    constexpr qsizetype NameMax = 255; // bytes in one file name
    return QFile::encodeName(name).size() <= NameMax;
}

// Runs a handler that Qt calls. A redraw that fails there has nobody to go up to and
// leaves the scene as far as it got; the colour that made it fail was reported when it
// was applied.
void ignoringRedrawFailure(const std::function<void()> &handler)
{
    try {
        handler();
    } catch (const Error &) {
    }
}

} // namespace

PreviewWindow::PreviewWindow(const ProgramDirectory &programDir, Skin skin, WorkingPicture &picture,
                             CommonDialog &fileDialog, Dialogs &dialogs, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint), m_programDir(programDir),
      m_colours(skin.colours), m_skinText(std::move(skin.text)), m_picture(picture),
      m_fileDialog(fileDialog), m_dialogs(dialogs), m_imageDialog(dialogs)
{
    setObjectName("frmPreview"_L1);
    setWindowTitle("Vellox Preview"_L1);
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(layoutFont());
    setFixedSize(PreviewControls::Window.size());
    setGeometry(PreviewControls::Window);
    buildScenes();
    buildControls();
    m_imageDialog.setFilter(PreviewImageFilter);
    new FileDrop(this, m_dialogs, [this](const QString &path) { importPicture(path); });
}

PreviewWindow::~PreviewWindow() = default;

void PreviewWindow::buildScenes()
{
    colourScene = new DrawingArea("Picture1", this);
    colourScene->move(PreviewControls::ColourSceneAt);
    pictureScene = new DrawingArea("Picture2", colourScene);
    pictureScene->move(PreviewControls::PictureSceneAt);
    m_scenes = {colourScene, pictureScene};
    colourScene->setAccessibleName("Colour background preview"_L1);
    pictureScene->setAccessibleName("Picture background preview"_L1);
    for (DrawingArea *scene : m_scenes) {
        scene->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(scene, &QWidget::customContextMenuRequested, this,
                [this, scene](const QPoint &at) { showSceneMenu(scene, at); });
    }

    for (size_t role = 0; role < TextRoles.size(); ++role) {
        const TextRole &t = TextRoles[role];
        for (int scene : {ColourScene, PictureScene})
            m_texts[role][size_t(scene)] =
                new SceneText(scene == ColourScene ? t.colourScene : t.pictureScene, t.geometry,
                              t.pixelSize, t.weight, m_scenes[size_t(scene)]);
    }
    for (size_t role = 0; role < ShapeRoles.size(); ++role) {
        const ShapeRole &s = ShapeRoles[role];
        for (int scene : {ColourScene, PictureScene})
            m_shapes[role][size_t(scene)] =
                new SceneShape(scene == ColourScene ? s.colourScene : s.pictureScene, s.geometry,
                               s.corners, m_scenes[size_t(scene)]);
    }
    const auto stacking = [](DrawingArea *area, const auto &names) {
        QList<SceneElement *> elements;
        for (const char *name : names)
            elements << area->findChild<SceneElement *>(QLatin1String(name),
                                                        Qt::FindDirectChildrenOnly);
        area->setStacking(elements);
    };
    stacking(colourScene, ColourSceneStacking);
    stacking(pictureScene, PictureSceneStacking);
}

void PreviewWindow::buildControls()
{
    using namespace PreviewControls;
    place<QGroupBox>(this, TextFrame);
    skinningTextOption = place<QRadioButton>(this, SkinningText);
    actualTextOption = place<QRadioButton>(this, ActualText);
    auto *backgroundFrame = place<QGroupBox>(this, BackgroundFrame);
    colourBackgroundOption = place<QRadioButton>(backgroundFrame, ColourBackground);
    pictureBackgroundOption = place<QRadioButton>(backgroundFrame, PictureBackground);
    importButton = place<QPushButton>(this, Import);
    place<QLabel>(this, ProjectNameLabel)->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    projectNameEdit = place<QLineEdit>(this, ProjectName);
    createPackageButton = place<QPushButton>(this, CreatePackage);

    // Each pair is exclusive although the text options are not inside their frame.
    for (auto [a, b] : {std::pair{skinningTextOption, actualTextOption},
                        std::pair{colourBackgroundOption, pictureBackgroundOption}}) {
        auto *group = new QButtonGroup(this);
        group->addButton(a);
        group->addButton(b);
        a->raise();
        b->raise();
    }
    const auto onSelected = [this](QRadioButton *option, const std::function<void()> &handler) {
        connect(option, &QRadioButton::toggled, this, [handler](bool selected) {
            if (selected)
                ignoringRedrawFailure(handler);
        });
    };
    onSelected(skinningTextOption, [this] { onTextModeChosen(TextMode::Skinning); });
    onSelected(actualTextOption, [this] { onTextModeChosen(TextMode::Actual); });
    onSelected(colourBackgroundOption, [this] { onColourBackgroundChosen(); });
    onSelected(pictureBackgroundOption, [this] { onPictureBackgroundChosen(); });
    connect(importButton, &QPushButton::clicked, this, &PreviewWindow::onImportClicked);
    connect(createPackageButton, &QPushButton::clicked, this,
            &PreviewWindow::onCreatePackageClicked);
}

void PreviewWindow::loadWindow()
{
    emit loaded();
    skinningTextOption->setChecked(true);
    colourBackgroundOption->setChecked(true);
    redraw();
}

void PreviewWindow::chooseTextMode(TextMode mode)
{
    (mode == TextMode::Skinning ? skinningTextOption : actualTextOption)->setChecked(true);
}

void PreviewWindow::chooseBackground(Background background)
{
    (background == Background::Colour ? colourBackgroundOption : pictureBackgroundOption)
        ->setChecked(true);
}

QImage PreviewWindow::shownImage() const
{
    return (pictureScene->isVisibleTo(this) ? pictureScene : colourScene)->shownImage();
}

QList<PreviewWindow::PlacedText> PreviewWindow::colourSceneTexts() const
{
    QList<PlacedText> texts;
    for (size_t role = 0; role < TextRoles.size(); ++role) {
        const SceneText *text = m_texts[role][ColourScene];
        texts.append({TextRoles[role].row, text->text(), text->geometry().toAlignedRect()});
    }
    return texts;
}

const QImage &PreviewWindow::colourSceneBackground() const
{
    return colourScene->image();
}

void PreviewWindow::closeEvent(QCloseEvent *event)
{
    emit unloaded();
    event->accept();
}

void PreviewWindow::onTextModeChosen(TextMode mode)
{
    for (size_t role = 0; role < TextRoles.size(); ++role) {
        const TextRole &t = TextRoles[role];
        for (SceneText *text : m_texts[role]) {
            text->setText(mode == TextMode::Skinning ? t.skinningText : t.actualText);
            if (role == TitleRole || role == TitleShadowRole) {
                const TitlePlacement p = titlePlacement(mode, role);
                QRectF g = text->geometry();
                g.moveLeft(p.left);
                g.setWidth(p.width);
                text->setGeometry(g);
            }
        }
    }
}

void PreviewWindow::onColourBackgroundChosen()
{
    pictureScene->hide();
    redraw();
}

void PreviewWindow::onPictureBackgroundChosen()
{
    pictureScene->show();
    bool shown = false;
    if (m_picture.path().isEmpty()) {
        m_dialogs.message(NoPictureLoaded);
    } else {
        try {
            showWorkingPicture();
            shown = true;
        } catch (const Error &e) {
            m_dialogs.message(e.description());
        }
    }
    if (!shown)
        colourBackgroundOption->setChecked(true);
    redraw();
}

void PreviewWindow::onImportClicked()
{
    m_fileDialog.setFilter(PictureFilter);
    const QString chosen = m_fileDialog.showOpen();
    if (fileExists(chosen))
        importPicture(chosen);
}

void PreviewWindow::importPicture(const QString &chosen)
{
    ImportOutcome outcome;
    try {
        const BusyCursor busy;
        outcome = m_picture.import(chosen);
    } catch (const Error &e) {
        m_dialogs.message("The background was not imported.\r\n"_L1 + e.description());
        return;
    }
    switch (outcome.kind) {
    case ImportOutcome::Written:
    case ImportOutcome::OtherEnding:
        break;
    case ImportOutcome::PngRefused:
        m_dialogs.message(PngNotSupported);
        colourBackgroundOption->setChecked(true);
        break;
    case ImportOutcome::Undecodable:
        m_dialogs.message(outcome.problem);
        break;
    }
    // Through the colour background, so that choosing the picture runs even when it was
    // chosen already.
    colourBackgroundOption->setChecked(true);
    pictureBackgroundOption->setChecked(true);
}

void PreviewWindow::onCreatePackageClicked()
{
    const QString name = projectNameEdit->text();
    if (!isValidProjectName(name)) {
        m_dialogs.message(
            QStringLiteral("\"%1\" is not a valid project name. A project name must not be "
                           "empty or only spaces, must not be \".\" or \"..\", must not "
                           "contain / or \\, and must fit in a folder name.")
                .arg(name));
        return;
    }
    exportPackage(name);
}

void PreviewWindow::exportPackage(const QString &name)
{
    const QString projects = m_programDir.file(ProgramDirectory::Projects);
    const PackageFolder package(projects, name, {PackageSkin, PackageJpg, PackageBmp});
    const auto notCreated = [&](const Error &e) {
        m_dialogs.message(QStringLiteral("The package %1 was not created.\r\n").arg(name) +
                          e.description());
    };
    try {
        if (package.exists() &&
            m_dialogs.question(
                QStringLiteral("A package named %1 already exists in My Projects.\r\n"
                               "Replace its skin and background?")
                    .arg(name)) == Dialogs::Answer::No)
            return;
        const BusyCursor busy;
        if (!QFileInfo(projects).isDir())
            createFolder(projects);
        const PackagePictures pictures = m_picture.present();
        // Read before anything is built: a picture that cannot be read leaves no trace.
        const QImage background = pictures.jpg || pictures.bmp ? m_picture.picture() : QImage();
        package.build([&](const QString &folder) {
            writePackageSkin(folder + u'/' + PackageSkin, m_skinText(), pictures);
            if (pictures.jpg)
                savePictureBmp(background, folder + u'/' + PackageJpg, Durability::Atomic,
                               AtLink::ReplaceLink);
            if (pictures.bmp)
                savePictureBmp(background, folder + u'/' + PackageBmp, Durability::Atomic,
                               AtLink::ReplaceLink);
        });
    } catch (const Error &e) {
        notCreated(e);
        return;
    }
    m_dialogs.message("Package "_L1 + name + " saved in the Vellox directory in My Projects\\"_L1 +
                      name);
}

void PreviewWindow::showSceneMenu(DrawingArea *scene, const QPoint &at)
{
    QMenu menu(this);
    connect(menu.addAction("Save Preview Image As..."_L1), &QAction::triggered, this,
            [this, scene] { savePreviewImage(scene->shownImage()); });
    connect(menu.addAction("Copy Preview Image"_L1), &QAction::triggered, this,
            [scene] { QApplication::clipboard()->setImage(scene->shownImage()); });
    menu.exec(scene->mapToGlobal(at));
}

void PreviewWindow::savePreviewImage(const QImage &image)
{
    const QString chosen = m_imageDialog.showSave();
    if (chosen.isEmpty())
        return;
    try {
        savePicturePng(image, chosen);
    } catch (const Error &e) {
        m_dialogs.message("The preview image was not saved.\r\n"_L1 + e.description());
    }
}

void PreviewWindow::showWorkingPicture()
{
    const QImage &stretched = m_picture.stretchedTo(pictureScene->image().size());
    pictureScene->draw([&](QImage &image) { image = stretched; });
}

void PreviewWindow::redraw()
{
    const DisplayColour top = displayColourOf(m_colours, Row::BgColour1);
    const DisplayColour bottom = displayColourOf(m_colours, Row::BgColour2);
    colourScene->draw([&](QImage &image) { drawGradient(image, top, bottom); });
    colourElements();
    composite(ColourScene);

    if (m_picture.path().isEmpty())
        return;
    showWorkingPicture();
    composite(PictureScene);
}

void PreviewWindow::colourElements()
{
    // Every element of one item takes its colour before the next item is read, so a
    // failing item leaves those before it recoloured and the rest as they were.
    for (int row : ColouringOrder) {
        const DisplayColour colour = displayColourOf(m_colours, row);
        for (size_t role = 0; role < TextRoles.size(); ++role) {
            if (TextRoles[role].row == row) {
                for (SceneText *text : m_texts[role])
                    text->setTextColour(colour);
            }
        }
        for (size_t role = 0; role < ShapeRoles.size(); ++role) {
            for (SceneShape *shape : m_shapes[role]) {
                if (ShapeRoles[role].fillRow == row)
                    shape->setFillColour(colour);
                if (ShapeRoles[role].outlineRow == row)
                    shape->setOutlineColour(colour);
            }
        }
    }
}

void PreviewWindow::composite(Scene scene)
{
    // Each phase blends over a snapshot of the scene as the phase before left it.
    DrawingArea *area = m_scenes[size_t(scene)];
    for (BlendPhase phase : {BlendPhase::OverBackground, BlendPhase::OverPanels}) {
        snapshot(area);
        blendPhase(scene, phase);
    }
}

void PreviewWindow::blendPhase(Scene scene, BlendPhase phase)
{
    for (size_t role = 0; role < ShapeRoles.size(); ++role) {
        if (ShapeRoles[role].phase == phase)
            blend(m_scenes[size_t(scene)], m_shapes[role][size_t(scene)], ShapeRoles[role].fillRow);
    }
}

void PreviewWindow::blend(DrawingArea *area, const SceneShape *shape, int row)
{
    const QRect r = shape->pixelRect();
    const QImage blended =
        blendedRect(area->basePicture(), shape->fillColour(), r, opacityOf(m_colours, row));
    area->draw([&](QImage &image) { copyRect(image, blended, r); });
}

void PreviewWindow::snapshot(DrawingArea *area)
{
    // The snapshot goes through a file beside the program, as it always has; a
    // temp.bmp of the user's there is replaced and then removed.
    const QString path = m_programDir.file(ProgramDirectory::Snapshot);
    savePictureBmp(area->image(), path, Durability::Scratch, AtLink::ReplaceLink);
    try {
        area->setBasePicture(loadPicture(path));
    } catch (const Error &) {
        QFile::remove(path);
        throw;
    }
    deleteFile(path);
}
