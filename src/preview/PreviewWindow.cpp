#include "preview/PreviewWindow.h"

#include "preview/DrawingArea.h"
#include "preview/PreviewLayout.h"
#include "preview/SceneAccessibility.h"
#include "scene/Scene.h"
#include "scene/SkinDocument.h"

#include "skin/Conversions.h"
#include "skin/SkinFile.h"
#include "skin/SkinItems.h"
#include "skin/SkinLint.h"

#include "platform/Dialogs.h"
#include "platform/Error.h"
#include "platform/FileDrop.h"
#include "platform/Files.h"
#include "platform/Guarded.h"
#include "platform/Pictures.h"
#include "platform/StagedFolder.h"
#include "platform/X11Windows.h"

#include <QActionGroup>
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
#include <QTimer>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr auto PreviewImageFilter = QT_TRANSLATE_NOOP("PreviewWindow", "PNG Images (*.png)|*.png");
constexpr auto PictureFilter =
    QT_TRANSLATE_NOOP("PreviewWindow", "Zantho Backrounds (*.jpg,*.bmp,*.png)|*.jpg;*.bmp;*.png");
constexpr auto NoPictureLoaded = QT_TRANSLATE_NOOP(
    "PreviewWindow", "No Picture loaded. Please import picture before choosing this option.");
constexpr auto PackageSkin = "skin.ini"_L1;
constexpr auto PackageJpg = "background.jpg"_L1;
constexpr auto PackageBmp = "background.bmp"_L1;
constexpr auto PngNotSupported = QT_TRANSLATE_NOOP(
    "PreviewWindow", "Sorry! .png's aren't supported yet for preview. Try saving as .bmp or .jpg.");

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

PreviewWindow::PreviewWindow(const ProgramDirectory &programDir, SkinDocument &document,
                             std::function<QString()> skinText, CommonDialog &fileDialog,
                             Dialogs &dialogs, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint), m_programDir(programDir),
      m_document(document), m_skinText(std::move(skinText)), m_fileDialog(fileDialog),
      m_dialogs(dialogs, this)
{
    installPreviewAccessibility();
    setObjectName("frmPreview"_L1);
    setWindowTitle(tr("Vellox Preview"));
    setAttribute(Qt::WA_DeleteOnClose);
    // The figures of the texts show on hover while the user works in the editor.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    setFont(layoutFont());
    setFixedSize(PreviewControls::Window.size());
    setGeometry(PreviewControls::Window);
    buildScenes();
    buildControls();
    m_imageDialog.setFilter(tr(PreviewImageFilter));
    // A skin dropped here is meant as a skin, not as a picture that would cost the
    // working picture.
    new FileDrop(this, m_dialogs, [this](const QString &path) {
        if (path.endsWith(".ini"_L1, Qt::CaseInsensitive))
            emit skinDropped(path);
        else
            importPicture(path, ImportOrigin::Dropped);
    });
    leadOwnWindowGroup(*this);
}

PreviewWindow::~PreviewWindow() = default;

void PreviewWindow::buildScenes()
{
    colourScene = new DrawingArea("Picture1", m_renderer.scene(SceneKind::Colour), this);
    colourScene->move(PreviewControls::ColourSceneAt);
    pictureScene = new DrawingArea("Picture2", m_renderer.scene(SceneKind::Picture), colourScene);
    pictureScene->move(PreviewControls::PictureSceneAt);
    colourScene->setAccessibleName(tr("Colour background preview"));
    pictureScene->setAccessibleName(tr("Picture background preview"));
    for (DrawingArea *scene : {colourScene, pictureScene}) {
        scene->setTextsMeasuredBy([this, scene] { return measureTexts(scene); });
        // A screen reader is told what the tooltip tells.
        scene->setTextsToldBy(
            [](const TextReading &r) { return shownLabel(SkinItems[size_t(r.row)]); },
            [this](const TextReading &r) { return toolTipOf(r); });
        scene->installEventFilter(this);
        scene->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(scene, &QWidget::customContextMenuRequested, this,
                guarded(m_dialogs, [this, scene](const QPoint &at) {
                    showSceneMenu(scene, at, readingAt(scene, at), MenuOpenedBy::Pointer);
                }));
        // The cursor's figure follows the colours, its box the texts shown.
        // A screen reader hears of new figures as changed descriptions; the focus stays
        // where the user put it, so a change of colours is not a walk through the texts.
        // Told once a step has made all its changes: a step changes many colours, each
        // a change of the scene, and each telling measures the texts anew.
        auto *tell = new QTimer(scene);
        tell->setSingleShot(true);
        tell->setInterval(0);
        connect(&scene->scene(), &Scene::changed, tell, qOverload<>(&QTimer::start));
        connect(tell, &QTimer::timeout, this, [this, scene] { tellNewColours(scene); });
        m_coloursToTell[scene == pictureScene] = tell;
    }
}

