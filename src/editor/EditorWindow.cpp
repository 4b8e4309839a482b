#include "editor/EditorWindow.h"

#include "editor/ColourBox.h"
#include "editor/EditorLayout.h"
#include "editor/SkinTextEdit.h"

#include "skin/Conversions.h"
#include "skin/SkinFile.h"
#include "skin/SkinItems.h"

#include "platform/Build.h"
#include "platform/Error.h"
#include "platform/FileDrop.h"
#include "platform/Files.h"
#include "platform/KeptCopy.h"
#include "platform/Numeric.h"
#include "platform/Slider.h"
#include "platform/Widgets.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>

#include <functional>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr auto SkinFilter = "Zantho Skin Files (*.ini)|*.ini"_L1;
constexpr DisplayColour White = 0xFFFFFF;
constexpr std::chrono::milliseconds HandOverRetry{200};
using EditorControls::OpacityMaximum;

QLabel *placeLabel(QWidget *parent, const ControlLayout &control)
{
    auto *label = place<QLabel>(parent, control);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

// What a failing step does to the steps after it.
enum class OnFailure
{
    GoOn,          // the next step runs all the same, without a word
    AskToContinue, // the user is asked "Continue?"; No ends the run
};

void runSteps(std::initializer_list<std::function<void()>> steps, OnFailure onFailure,
              Dialogs &dialogs)
{
    for (const auto &step : steps) {
        try {
            step();
        } catch (const Error &e) {
            if (onFailure == OnFailure::GoOn)
                continue;
            const QString question =
                e.description() + " ("_L1 + QString::number(e.code()) + ")\r\n\r\nContinue?"_L1;
            if (dialogs.question(question) == Dialogs::Answer::No)
                return;
        }
    }
}

} // namespace

EditorWindow::EditorWindow(const ProgramDirectory &programDir, Dialogs &dialogs, QWidget *parent)
    : QMainWindow(parent), m_programDir(programDir), m_dialogs(dialogs), m_fileDialog(dialogs),
      m_document(programDir)
{
    setObjectName("frmMain"_L1);
    setWindowTitle(Build::programTitle());
    setFont(layoutFont());
    buildControls();
    buildMenus();
    connectControls();
    addShortcuts();
    new FileDrop(this, m_dialogs, [this](const QString &path) { openSkin(path); });
    // An undone or redone step is shown as a load is, with the row it changed.
    connect(&m_document, &SkinDocument::restored, this, &EditorWindow::showLoadedSkin);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
    const QPoint clientAt = EditorControls::ClientAt;
    setGeometry(QRect(clientAt - QPoint(0, menuBar()->sizeHint().height()), size()));
}

EditorWindow::~EditorWindow() = default;

