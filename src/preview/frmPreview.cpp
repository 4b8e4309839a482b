#include "preview/frmPreview.h"

#include "preview/DrawingArea.h"
#include "preview/GDI.h"
#include "preview/Gradient.h"
#include "preview/PackageFolder.h"
#include "preview/PictureImport.h"

#include "skin/ColorTable.h"
#include "skin/Conversions.h"
#include "skin/SkinFile.h"
#include "skin/SkinItems.h"

#include "platform/Dialogs.h"
#include "platform/Error.h"
#include "platform/Files.h"
#include "platform/Pictures.h"
#include "platform/Widgets.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr auto TempJpg = WorkingPicture::Jpg;
constexpr auto Temp2Bmp = WorkingPicture::Bmp;
constexpr auto TempBmp = "temp.bmp"_L1;
constexpr auto PictureFilter = "Zantho Backrounds (*.jpg,*.bmp,*.png)|*.jpg;*.bmp;*.png"_L1;
constexpr auto NoPictureLoaded =
    "No Picture loaded. Please import picture before choosing this option."_L1;
constexpr auto ProjectsFolder = "My Projects"_L1;
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

} // namespace

frmPreview::frmPreview(const ProgramDirectory &programDir, Skin skin, CommonDialog &CD,
                       Dialogs &dialogs, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint), m_programDir(programDir),
      m_colors(skin.colors), m_skinText(std::move(skin.text)), m_CD(CD), m_dialogs(dialogs)
{
    setObjectName("frmPreview"_L1);
    setWindowTitle("Vellox Preview"_L1);
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(layoutFont());
    setFixedSize(495, 457);
    setGeometry(530, 89, 495, 457);
    buildScenes();
    buildControls();
}

frmPreview::~frmPreview() = default;

void frmPreview::buildScenes()
{
    Picture1 = new DrawingArea("Picture1", this);
    Picture1->move(8, 8);
    // Not shown; it only holds the working picture for the picture scene and the package.
    Image1 = new QWidget(Picture1);
    Image1->setObjectName("Image1"_L1);
    Image1->setGeometry(0, 0, 480, 360);
    Image1->hide();
    Picture2 = new DrawingArea("Picture2", Picture1);
    Picture2->move(-1, -1);
    m_areas = {Picture1, Picture2};

    for (size_t role = 0; role < TextRoles.size(); ++role) {
        const TextRole &t = TextRoles[role];
        for (int scene : {ColorScene, PictureScene})
            m_texts[role][size_t(scene)] =
                new SceneText(scene == ColorScene ? t.colorScene : t.pictureScene, t.geometry,
                              t.pixelSize, t.weight, m_areas[size_t(scene)]);
    }
    for (size_t role = 0; role < ShapeRoles.size(); ++role) {
        const ShapeRole &s = ShapeRoles[role];
        for (int scene : {ColorScene, PictureScene})
            m_shapes[role][size_t(scene)] =
                new SceneShape(scene == ColorScene ? s.colorScene : s.pictureScene, s.geometry,
                               s.corners, m_areas[size_t(scene)]);
    }
    const auto stacking = [](DrawingArea *area, const auto &names) {
        QList<SceneElement *> elements;
        for (const char *name : names)
            elements << area->findChild<SceneElement *>(QLatin1String(name),
                                                        Qt::FindDirectChildrenOnly);
        area->setStacking(elements);
    };
    stacking(Picture1, ColorSceneStacking);
    stacking(Picture2, PictureSceneStacking);
}

