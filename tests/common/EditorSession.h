#pragma once

#include "editor/frmMain.h"

#include "preview/DrawingArea.h"
#include "preview/frmPreview.h"

#include "common/ProgramFolder.h"
#include "common/ScriptedDialogs.h"

#include "platform/Slider.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include <memory>

// One running editor in its own program directory.
class Session
{
public:
    Session() { editor = std::make_unique<frmMain>(folder.dir(), dialogs); }
    ~Session() { editor->close(); }

    template <typename T = QWidget> T *get(const char *name) const
    {
        T *w = editor->findChild<T *>(QLatin1String(name));
        if (!w)
            qFatal("no child %s", name);
        return w;
    }
    QLineEdit *code() const { return get<QLineEdit>("Text7"); }
    Slider *slider(int n) const
    {
        return get<Slider>(qPrintable(QStringLiteral("Slider%1").arg(n)));
    }
    QString skinText() const { return get<QPlainTextEdit>("Text5")->toPlainText(); }
    frmPreview *preview() const { return editor->loadedPreview(); }
    void trigger(const char *action) const { get<QAction>(action)->trigger(); }
    void press(const char *button) const
    {
        QTest::mouseClick(get<QPushButton>(button), Qt::LeftButton);
    }

    // As the user choosing a row in the list, the same row included.
    void choose(int row) const
    {
        auto *combo = get<QComboBox>("Combo1");
        combo->setCurrentIndex(row);
        emit combo->activated(row);
    }
    void typeCode(const QString &text) const
    {
        code()->clear();
        QTest::keyClicks(code(), text);
    }
    // A file of the user's, outside the program folder.
    QString outside(const QString &name, const QByteArray &bytes) const
    {
        QFile f(elsewhere.filePath(name));
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(f.fileName()));
        return f.fileName();
    }
    // As the user choosing `path` after "Import Backround".
    void importPicture(const QString &path)
    {
        dialogs.chosenFiles << path;
        preview()->findChild<QAbstractButton *>(QStringLiteral("Command1"))->click();
    }
    void createPackage(const QString &name) const
    {
        preview()->findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(name);
        preview()->findChild<QAbstractButton *>(QStringLiteral("Command2"))->click();
    }
    QRgb scenePixel(const char *scene, int x, int y) const
    {
        return preview()->findChild<DrawingArea *>(QLatin1String(scene))->image().pixel(x, y);
    }

    ProgramFolder folder;
    QTemporaryDir elsewhere;
    ScriptedDialogs dialogs;
    std::unique_ptr<frmMain> editor;
};