void EditorWindow::buildControls()
{
    using namespace EditorControls;
    auto *client = new QWidget(this);
    client->setObjectName("client"_L1);
    client->setFixedSize(ClientSize);
    setCentralWidget(client);

    auto *colourFrame = place<QGroupBox>(client, ColourFrame);
    QLabel *itemLabel = placeLabel(colourFrame, ItemLabel);
    itemList = place<QComboBox>(colourFrame, ItemList);
    // A list is spoken by its chosen entry; the label names it to a screen reader.
    itemLabel->setBuddy(itemList);
    itemList->setMaxVisibleItems(ItemCount);
    placeLabel(colourFrame, ColourLabel);
    colourBox = place<ColourBox>(colourFrame, ColourSwatch);
    placeLabel(colourFrame, RedLabel);
    redSlider = place<Slider>(colourFrame, RedSlider, ColourMaximum);
    placeLabel(colourFrame, GreenLabel);
    greenSlider = place<Slider>(colourFrame, GreenSlider, ColourMaximum);
    placeLabel(colourFrame, BlueLabel);
    blueSlider = place<Slider>(colourFrame, BlueSlider, ColourMaximum);
    placeLabel(colourFrame, OpacityLabel);
    opacitySlider = place<Slider>(colourFrame, OpacitySlider, OpacityMaximum);
    placeLabel(colourFrame, CodeLabel);
    codeEdit = place<QLineEdit>(colourFrame, CodeEdit);

    restoreButton = place<QPushButton>(client, RestoreButton);
    applyButton = place<QPushButton>(client, ApplyButton);
    auto *skinFrame = place<QGroupBox>(client, SkinFrame);
    skinTextEdit = place<SkinTextEdit>(skinFrame, SkinText);
    skinTextEdit->setLineWrapMode(QPlainTextEdit::NoWrap);
    skinTextEdit->setTabChangesFocus(true);
    applyButton->raise();
    restoreButton->raise();

    QWidget *tabOrder[] = {itemList,  skinTextEdit, applyButton, restoreButton, codeEdit,
                           colourBox, redSlider,    greenSlider, blueSlider,    opacitySlider};
    for (size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

void EditorWindow::buildMenus()
{
    const auto menu = [this](const char *name, const char *title) {
        QMenu *m = menuBar()->addMenu(QLatin1String(title));
        m->setObjectName(QLatin1String(name));
        return m;
    };
    const auto action = [](QMenu *menu, const char *name, const char *text) {
        QAction *a = menu->addAction(QLatin1String(text));
        a->setObjectName(QLatin1String(name));
        return a;
    };
    QMenu *fileMenu = menu("File", "File");
    loadAction = action(fileMenu, "loadskin", "Load skin.ini...");
    saveAsAction = action(fileMenu, "saveskin", "Save skin.ini As...");
    exitAction = action(fileMenu, "exit", "Exit");
    previewAction = action(menu("menu_preview", "Skin Preview"), "preview", "Preview");
    previewAction->setCheckable(true);
    QMenu *helpMenu = menu("Help", "Help");
    action(helpMenu, "howto", "How To Use")->setEnabled(false);
    aboutAction = action(helpMenu, "about", "About");
}

void EditorWindow::connectControls()
{
    connect(itemList, &QComboBox::activated, this, &EditorWindow::onItemChosen);
    connect(codeEdit, &QLineEdit::textChanged, this, &EditorWindow::onCodeEdited);
    // Red, green and blue move the same way: the colour box and the code follow.
    for (Slider *s : {redSlider, greenSlider, blueSlider})
        connect(s, &Slider::moved, this, &EditorWindow::onColourSliderMoved);
    connect(opacitySlider, &Slider::moved, this, &EditorWindow::onOpacitySliderMoved);
    connect(applyButton, &QPushButton::clicked, this, &EditorWindow::onApplyClicked);
    connect(restoreButton, &QPushButton::clicked, this, &EditorWindow::onRestoreClicked);
    connect(loadAction, &QAction::triggered, this, &EditorWindow::onLoadTriggered);
    connect(saveAsAction, &QAction::triggered, this, &EditorWindow::onSaveAsTriggered);
    connect(exitAction, &QAction::triggered, this, &EditorWindow::close);
    connect(previewAction, &QAction::triggered, this, &EditorWindow::onPreviewTriggered);
    connect(aboutAction, &QAction::triggered, this, &EditorWindow::aboutRequested);
    connect(colourBox, &ColourBox::activated, this, &EditorWindow::onColourBoxActivated);
}

void EditorWindow::addShortcuts()
{
    // Shortcuts of their own rather than the actions': the menus keep their look, with
    // no key shown beside an entry. They work from the preview window too.
    const std::pair<QKeyCombination, QAction *> shortcuts[] = {
        {Qt::CTRL | Qt::Key_O, loadAction},
        {Qt::CTRL | Qt::Key_S, saveAsAction},
        {Qt::CTRL | Qt::Key_Q, exitAction},
        {QKeyCombination(Qt::Key_F1), aboutAction},
    };
    for (const auto &[key, action] : shortcuts) {
        auto *shortcut = new QShortcut(key, this, action, &QAction::trigger);
        shortcut->setContext(Qt::ApplicationShortcut);
    }
    // Undo and redo of the colour table. A text box with the focus takes these keys
    // first, for its own undo.
    const std::pair<QKeyCombination, void (SkinDocument::*)()> history[] = {
        {Qt::CTRL | Qt::Key_Z, &SkinDocument::undo},
        {Qt::CTRL | Qt::SHIFT | Qt::Key_Z, &SkinDocument::redo},
        {Qt::CTRL | Qt::Key_Y, &SkinDocument::redo},
    };
    for (const auto &[key, step] : history) {
        auto *shortcut = new QShortcut(key, this);
        shortcut->setContext(Qt::ApplicationShortcut);
        // Never beneath a dialog, whose answer is about the table as it stands.
        connect(shortcut, &QShortcut::activated, this, [this, step] {
            if (!QApplication::activeModalWidget())
                (m_document.*step)();
        });
    }
}

bool EditorWindow::open()
{
    if (!loadWindow())
        return false;
    show();
    offerLeftOverWork();
    offerKeptCopies();
    return true;
}

void EditorWindow::offerKeptCopies()
{
    for (const KeptCopy &kept : KeptCopy::found()) {
        const QString saving =
            u"Vellox ended while saving \""_s + QDir::toNativeSeparators(kept.file()) + u'"';
        const QString copy = u'"' + QDir::toNativeSeparators(kept.copy()) + u'"';
        const KeptCopy::FileState state = kept.fileState();
        if (state == KeptCopy::FileState::Earlier || state == KeptCopy::FileState::New) {
            m_dialogs.message(saving + u". The file is whole and holds its "_s +
                              (state == KeptCopy::FileState::New ? u"new"_s : u"earlier"_s) +
                              u" content, so the copy kept in "_s + copy + u" was removed."_s);
            kept.release();
            continue;
        }
        const QString question =
            saving +
            (state == KeptCopy::FileState::Gone ? u", and the file is gone."_s
                                                : u", and the file is not whole."_s) +
            u" Its earlier content is kept in "_s + copy + u". Put it back?"_s;
        if (m_dialogs.question(question) == Dialogs::Answer::No) {
            kept.forget();
            continue;
        }
        try {
            kept.putBack();
        } catch (const Error &e) {
            m_dialogs.message(e.description() + u"\n\nThe copy stays in "_s + copy + u'.');
            kept.forget();
        }
    }
}

void EditorWindow::offerLeftOverWork()
{
    const QByteArray leftOver = std::exchange(m_leftOver, {});
    if (leftOver.isEmpty())
        return;
    // A working skin that is the factory skin holds no work.
    try {
        if (readSmallFile(m_programDir.file(ProgramDirectory::WorkingSkin), LargestSkinFile) ==
            leftOver)
            return;
    } catch (const Error &) {
    }
    if (m_dialogs.question(
            "Vellox was not closed properly. Restore the skin you were editing?"_L1) ==
        Dialogs::Answer::No)
        return;
    const ColourTable before = m_document.colours();
    readSkinBytes(leftOver, m_document.colours());
    showLoadedSkin();
    m_document.recordChange(before, 0);
}

bool EditorWindow::loadWindow()
{
    for (const SkinItem &item : SkinItems)
        itemList->addItem(item.label.toString());
    selectRow(0);

    const QString factorySkin = m_programDir.file(ProgramDirectory::FactorySkin);
    if (!fileExists(factorySkin)) {
        m_dialogs.message("Default.ini not found. Make sure it is in the Vellox directory."_L1 +
                          m_programDir.whereItIs());
        close();
        return false;
    }
    // The shutdown steps remove the working skin: one that is still there was left by a
    // run that ended before them, a crash or a signal, and may hold the user's work.
    const QString workingSkin = m_programDir.file(ProgramDirectory::WorkingSkin);
    if (fileExists(workingSkin)) {
        try {
            m_leftOver = readSmallFile(workingSkin, LargestSkinFile);
        } catch (const Error &) {
        }
    }
    loadSkin(factorySkin);
    previewAction->setChecked(true);
    showPreview();
    opacitySlider->setValue(OpacityMaximum);
    onItemChosen();
    return true;
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
        m_dialogs.message("The working file could not be removed.\r\n"_L1 + e.description());
    };
    deleteIfPresent(m_programDir.file(ProgramDirectory::WorkingSkin), report);
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

PreviewWindow *EditorWindow::previewWindow()
{
    if (!m_preview) {
        m_preview = new PreviewWindow(
            m_programDir, m_document, [this] { return shownSkinText(); }, m_fileDialog, m_dialogs,
            this);
        connect(m_preview, &PreviewWindow::skinDropped, this, &EditorWindow::openSkin);
        // A readable colour is offered as the colour dialog offers one: in the code box,
        // for "Apply Change" to make it a step of its own.
        connect(m_preview, &PreviewWindow::readableColourFound, this,
                [this](int row, const QString &code) {
                    selectRow(row);
                    codeEdit->setText(code);
                });
        connect(m_preview, &PreviewWindow::coloursSuggested, this, &EditorWindow::replaceColours);
        connect(m_preview, &PreviewWindow::loaded, previewAction,
                [this] { previewAction->setChecked(true); });
        // The window is gone for the program the moment it unloads, although Qt frees
        // it only later.
        connect(m_preview, &PreviewWindow::unloaded, previewAction, [this] {
            previewAction->setChecked(false);
            m_preview = nullptr;
        });
        m_preview->loadWindow();
    }
    return m_preview;
}

void EditorWindow::showPreview()
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

void EditorWindow::loadSkin(const QString &path)
{
    try {
        readSkinFile(path, m_document.colours());
    } catch (const Error &e) {
        m_dialogs.message("The skin could not be loaded.\r\n"_L1 + e.description());
    }
    showLoadedSkin();
}

void EditorWindow::showLoadedSkin(int row)
{
    // A colour the preview cannot draw shows when it is chosen or applied; a working
    // skin that cannot be written is asked about at the next "Apply Change".
    runSteps({[this] { showSkinText(); }, [this, row] { selectRow(row); },
              [this] { previewWindow()->redraw(); },
              [this] {
                  writeWorkingSkin(m_programDir.file(ProgramDirectory::WorkingSkin),
                                   shownSkinText());
              }},
             OnFailure::GoOn, m_dialogs);
}

void EditorWindow::showSkinText()
{
    skinTextEdit->setSkinText(skinText(m_document.colours()));
}

QString EditorWindow::shownSkinText() const
{
    return skinTextEdit->skinText();
}

void EditorWindow::selectRow(int row)
{
    itemList->setCurrentIndex(row);
    onItemChosen();
}

void EditorWindow::clearColourControls()
{
    codeEdit->clear();
    colourBox->setColour(White);
    redSlider->setValue(0);
    greenSlider->setValue(0);
    blueSlider->setValue(0);
    opacitySlider->setValue(OpacityMaximum);
}

void EditorWindow::showSliderColour()
{
    colourBox->setColour(
        displayColour({redSlider->value(), greenSlider->value(), blueSlider->value()}));
}

void EditorWindow::showComposedCode()
{
    codeEdit->setText(codeFromColour(static_cast<std::int16_t>(opacitySlider->value()),
                                     static_cast<std::uint8_t>(redSlider->value()),
                                     static_cast<std::uint8_t>(greenSlider->value()),
                                     static_cast<std::uint8_t>(blueSlider->value())));
}

void EditorWindow::onItemChosen()
{
    const int row = itemList->currentIndex();
    if (row < 0 || row >= ItemCount)
        return;
    const SkinItem &item = SkinItems[static_cast<size_t>(row)];
    if (!item.isColour())
        clearColourControls();
    if (!item.isTranslucent())
        opacitySlider->setValue(OpacityMaximum);
    opacitySlider->setEnabled(item.isTranslucent());

    const QString &code = m_document.colours().at(row);
    if (code.isEmpty())
        return;
    std::optional<Components> parts;
    try {
        parts = colourFromCode(code);
    } catch (const Error &) {
        // A code that is not a colour shows as a row without one; it stays in the table.
        clearColourControls();
        return;
    }
    opacitySlider->setValue(parts->opacity);
    redSlider->setValue(parts->red);
    greenSlider->setValue(parts->green);
    blueSlider->setValue(parts->blue);
    showSliderColour();
    showComposedCode();
}

void EditorWindow::onCodeEdited()
{
    // Lenient on purpose: whatever the box holds, half-typed or not a code at all, moves
    // the sliders as far as it can be read.
    const QString text = codeEdit->text();
    if (opacitySlider->isEnabled())
        opacitySlider->setValue(opacityPercent(mid1(text, 3, 2)));
    redSlider->setValue(lenientHex(mid1(text, 5, 2)));
    greenSlider->setValue(lenientHex(mid1(text, 7, 2)));
    blueSlider->setValue(lenientHex(mid1(text, 9, 2)));
    showSliderColour();
}

void EditorWindow::onColourSliderMoved()
{
    showSliderColour();
    showComposedCode();
}

void EditorWindow::onOpacitySliderMoved()
{
    showComposedCode();
}

void EditorWindow::onApplyClicked()
{
    const int row = itemList->currentIndex();
    const QString code = codeEdit->text().toLower();
    const ColourTable before = m_document.colours();
    runSteps({[&] { m_document.colours().set(row, code); }, [this] { showSkinText(); },
              [this] {
                  writeWorkingSkin(m_programDir.file(ProgramDirectory::WorkingSkin),
                                   shownSkinText());
              },
              [this] { previewWindow()->redraw(); }},
             OnFailure::AskToContinue, m_dialogs);
    m_document.recordChange(before, row);
}

void EditorWindow::onRestoreClicked()
{
    const ColourTable before = m_document.colours();
    loadSkin(m_programDir.file(ProgramDirectory::FactorySkin));
    clearColourControls();
    m_document.recordChange(before, 0);
}

void EditorWindow::onColourBoxActivated()
{
    const int row = itemList->currentIndex();
    if (row < 0 || row >= ItemCount || !SkinItems[static_cast<size_t>(row)].isColour())
        return;
    const bool translucent = SkinItems[static_cast<size_t>(row)].isTranslucent();
    const QColor initial(
        redSlider->value(), greenSlider->value(), blueSlider->value(),
        static_cast<int>(opacityByte(static_cast<std::int16_t>(opacitySlider->value()))));
    Dialogs::ColourRequest request{
        u"Colour of %1"_s.arg(SkinItems[static_cast<size_t>(row)].label)};
    if (translucent) {
        request.percentOf = [](int alpha) {
            return opacityPercent(QString::number(alpha, 16).rightJustified(2, u'0'));
        };
        request.alphaOf = [](int percent) {
            return int(opacityByte(static_cast<std::int16_t>(percent)));
        };
    }
    const std::optional<QColor> chosen = m_dialogs.colour(initial, request);
    if (!chosen)
        return;
    // An opaque item keeps the opacity digits it shows.
    const int opacity = translucent ? chosen->alpha() : initial.alpha();
    codeEdit->setText(codeFromBytes(
        static_cast<std::uint8_t>(opacity), static_cast<std::uint8_t>(chosen->red()),
        static_cast<std::uint8_t>(chosen->green()), static_cast<std::uint8_t>(chosen->blue())));
}

void EditorWindow::onLoadTriggered()
{
    m_fileDialog.setFilter(SkinFilter);
    openSkin(m_fileDialog.showOpen());
}

void EditorWindow::replaceColours(const ColourTable &colours)
{
    const ColourTable before = m_document.colours();
    m_document.colours() = colours;
    showLoadedSkin();
    m_document.recordChange(before, 0);
}

void EditorWindow::openSkin(const QString &path)
{
    if (!fileExists(path))
        return;
    const ColourTable before = m_document.colours();
    loadSkin(path);
    m_document.recordChange(before, 0);
}

void EditorWindow::onSaveAsTriggered()
{
    m_fileDialog.setFilter(SkinFilter);
    const QString chosen = m_fileDialog.showSave();
    if (chosen.isEmpty())
        return;
    try {
        writeSkinFile(chosen, shownSkinText());
    } catch (const Error &e) {
        m_dialogs.message("The skin was not saved.\r\n"_L1 + e.description());
        return;
    }
    m_dialogs.message("Skin.ini saved to "_L1 + chosen);
}

void EditorWindow::onPreviewTriggered(bool checkedByMenu)
{
    // The menu has already flipped the mark; the mark belongs to the preview window,
    // which sets and clears it as it loads and unloads.
    const bool marked = !checkedByMenu;
    previewAction->setChecked(marked);
    if (!marked) {
        showPreview();
    } else if (m_preview) {
        m_preview->close();
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

void EditorWindow::openHandedSkin(const QString &path)
{
    // Never underneath a dialog, whose answer is about what it was opened on.
    if (QApplication::activeModalWidget()) {
        QTimer::singleShot(HandOverRetry, this, [this, path] { openHandedSkin(path); });
        return;
    }
    openSkin(path);
}
