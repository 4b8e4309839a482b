#pragma once

#include "editor/EditorWindow.h"

#include "preview/DrawingArea.h"
#include "preview/PreviewWindow.h"

#include "common/ProgramFolder.h"
#include "common/ScriptedDialogs.h"

#include "platform/Slider.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include <memory>

// One editor in its own program directory, driven as a user drives it; controls are
// found by their object names.
class Session
{
public:
    // `factorySkin` replaces the shipped default.ini when given.
    explicit Session(const QByteArray &factorySkin = {})
    {
        if (!factorySkin.isNull())
            folder.write(QStringLiteral("default.ini"), factorySkin);
        editor = std::make_unique<EditorWindow>(folder.dir(), dialogs);
    }
    ~Session() { editor->close(); }

    template <typename T = QWidget> T *get(const char *name) const
    {
        return find<T>(editor.get(), name);
    }
    template <typename T = QWidget> T *inPreview(const char *name) const
    {
        return find<T>(preview(), name);
    }
    PreviewWindow *preview() const { return editor->loadedPreview(); }
    QLineEdit *code() const { return get<QLineEdit>("Text7"); }
    QString skinText() const { return get<QPlainTextEdit>("Text5")->toPlainText(); }
    // Scene 1 over the colours, scene 2 over the picture.
    const QImage &scene(int n) const
    {
        return inPreview<DrawingArea>(n == 1 ? "Picture1" : "Picture2")->image();
    }
    bool pictureShown() const { return inPreview("Picture2")->isVisibleTo(preview()); }

    void trigger(const char *action) const { get<QAction>(action)->trigger(); }
    void press(const char *button) const
    {
        QTest::mouseClick(get<QPushButton>(button), Qt::LeftButton);
    }
    void click(const char *inPreviewWindow) const
    {
        QTest::mouseClick(inPreview<QAbstractButton>(inPreviewWindow), Qt::LeftButton);
    }
    // As the user choosing a row in the list, the same row included.
    void choose(int row) const
    {
        auto *list = get<QComboBox>("Combo1");
        list->setCurrentIndex(row);
        emit list->activated(row);
    }
    // A key at a time: every keystroke moves the sliders.
    void typeCode(const QString &text) const
    {
        code()->clear();
        QTest::keyClicks(code(), text);
    }
    void apply(int row, const QString &text) const
    {
        choose(row);
        typeCode(text);
        press("Command1");
    }
    // A file of the user's, outside the program folder.
    QString outside(const QString &name, const QByteArray &bytes) const
    {
        QFile f(elsewhere.filePath(name));
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(f.fileName()));
        return f.fileName();
    }
    // Right-clicks `area` at `at` and chooses the entry `path` names: an entry, or a
    // submenu and its entry. False when the menu has no such entry. `checkedInMenu` is the
    // entry beside it shown checked. Opened by a right-click at `at`, or by `open` when given.
    bool chooseInMenu(QWidget *area, QPoint at, const QStringList &path,
                      const std::function<void()> &open = {})
    {
        bool found = false;
        QTimer::singleShot(0, [&] {
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            QMenu *shown = menu;
            QAction *entry = nullptr;
            checkedInMenu.clear();
            for (const QString &name : path) {
                const QList<QAction *> entries = menu ? menu->actions() : QList<QAction *>();
                const auto it = std::find_if(entries.begin(), entries.end(),
                                             [&](QAction *a) { return a->text() == name; });
                entry = it == entries.end() ? nullptr : *it;
                for (QAction *a : entries)
                    checkedInMenu = a->isChecked() ? a->text() : checkedInMenu;
                menu = entry ? entry->menu() : nullptr;
            }
            if (shown)
                shown->close();
            if ((found = entry != nullptr))
                entry->trigger();
        });
        QContextMenuEvent rightClick(QContextMenuEvent::Mouse, at, area->mapToGlobal(at));
        open ? open() : void(QApplication::sendEvent(area, &rightClick));
        return found;
    }
    void importPicture(const QString &path)
    {
        dialogs.chosenFiles << path;
        click("Command1");
    }
    void createPackage(const QString &name) const
    {
        inPreview<QLineEdit>("Text1")->setText(name);
        click("Command2");
    }

    // Checks that `seen` are, one for one, texts beginning as `starts` says: beginnings
    // separated by "|", {prog} for the program folder, {chosen} for `chosen`.
    void verifyBeginnings(const QStringList &seen, const QString &starts,
                          const QString &chosen = {}) const
    {
        const QStringList expected = starts.isEmpty() ? QStringList() : starts.split(u'|');
        QCOMPARE(seen.size(), expected.size());
        for (qsizetype i = 0; i < seen.size(); ++i) {
            const QString start = QString(expected[i])
                                      .replace(QLatin1String("{prog}"), folder.dir().path())
                                      .replace(QLatin1String("{chosen}"), chosen);
            QVERIFY2(seen[i].startsWith(start), qPrintable(seen[i]));
        }
    }

    ProgramFolder folder;
    QTemporaryDir elsewhere;
    ScriptedDialogs dialogs;
    QString checkedInMenu;
    std::unique_ptr<EditorWindow> editor;

private:
    template <typename T> static T *find(QObject *in, const char *name)
    {
        T *found = in ? in->findChild<T *>(QLatin1String(name)) : nullptr;
        if (!found)
            qFatal("no %s", name);
        return found;
    }
};

// A session whose editor has opened, as after a start.
struct Opened : Session
{
    explicit Opened(const QByteArray &factorySkin = {}) : Session(factorySkin)
    {
        if (!editor->open())
            qFatal("the editor did not open");
    }
};