void PreviewWindow::tellNewColours(DrawingArea *scene)
{
    m_coloursToTell[scene == pictureScene]->stop();
    if (scene->cursorText()) {
        const qsizetype at = scene->cursorPlace();
        scene->setCursorText(at < 0 ? std::nullopt : std::optional(scene->texts()[at]));
    }
    tellTextsChanged(scene);
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
    auto *projectNameLabel = place<QLabel>(this, ProjectNameLabel);
    projectNameLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    projectNameEdit = place<QLineEdit>(this, ProjectName);
    // It names the box to a screen reader too.
    projectNameLabel->setBuddy(projectNameEdit);
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
    connect(importButton, &QPushButton::clicked, this,
            guarded(m_dialogs, [this] { onImportClicked(); }));
    connect(createPackageButton, &QPushButton::clicked, this,
            guarded(m_dialogs, [this] { onCreatePackageClicked(); }));
    // The scenes come after every control, so that the window opens on its first control
    // as it always did. The tab order is a ring, and Qt leaves a widget where it is when
    // the one before it, the window skipped, is the one named: made first, the scenes
    // follow the last control already, so each goes by the first control on its way.
    for (DrawingArea *scene : {colourScene, pictureScene}) {
        setTabOrder(skinningTextOption, scene);
        setTabOrder(scene == colourScene ? static_cast<QWidget *>(createPackageButton)
                                         : colourScene,
                    scene);
    }
}

void PreviewWindow::loadWindow()
{
    emit loaded();
    skinningTextOption->setChecked(true);
    colourBackgroundOption->setChecked(true);
    redraw();
}

QImage PreviewWindow::shownImage() const
{
    return (pictureScene->isVisibleTo(this) ? pictureScene : colourScene)->shownImage();
}

void PreviewWindow::closeEvent(QCloseEvent *event)
{
    emit unloaded();
    event->accept();
}

void PreviewWindow::onTextModeChosen(TextMode mode)
{
    m_renderer.setTextMode(mode);
}

void PreviewWindow::onColourBackgroundChosen()
{
    colourScene->setFocusProxy(nullptr);
    pictureScene->hide();
    redraw();
}

