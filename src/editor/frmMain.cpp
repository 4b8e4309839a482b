#include "editor/frmMain.h"

#include "editor/ColorBox.h"
#include "editor/SkinTextEdit.h"

#include "preview/frmPreview.h"

#include "skin/Conversions.h"
#include "skin/SkinFile.h"
#include "skin/SkinItems.h"

#include "platform/Error.h"
#include "platform/Files.h"
#include "platform/Numeric.h"
#include "platform/Slider.h"
#include "platform/Widgets.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>

#include <functional>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr auto DefaultIni = "default.ini"_L1;
constexpr auto TempIni = "temp.ini"_L1;
constexpr auto SkinFilter = "Zantho Skin Files (*.ini)|*.ini"_L1;
constexpr DisplayColor White = 0xFFFFFF;

QLabel *label(QWidget *parent, const char *name, const char *text, QRect geometry)
{
    auto *l = placeWidget<QLabel>(parent, name, geometry, QLatin1String(text));
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return l;
}

QString failureText(const Error &e)
{
    return e.description() + " ("_L1 + QString::number(e.code()) + ")\r\n\r\nContinue?"_L1;
}

} // namespace

frmMain::frmMain(const ProgramDirectory &programDir, Dialogs &dialogs, QWidget *parent)
    : QMainWindow(parent), m_programDir(programDir), m_dialogs(dialogs), CD(dialogs)
{
    setObjectName("frmMain"_L1);
    setWindowTitle("Vellox v1.6.2 Beta"_L1);
    setFont(layoutFont());
    buildControls();
    buildMenus();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    // Beside the preview window, whose client area starts at (530, 89): the editor's
    // client area spans 4 to 524 and starts level with it.
    adjustSize();
    setGeometry(QRect(QPoint(4, 89 - menuBar()->sizeHint().height()), size()));
}

frmMain::~frmMain() = default;

void frmMain::buildControls()
{
    auto *client = new QWidget(this);
    client->setObjectName("client"_L1);
    client->setFixedSize(520, 317);
    setCentralWidget(client);

    Frame1 = placeWidget<QGroupBox>(client, "Frame1", {8, 8, 257, 305}, "Backround/Foreground"_L1);
    Label4 = label(Frame1, "Label4", "Select Item:", {16, 24, 145, 17});
    Combo1 = placeWidget<QComboBox>(Frame1, "Combo1", {16, 40, 201, 21});
    Combo1->setMaxVisibleItems(ItemCount);
    Label5 = label(Frame1, "Label5", "Preview Color:", {16, 72, 73, 17});
    Shape1 = placeWidget<ColorBox>(Frame1, "Shape1", {16, 88, 73, 105});
    Label1 = label(Frame1, "Label1", "Red:", {104, 72, 24, 19});
    Slider1 = placeWidget<Slider>(Frame1, "Slider1", {96, 88, 153, 17}, 255);
    Label2 = label(Frame1, "Label2", "Green:", {104, 112, 33, 17});
    Slider2 = placeWidget<Slider>(Frame1, "Slider2", {96, 128, 153, 17}, 255);
    Label3 = label(Frame1, "Label3", "Blue:", {104, 152, 25, 17});
    Slider3 = placeWidget<Slider>(Frame1, "Slider3", {96, 168, 153, 17}, 255);
    Label7 = label(Frame1, "Label7", "Opacity:", {16, 208, 41, 17});
    Slider4 = placeWidget<Slider>(Frame1, "Slider4", {56, 208, 193, 17}, 100);
    Label8 = label(Frame1, "Label8", "Skin.ini Code:", {16, 240, 65, 17});
    Text7 = placeWidget<QLineEdit>(Frame1, "Text7", {88, 240, 153, 19});

    // The buttons belong to the window and lie in front of the frame's lower part.
    Command2 =
        placeWidget<QPushButton>(client, "Command2", {24, 280, 105, 25}, "Restore Defaults"_L1);
    Command1 = placeWidget<QPushButton>(client, "Command1", {144, 280, 105, 25}, "Apply Change"_L1);

    Frame2 = placeWidget<QGroupBox>(client, "Frame2", {272, 8, 241, 305}, "Skin.ini"_L1);
    Text5 = placeWidget<SkinTextEdit>(Frame2, "Text5", {16, 24, 209, 267});
    Text5->setLineWrapMode(QPlainTextEdit::NoWrap);

    Command1->raise();
    Command2->raise();

    setTabOrder(Combo1, Text5);
    setTabOrder(Text5, Command1);
    setTabOrder(Command1, Command2);
    setTabOrder(Command2, Text7);
    setTabOrder(Text7, Slider1);
    setTabOrder(Slider1, Slider2);
    setTabOrder(Slider2, Slider3);
    setTabOrder(Slider3, Slider4);
    Text5->setTabChangesFocus(true);

    connect(Combo1, &QComboBox::activated, this, &frmMain::Combo1_Click);
    connect(Text7, &QLineEdit::textChanged, this, &frmMain::Text7_Change);
    // Red, green and blue move the same way: the colour box and the code follow.
    for (Slider *s : {Slider1, Slider2, Slider3})
        connect(s, &Slider::moved, this, &frmMain::Slider1_Scroll);
    connect(Slider4, &Slider::moved, this, &frmMain::Slider4_Scroll);
    connect(Command1, &QPushButton::clicked, this, &frmMain::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmMain::Command2_Click);
}