void frmPreview::buildControls()
{
    Frame1 = placeWidget<QGroupBox>(this, "Frame1", {32, 376, 201, 41}, "Preview Text"_L1);
    Option1 = placeWidget<QRadioButton>(this, "Option1", {48, 395, 89, 13}, "Skinning text"_L1);
    Option2 = placeWidget<QRadioButton>(this, "Option2", {144, 395, 81, 13}, "Actual text"_L1);
    Frame2 = placeWidget<QGroupBox>(this, "Frame2", {256, 376, 201, 41}, "Background"_L1);
    Option3 = placeWidget<QRadioButton>(Frame2, "Option3", {24, 20, 81, 13}, "Color BG"_L1);
    Option4 = placeWidget<QRadioButton>(Frame2, "Option4", {104, 20, 73, 13}, "Picture BG"_L1);
    Command1 =
        placeWidget<QPushButton>(this, "Command1", {32, 424, 105, 25}, "Import Backround"_L1);
    Label27 = placeWidget<QLabel>(this, "Label27", {168, 430, 73, 17}, "Project Name:"_L1);
    Label27->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Text1 = placeWidget<QLineEdit>(this, "Text1", {248, 428, 113, 19}, "Project1"_L1);
    Command2 = placeWidget<QPushButton>(this, "Command2", {368, 424, 105, 25}, "Create Package"_L1);

    // Each pair is exclusive although the text options are not inside their frame.
    for (auto [a, b] : {std::pair{Option1, Option2}, std::pair{Option3, Option4}}) {
        auto *group = new QButtonGroup(this);
        group->addButton(a);
        group->addButton(b);
        a->raise();
        b->raise();
    }
    const auto onSelected = [this](QRadioButton *option, void (frmPreview::*handler)()) {
        connect(option, &QRadioButton::toggled, this, [this, handler](bool selected) {
            if (selected)
                handle([this, handler] { (this->*handler)(); });
        });
    };
    onSelected(Option1, &frmPreview::Option1_Click);
    onSelected(Option2, &frmPreview::Option2_Click);
    onSelected(Option3, &frmPreview::Option3_Click);
    onSelected(Option4, &frmPreview::Option4_Click);
    connect(Command1, &QPushButton::clicked, this,
            [this] { handle([this] { Command1_Click(); }); });
    connect(Command2, &QPushButton::clicked, this,
            [this] { handle([this] { Command2_Click(); }); });
}

template <typename F> void frmPreview::handle(F &&handler)
{
    // A redraw that fails here leaves the scene as far as it got; the colour that made
    // it fail was reported when it was applied.
    try {
        handler();
    } catch (const Error &) {
    }
}

void frmPreview::Form_Load()
{
    emit loaded();
    Option1->setChecked(true);
    Option3->setChecked(true);
    Update();
}

void frmPreview::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

void frmPreview::Form_Unload()
{
    emit unloaded();
}

void frmPreview::Option1_Click()
{
    applyTextMode(TextMode::Skinning);
}

void frmPreview::Option2_Click()
{
    applyTextMode(TextMode::Actual);
}

void frmPreview::applyTextMode(TextMode mode)
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

void frmPreview::Option3_Click()
{
    Picture2->hide();
    Update();
}

void frmPreview::Option4_Click()
{
    Picture2->show();
    const QString path = workingPicture();
    bool shown = false;
    if (!path.isEmpty()) {
        try {
            showWorkingPicture(path);
            shown = true;
        } catch (const Error &e) {
            m_dialogs.message(e.description());
        }
    }
    if (!shown) {
        if (path.isEmpty())
            m_dialogs.message(NoPictureLoaded);
        Option3->setChecked(true);
    }
    Update();
}

void frmPreview::Command1_Click()
{
    m_CD.setFilter(PictureFilter);
    const QString chosen = m_CD.showOpen();
    if (!FileExists(chosen))
        return;
    ImportOutcome outcome;
    // The old picture is let go first: it is about to be deleted, and a large one need not
    // share memory with the next.
    m_loaded = {};
    m_image1 = {};
    try {
        const BusyCursor busy;
        outcome = importWorkingPicture(chosen, m_programDir);
        if (outcome.kind == ImportOutcome::Written)
            rememberWorkingPicture(workingPicture(), outcome.picture);
    } catch (const Error &e) {
        m_dialogs.message("The background was not imported.\r\n"_L1 + e.description());
        return;
    }
    switch (outcome.kind) {
    case ImportOutcome::Written:
        break;
    case ImportOutcome::PngRefused:
        m_dialogs.message(PngNotSupported);
        Option3->setChecked(true);
        break;
    case ImportOutcome::Undecodable:
        m_dialogs.message(outcome.problem);
        break;
    case ImportOutcome::OtherEnding:
        break;
    }
    Option3->setChecked(true);
    Option4->setChecked(true);
}

void frmPreview::Command2_Click()
{
    const QString name = Text1->text();
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

void frmPreview::exportPackage(const QString &name)
{
    const QString projects = m_programDir.file(ProjectsFolder);
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
    } catch (const Error &e) {
        notCreated(e);
        return;
    }

    try {
        const BusyCursor busy;
        if (!QFileInfo(projects).isDir())
            createFolder(projects);
        const bool jpg = FileExists(m_programDir.file(TempJpg));
        const bool bmp = FileExists(m_programDir.file(Temp2Bmp));
        if (jpg || bmp)
            loadWorkingPicture(m_programDir.file(jpg ? TempJpg : Temp2Bmp));
        package.build([&](const QString &folder) {
            SaveINItemp2(folder + u'/' + PackageSkin, m_skinText(), {jpg, bmp});
            if (jpg)
                savePictureBmp(m_image1, folder + u'/' + PackageJpg, Durability::Atomic,
                               AtLink::ReplaceLink);
            if (bmp)
                savePictureBmp(m_image1, folder + u'/' + PackageBmp, Durability::Atomic,
                               AtLink::ReplaceLink);
        });
    } catch (const Error &e) {
        notCreated(e);
        return;
    }
    m_dialogs.message("Package "_L1 + name + " saved in the Vellox directory in My Projects\\"_L1 +
                      name);
}

