// The window itself: its controls, menus and keys, and the preview window it loads.

#include "editor/EditorWindow.h"

#include "editor/ColourBox.h"
#include "editor/EditorLayout.h"
#include "editor/SkinTextEdit.h"

#include "skin/SkinItems.h"

#include "platform/Build.h"
#include "platform/Error.h"
#include "platform/FileDrop.h"
#include "platform/Guarded.h"
#include "platform/Slider.h"
#include "platform/Widgets.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QShortcut>

using namespace Qt::Literals::StringLiterals;

namespace {

// A label, which names `names` to a screen reader too.
void placeLabel(QWidget *parent, const ControlLayout &control, QWidget *names)
{
    auto *label = place<QLabel>(parent, control);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setBuddy(names);
}

} // namespace

EditorWindow::EditorWindow(const ProgramDirectory &programDir, Dialogs &dialogs, QWidget *parent)
    : QMainWindow(parent), m_programDir(programDir), m_dialogs(dialogs, this),
      m_document(programDir), m_workingFiles(programDir)
{
    setObjectName("frmMain"_L1);
    setWindowTitle(Build::programTitle());
    setFont(layoutFont());
    buildControls();
    buildMenus();
    connectControls();
    addShortcuts();
    new FileDrop(this, m_dialogs, [this](const QString &path) { openSkin(path); });
    connect(&m_document, &SkinDocument::changed, this, &EditorWindow::showChange);
    connect(&m_workingFiles, &WorkingFiles::typedNotKept, this, [this](const QString &why) {
        m_dialogs.message(tr("The text you typed in the Skin.ini box cannot be kept on the disk, "
                             "so a crash would lose it; it is still in the box, and \"Save "
                             "As\" writes it. Vellox tells you when it can keep it again.\r\n%1")
                              .arg(why));
    });
    connect(&m_workingFiles, &WorkingFiles::typedKeptAgain, this, [this](const QString &path) {
        m_dialogs.message(tr("The text you typed in the Skin.ini box is kept on the disk again, "
                             "in \"%1\".")
                              .arg(QDir::toNativeSeparators(path)));
    });
    connect(&m_workingFiles, &WorkingFiles::skinNotKept, this, [this](const QString &why) {
        m_dialogs.message(tr("The colours cannot be kept on the disk, so a crash would lose the "
                             "changes since; they are still in the window, and \"Save As\" "
                             "writes them. Vellox tells you when it can keep them again.\r\n%1")
                              .arg(why));
    });
    connect(&m_workingFiles, &WorkingFiles::skinKeptAgain, this, [this](const QString &path) {
        m_dialogs.message(tr("The colours are kept on the disk again, in \"%1\".")
                              .arg(QDir::toNativeSeparators(path)));
    });
    connect(&m_followedFile, &FollowedFile::changed, this,
            guarded(m_dialogs, [this] { reloadFollowedFile(); }));
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
    itemList = place<QComboBox>(colourFrame, ItemList);
    // A list is spoken by its chosen entry; the label names it to a screen reader.
    placeLabel(colourFrame, ItemLabel, itemList);
    itemList->setMaxVisibleItems(ItemCount);
    colourBox = place<ColourBox>(colourFrame, ColourSwatch);
    placeLabel(colourFrame, ColourLabel, colourBox);
    redSlider = place<Slider>(colourFrame, RedSlider, ColourMaximum);
    placeLabel(colourFrame, RedLabel, redSlider);
    greenSlider = place<Slider>(colourFrame, GreenSlider, ColourMaximum);
    placeLabel(colourFrame, GreenLabel, greenSlider);
    blueSlider = place<Slider>(colourFrame, BlueSlider, ColourMaximum);
    placeLabel(colourFrame, BlueLabel, blueSlider);
    opacitySlider = place<Slider>(colourFrame, OpacitySlider, OpacityMaximum);
    placeLabel(colourFrame, OpacityLabel, opacitySlider);
    codeEdit = place<QLineEdit>(colourFrame, CodeEdit);
    placeLabel(colourFrame, CodeLabel, codeEdit);
    // No longer than the table keeps a code, so that what is applied is what was typed.
    codeEdit->setMaxLength(ColourTable::LongestCode);

    restoreButton = place<QPushButton>(client, RestoreButton);
    applyButton = place<QPushButton>(client, ApplyButton);
    auto *skinFrame = place<QGroupBox>(client, SkinFrame);
    skinTextEdit = place<SkinTextEdit>(skinFrame, SkinText);
    skinTextEdit->setLineWrapMode(QPlainTextEdit::NoWrap);
    skinTextEdit->setTabChangesFocus(true);
    applyButton->raise();
    restoreButton->raise();

    // As the eye reads the window: down the colour controls, then the buttons beneath
    // them, then the skin text beside them.
    QWidget *tabOrder[] = {itemList,      colourBox, redSlider,     greenSlider, blueSlider,
                           opacitySlider, codeEdit,  restoreButton, applyButton, skinTextEdit};
    for (size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

void EditorWindow::buildMenus()
{
    const auto menu = [this](const char *name, const char *title) {
        QMenu *m = menuBar()->addMenu(tr(title));
        m->setObjectName(QLatin1String(name));
        return m;
    };
    const auto action = [](QMenu *menu, const char *name, const char *text) {
        QAction *a = menu->addAction(tr(text));
        a->setObjectName(QLatin1String(name));
        return a;
    };
    QMenu *fileMenu = menu("File", QT_TR_NOOP("File"));
    loadAction = action(fileMenu, "loadskin", QT_TR_NOOP("Load skin.ini..."));
    saveAsAction = action(fileMenu, "saveskin", QT_TR_NOOP("Save skin.ini As..."));
    exitAction = action(fileMenu, "exit", QT_TR_NOOP("Exit"));
    previewAction =
        action(menu("menu_preview", QT_TR_NOOP("Skin Preview")), "preview", QT_TR_NOOP("Preview"));
    previewAction->setCheckable(true);
    QMenu *helpMenu = menu("Help", QT_TR_NOOP("Help"));
    action(helpMenu, "howto", QT_TR_NOOP("How To Use"))->setEnabled(false);
    aboutAction = action(helpMenu, "about", QT_TR_NOOP("About"));
}

void EditorWindow::connectControls()
{
    // Every handler Qt calls is guarded: an Error that escapes one is told, never thrown
    // into the event loop.
    const auto on = [this](void (EditorWindow::*handler)()) {
        return guarded(m_dialogs, [this, handler] { (this->*handler)(); });
    };
    connect(itemList, &QComboBox::activated, this, on(&EditorWindow::onItemChosen));
    connect(codeEdit, &QLineEdit::textChanged, this, on(&EditorWindow::onCodeEdited));
    connect(skinTextEdit, &QPlainTextEdit::textChanged, this, on(&EditorWindow::onSkinTextEdited));
    // Red, green and blue move the same way: the colour box and the code follow.
    for (Slider *s : {redSlider, greenSlider, blueSlider})
        connect(s, &Slider::moved, this, on(&EditorWindow::onColourSliderMoved));
    connect(opacitySlider, &Slider::moved, this, on(&EditorWindow::onOpacitySliderMoved));
    connect(applyButton, &QPushButton::clicked, this, on(&EditorWindow::onApplyClicked));
    // A typed code is applied by Enter where it was typed, as the button applies it.
    connect(codeEdit, &QLineEdit::returnPressed, this, on(&EditorWindow::onApplyClicked));
    connect(restoreButton, &QPushButton::clicked, this, on(&EditorWindow::onRestoreClicked));
    connect(loadAction, &QAction::triggered, this, on(&EditorWindow::onLoadTriggered));
    connect(saveAsAction, &QAction::triggered, this, on(&EditorWindow::onSaveAsTriggered));
    connect(exitAction, &QAction::triggered, this, &EditorWindow::close);
    connect(previewAction, &QAction::triggered, this,
            guarded(m_dialogs, [this](bool checked) { onPreviewTriggered(checked); }));
    connect(aboutAction, &QAction::triggered, this, &EditorWindow::aboutRequested);
    connect(colourBox, &ColourBox::activated, this, on(&EditorWindow::onColourBoxActivated));
}

void EditorWindow::addShortcuts()
{
    // Shortcuts of their own rather than the actions': the menus keep their look, with
    // no key shown beside an entry. They work from the preview and About windows too.
    const std::pair<QKeyCombination, QAction *> shortcuts[] = {
        {Qt::CTRL | Qt::Key_O, loadAction},
        {Qt::CTRL | Qt::Key_S, saveAsAction},
        {Qt::CTRL | Qt::Key_Q, exitAction},
        {QKeyCombination(Qt::Key_F1), aboutAction},
    };
    for (const auto &[key, action] : shortcuts) {
        auto *shortcut = new QShortcut(key, this);
        shortcut->setContext(Qt::ApplicationShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, action] {
            QWidget *from = QApplication::activeWindow();
            const auto askingHere = qScopeGuard([this] { m_dialogs.setWindow(this); });
            // What they ask, they ask in the window they were pressed in: the preview,
            // or the About window, which then has the focus back.
            if (from && from != this)
                m_dialogs.setWindow(from);
            action->trigger();
        });
    }
    // F10 opens the first menu, as on other desktops; a menu bar the system shows
    // elsewhere is the system's to open.
    // The menus are the editor's: pressed in the preview, the key brings the editor
    // forward with them, and what they open belongs to it.
    auto *menuKey = new QShortcut(Qt::Key_F10, this);
    connect(menuKey, &QShortcut::activated, this, [this] {
        if (menuBar()->isNativeMenuBar() || menuBar()->actions().isEmpty())
            return;
        if (!isActiveWindow())
            activateWindow();
        menuBar()->setActiveAction(menuBar()->actions().constFirst());
    });
    // Undo and redo of the colour table: the history's own actions, enabled while there
    // is a step to take back or make again, and named by it. Pressed in any window, as the
    // menus' keys are; a text box with the focus takes these keys first, for its own undo,
    // and a window beneath a dialog, whose answer is about the table as it stands, takes
    // none.
    undoAction = m_document.history().createUndoAction(this, tr("Undo"));
    undoAction->setObjectName("undo"_L1);
    undoAction->setShortcuts(QKeySequence::Undo);
    redoAction = m_document.history().createRedoAction(this, tr("Redo"));
    redoAction->setObjectName("redo"_L1);
    QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    for (const QKeySequence &key :
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)}) {
        if (!redoKeys.contains(key))
            redoKeys << key;
    }
    redoAction->setShortcuts(redoKeys);
    for (QAction *action : {undoAction, redoAction}) {
        action->setShortcutContext(Qt::ApplicationShortcut);
        addAction(action);
        // With nothing to take back or make again the keys still do nothing else: a list
        // with the focus would search its entries for them, and a screen reader tell it.
        auto *idle = new QShortcut(this);
        idle->setKeys(action->shortcuts());
        idle->setContext(Qt::ApplicationShortcut);
        idle->setEnabled(!action->isEnabled());
        connect(action, &QAction::enabledChanged, idle,
                [idle](bool enabled) { idle->setEnabled(!enabled); });
    }
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