void frmMain::buildMenus()
{
    auto action = [](QMenu *menu, const char *name, const char *text) {
        QAction *a = menu->addAction(QLatin1String(text));
        a->setObjectName(QLatin1String(name));
        return a;
    };
    File = menuBar()->addMenu("File"_L1);
    File->setObjectName("File"_L1);
    loadskin = action(File, "loadskin", "Load skin.ini...");
    saveskin = action(File, "saveskin", "Save skin.ini As...");
    exit = action(File, "exit", "Exit");

    menu_preview = menuBar()->addMenu("Skin Preview"_L1);
    menu_preview->setObjectName("menu_preview"_L1);
    preview = action(menu_preview, "preview", "Preview");
    preview->setCheckable(true);

    Help = menuBar()->addMenu("Help"_L1);
    Help->setObjectName("Help"_L1);
    howto = action(Help, "howto", "How To Use");
    howto->setEnabled(false);
    about = action(Help, "about", "About");

    connect(loadskin, &QAction::triggered, this, &frmMain::loadskin_Click);
    connect(saveskin, &QAction::triggered, this, &frmMain::saveskin_Click);
    connect(exit, &QAction::triggered, this, &frmMain::exit_Click);
    connect(preview, &QAction::triggered, this, &frmMain::preview_Click);
    connect(about, &QAction::triggered, this, &frmMain::aboutRequested);
}

bool frmMain::open()
{
    if (!Form_Load())
        return false;
    show();
    return true;
}

bool frmMain::Form_Load()
{
    for (const SkinItem &item : SkinItems)
        Combo1->addItem(item.label.toString());
    selectRow(0);

    const QString defaultIni = m_programDir.file(DefaultIni);
    if (!FileExists(defaultIni)) {
        m_dialogs.message("Default.ini not found. Make sure it is in the Vellox directory."_L1);
        close();
        return false;
    }
    LoadINI(defaultIni);
    preview->setChecked(true);
    showPreview();
    Slider4->setValue(100);
    Combo1_Click();
    return true;
}

void frmMain::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

void frmMain::Form_Unload()
{
    if (m_preview)
        m_preview->close();
    // temp.bmp lives only inside a redraw; one that is still there was left by a failure.
    for (auto name : {TempIni, "temp.jpg"_L1, "temp2.bmp"_L1, "temp.bmp"_L1}) {
        const QString path = m_programDir.file(name);
        if (!FileExists(path))
            continue;
        try {
            deleteFile(path);
        } catch (const Error &e) {
            m_dialogs.message("The working file could not be removed.\r\n"_L1 + e.description());
        }
    }
}

void frmMain::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && m_shownOnce)
        applyWindowState();
}

void frmMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!std::exchange(m_shownOnce, true))
        applyWindowState();
}

void frmMain::applyWindowState()
{
    if (isMinimized()) {
        if (m_preview)
            m_preview->hide();
    } else if (!isMaximized() && !isFullScreen()) {
        showPreview();
    }
}

frmPreview *frmMain::previewWindow()
{
    if (!m_preview) {
        m_preview = new frmPreview(m_programDir, {ItemColors, [this] { return text5(); }}, CD,
                                   m_dialogs, this);
        connect(m_preview, &frmPreview::loaded, preview, [this] { preview->setChecked(true); });
        // The window is gone for the program the moment it unloads, although Qt frees
        // it only later.
        connect(m_preview, &frmPreview::unloaded, preview, [this] {
            preview->setChecked(false);
            m_preview = nullptr;
        });
        m_preview->Form_Load();
    }
    return m_preview;
}

void frmMain::showPreview()
{
    // A colour the preview cannot draw was already reported when it was applied;
    // showing the window must not fail for it.
    try {
        previewWindow();
    } catch (const Error &) {
    }
    if (m_preview)
        m_preview->show();
}