void PreviewWindow::onPictureBackgroundChosen()
{
    pictureScene->show();
    // The scene behind takes no focus of its own.
    colourScene->setFocusProxy(pictureScene);
    bool shown = false;
    if (!m_document.picture().present()) {
        m_dialogs.message(tr(NoPictureLoaded));
    } else {
        try {
            m_renderer.showPicture(m_document.picture());
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
    m_fileDialog.setFilter(tr(PictureFilter));
    const QString chosen = m_fileDialog.showOpen(m_dialogs);
    if (fileExists(chosen))
        importPicture(chosen);
}

void PreviewWindow::importPicture(const QString &chosen, ImportOrigin origin)
{
    ImportOutcome outcome;
    try {
        const BusyCursor busy;
        outcome = m_document.importPicture(chosen, origin);
    } catch (const Error &e) {
        m_dialogs.message(tr("The background was not imported.\r\n%1").arg(e.description()));
        return;
    }
    switch (outcome.kind) {
    case ImportOutcome::Written:
    case ImportOutcome::OtherEnding:
        break;
    case ImportOutcome::PngRefused:
        m_dialogs.message(tr(PngNotSupported));
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
        m_dialogs.message(tr("\"%1\" is not a valid project name. A project name must not be "
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
    const StagedFolder package(projects, name, {PackageSkin, PackageJpg, PackageBmp});
    const auto notCreated = [&](const Error &e) {
        m_dialogs.message(tr("The package %1 was not created.\r\n%2").arg(name, e.description()));
    };
    try {
        if (package.exists() &&
            m_dialogs.question(tr("A package named %1 already exists in My Projects.\r\n"
                                  "Replace its skin and background?")
                                   .arg(name)) == Dialogs::Answer::No)
            return;
        const BusyCursor busy;
        if (!QFileInfo(projects).isDir()) {
            try {
                createFolder(projects);
            } catch (const Error &) {
                // Another program sharing the folder may have made it meanwhile.
                if (!QFileInfo(projects).isDir())
                    throw;
            }
        }
        WorkingPicture &picture = m_document.picture();
        const PackagePictures pictures = picture.files();
        // Read before anything is built: a picture that cannot be read leaves no trace.
        const QImage background = pictures.jpg || pictures.bmp ? picture.picture() : QImage();
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
    m_dialogs.message(tr("Package %1 saved in the Vellox directory in My Projects\\%1%2")
                          .arg(name, m_programDir.whereItIs()));
}

void PreviewWindow::showSceneMenu(DrawingArea *scene, const QPoint &at,
                                  const std::optional<TextReading> &text, MenuOpenedBy openedBy)
{
    QMenu menu(this);
    // Every entry's handler is guarded: an Error that escapes it is told, never thrown
    // into the event loop.
    const auto entry = [this, &menu](QMenu *in, const QString &text, auto handler) {
        QAction *action = (in ? in : &menu)->addAction(text);
        connect(action, &QAction::triggered, this, guarded(m_dialogs, std::move(handler)));
        return action;
    };
    entry(nullptr, tr("Save Preview Image As..."),
          [this, scene] { savePreviewImage(scene->shownImage()); });
    entry(nullptr, tr("Copy Preview Image"),
          [scene] { QApplication::clipboard()->setImage(scene->shownImage()); });
    menu.addSeparator();
    entry(nullptr, tr("Check Readability"), [this] { checkReadability(); });
    if (text && !text->readsWell()) {
        const QString item = shownLabel(SkinItems[size_t(text->row)]);
        entry(nullptr, tr("Make \"%1\" Readable").arg(item),
              [this, reading = *text] { offerReadableColour(reading); });
    }
    if (const std::optional<TextReading> reading = readingAt(scene, at)) {
        const int panel = panelBeneath(reading->role);
        if (panel >= 0 && opacityOf(m_document.colours(), panel) < 1)
            entry(nullptr,
                  tr("Make \"%1\" Opaque Enough").arg(shownLabel(SkinItems[size_t(panel)])),
                  [this, panel] { offerOpacity(panel); });
    }
    if (scene == pictureScene && m_document.picture().present())
        entry(nullptr, tr("Colours from Picture"), [this] { suggestColours(); });
    QMenu *visions = menu.addMenu(tr("Simulate Colour Vision"));
    auto *choice = new QActionGroup(visions);
    for (Vision vision : Visions) {
        QAction *shown = entry(visions, QCoreApplication::translate("Vision", visionName(vision)),
                               [this, vision] { setVision(vision); });
        shown->setCheckable(true);
        shown->setChecked(vision == m_vision);
        choice->addAction(shown);
    }
    // Set once the menu is shown: showing it clears what was set before.
    if (openedBy == MenuOpenedBy::Keyboard)
        QTimer::singleShot(0, &menu,
                           [&menu] { menu.setActiveAction(menu.actions().constFirst()); });
    menu.exec(scene->mapToGlobal(at));
}

void PreviewWindow::savePreviewImage(const QImage &image)
{
    QString chosen = m_imageDialog.showSave(m_dialogs);
    if (chosen.isEmpty())
        return;
    // A PNG picture is named as one, whatever the dialog was given.
    if (QFileInfo(chosen).suffix().isEmpty())
        chosen += ".png"_L1;
    try {
        savePicturePng(image, chosen);
    } catch (const Error &e) {
        m_dialogs.message(tr("The preview image was not saved.\r\n%1").arg(e.description()));
    }
}

void PreviewWindow::redraw()
{
    m_renderer.redraw(m_document.colours(), m_document.picture());
}