PreviewWindow *EditorWindow::previewWindow()
{
    if (!m_preview) {
        makePreview();
        m_preview->loadWindow();
    }
    return m_preview;
}

void EditorWindow::makePreview()
{
    if (!m_preview) {
        m_preview = new PreviewWindow(
            m_programDir, m_document, [this] { return shownSkinText(); }, m_fileDialog, m_dialogs,
            this);
        connect(m_preview, &PreviewWindow::skinDropped, this,
                guarded(m_dialogs, [this](const QString &path) { openSkin(path); }));
        // A readable colour is offered as the colour dialog offers one: in the code box,
        // for "Apply Change" to make it a step of its own.
        connect(m_preview, &PreviewWindow::readableColourFound, this,
                guarded(m_dialogs, [this](int row, const QString &code) {
                    selectRow(row);
                    codeEdit->setText(code);
                }));
        connect(m_preview, &PreviewWindow::coloursSuggested, this,
                guarded(m_dialogs, [this](const ColourTable &suggested, const QString &step) {
                    m_document.replace(suggested, step, SkinDocument::StepName::AlsoOrigin);
                }));
        connect(m_preview, &PreviewWindow::loaded, previewAction,
                [this] { previewAction->setChecked(true); });
        // The window is gone for the program the moment it unloads, although Qt frees
        // it only later.
        connect(m_preview, &PreviewWindow::unloaded, previewAction, [this] {
            previewAction->setChecked(false);
            m_preview = nullptr;
        });
        // Undo and redo belong to the preview as much as to the editor.
        m_preview->addActions({undoAction, redoAction});
    }
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