void frmMain::LoadINI(const QString &File)
{
    try {
        readSkinFile(File, ItemColors);
    } catch (const Error &e) {
        m_dialogs.message("The skin could not be loaded.\r\n"_L1 + e.description());
    }
    // Each follow-up step runs even when the one before it failed.
    const std::function<void()> steps[] = {
        [this] { RefreshText5(); },
        [this] { selectRow(0); },
        [this] { previewWindow()->Update(); },
        [this] { SaveINItemp(m_programDir.file(TempIni), text5()); },
    };
    for (const auto &step : steps) {
        try {
            step();
        } catch (const Error &) {
        }
    }
}

void frmMain::RefreshText5()
{
    Text5->setSkinText(skinText(ItemColors));
}

QString frmMain::text5() const
{
    return Text5->skinText();
}

void frmMain::selectRow(int row)
{
    Combo1->setCurrentIndex(row);
    Combo1_Click();
}

void frmMain::resetColorControls()
{
    Text7->clear();
    Shape1->setColor(White);
    Slider1->setValue(0);
    Slider2->setValue(0);
    Slider3->setValue(0);
    Slider4->setValue(100);
}

void frmMain::showSliderColor()
{
    Shape1->setColor(Slider1->value() + Slider2->value() * 256 + Slider3->value() * 65536);
}

void frmMain::showComposedCode()
{
    Text7->setText(rgbtohex(
        static_cast<std::int16_t>(Slider4->value()), static_cast<std::uint8_t>(Slider1->value()),
        static_cast<std::uint8_t>(Slider2->value()), static_cast<std::uint8_t>(Slider3->value())));
}

void frmMain::Combo1_Click()
{
    const int r = Combo1->currentIndex();
    if (r < 0 || r >= ItemCount)
        return;
    const SkinItem &item = SkinItems[static_cast<size_t>(r)];
    if (!item.isColor())
        resetColorControls();
    if (!item.isTranslucent())
        Slider4->setValue(100);
    Slider4->setEnabled(item.isTranslucent());

    const QString &code = ItemColors.at(r);
    if (code.isEmpty())
        return;
    std::optional<Components> parts;
    try {
        parts = hextorgb(code);
    } catch (const Error &) {
        // A code that is not a colour shows as a row without one; it stays in the table.
        resetColorControls();
        return;
    }
    Slider4->setValue(parts->opacity);
    Slider1->setValue(parts->red);
    Slider2->setValue(parts->green);
    Slider3->setValue(parts->blue);
    showSliderColor();
    showComposedCode();
}

void frmMain::Text7_Change()
{
    // Lenient on purpose: whatever the box holds, half-typed or not a code at all, moves
    // the sliders as far as it can be read.
    const QString text = Text7->text();
    if (Slider4->isEnabled())
        Slider4->setValue(opacityPercent(mid1(text, 3, 2)));
    Slider1->setValue(hextodec(mid1(text, 5, 2)));
    Slider2->setValue(hextodec(mid1(text, 7, 2)));
    Slider3->setValue(hextodec(mid1(text, 9, 2)));
    showSliderColor();
}

void frmMain::Slider1_Scroll()
{
    showSliderColor();
    showComposedCode();
}

void frmMain::Slider4_Scroll()
{
    showComposedCode();
}

void frmMain::Command1_Click()
{
    const int r = Combo1->currentIndex();
    const QString code = Text7->text().toLower();
    const std::function<void()> steps[] = {
        [&] { ItemColors.set(r, code); },
        [this] { RefreshText5(); },
        [this] { SaveINItemp(m_programDir.file(TempIni), text5()); },
        [this] { previewWindow()->Update(); },
    };
    for (const auto &step : steps) {
        try {
            step();
        } catch (const Error &e) {
            if (m_dialogs.question(failureText(e)) == Dialogs::Answer::No)
                return;
        }
    }
}

void frmMain::Command2_Click()
{
    LoadINI(m_programDir.file(DefaultIni));
    resetColorControls();
}

void frmMain::loadskin_Click()
{
    CD.setFilter(SkinFilter);
    const QString chosen = CD.showOpen();
    if (FileExists(chosen))
        LoadINI(chosen);
}

void frmMain::saveskin_Click()
{
    CD.setFilter(SkinFilter);
    const QString chosen = CD.showSave();
    if (chosen.isEmpty())
        return;
    try {
        SaveINI(chosen, text5(), m_dialogs);
    } catch (const Error &e) {
        m_dialogs.message("The skin was not saved.\r\n"_L1 + e.description());
    }
}

void frmMain::preview_Click(bool checkedByMenu)
{
    // The menu has already flipped the mark; the mark belongs to the preview window,
    // which sets and clears it as it loads and unloads.
    const bool marked = !checkedByMenu;
    preview->setChecked(marked);
    if (!marked) {
        showPreview();
    } else if (m_preview) {
        m_preview->close();
    }
}

void frmMain::bringToFront()
{
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void frmMain::exit_Click()
{
    close();
}