QString frmPreview::workingPicture() const
{
    for (auto name : {TempJpg, Temp2Bmp}) {
        const QString path = m_programDir.file(name);
        if (FileExists(path))
            return path;
    }
    return {};
}

void frmPreview::showWorkingPicture(const QString &path)
{
    loadWorkingPicture(path);
    Picture2->beginDrawing() = m_loaded.stretched;
    Picture2->endDrawing();
}

void frmPreview::loadWorkingPicture(const QString &path)
{
    const QFileInfo info(path);
    if (path != m_loaded.path || info.lastModified() != m_loaded.modified ||
        info.size() != m_loaded.size) {
        // The old picture goes before the new one is decoded: two large pictures need
        // not fit in memory at once.
        m_loaded = {};
        m_image1 = {};
        rememberWorkingPicture(path, loadPicture(path));
    }
}

void frmPreview::rememberWorkingPicture(const QString &path, const QImage &picture)
{
    const QFileInfo info(path);
    m_image1 = picture;
    m_loaded.stretched = m_image1
                             .scaled(Picture2->scaleWidth(), Picture2->scaleHeight(),
                                     Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                             .convertToFormat(QImage::Format_RGB32);
    m_loaded.path = path;
    m_loaded.modified = info.lastModified();
    m_loaded.size = info.size();
}

void frmPreview::Update()
{
    Gradient(Picture1, SetColor(m_colors, Row::BgColor1), SetColor(m_colors, Row::BgColor2));
    colorElements();
    RefreshPic(Picture1);
    blendPhase(ColorScene, 1);
    RefreshPic(Picture1);
    blendPhase(ColorScene, 2);

    const QString path = workingPicture();
    if (path.isEmpty())
        return;
    showWorkingPicture(path);
    RefreshPic(Picture2);
    blendPhase(PictureScene, 1);
    RefreshPic(Picture2);
    blendPhase(PictureScene, 2);
}

void frmPreview::colorElements()
{
    // Every element of one item takes its colour before the next item is read, so a
    // failing item leaves those before it recoloured and the rest as they were.
    for (int row : ColoringOrder) {
        const DisplayColor color = SetColor(m_colors, row);
        for (size_t role = 0; role < TextRoles.size(); ++role) {
            if (TextRoles[role].row == row) {
                for (SceneText *text : m_texts[role])
                    text->setForeColor(color);
            }
        }
        for (size_t role = 0; role < ShapeRoles.size(); ++role) {
            for (SceneShape *shape : m_shapes[role]) {
                if (ShapeRoles[role].fillRow == row)
                    shape->setFillColor(color);
                if (ShapeRoles[role].outlineRow == row)
                    shape->setBorderColor(color);
            }
        }
    }
}

void frmPreview::blendPhase(Scene scene, int phase)
{
    for (size_t role = 0; role < ShapeRoles.size(); ++role) {
        if (ShapeRoles[role].phase == phase)
            Fade(m_areas[size_t(scene)], m_shapes[role][size_t(scene)], ShapeRoles[role].fillRow);
    }
}

void frmPreview::Fade(DrawingArea *WhatTO, const SceneShape *What, int IntegerTO)
{
    const QRect r = What->pixelRect();
    const float a = SetTrans(m_colors, IntegerTO);
    QImage blended = GDI::BlendBitmap(WhatTO->picture(), What->fillColor(), r.x(), r.y(), r.width(),
                                      r.height(), a);
    GDI::DrawBitmap(WhatTO->beginDrawing(), blended, r.x(), r.y(), r.width(), r.height());
    WhatTO->endDrawing();
    GDI::FreeBitmap(blended);
}

void frmPreview::RefreshPic(DrawingArea *PictureBox)
{
    // The snapshot goes through a file beside the program, as it always has; a
    // temp.bmp of the user's there is replaced and then removed.
    const QString path = m_programDir.file(TempBmp);
    savePictureBmp(PictureBox->image(), path, Durability::Scratch, AtLink::ReplaceLink);
    try {
        PictureBox->setPicture(loadPicture(path));
    } catch (const Error &) {
        QFile::remove(path);
        throw;
    }
    deleteFile(path);
}
