#include "editor/ColourBox.h"

#include "skin/SkinItems.h"

#include "scene/Scene.h"

#include "platform/Guarded.h"
#include "platform/QtColour.h"

#include "common/EditorSession.h"

#include <QAccessible>
#include <QClipboard>
#include <QDialog>
#include <QMenuBar>
#include <QTimer>

using namespace Qt::Literals::StringLiterals;

namespace {

// The factory skin's text as the text box shows it, with `from` replaced by `to`.
QString factoryText(const QString &from = {}, const QString &to = {})
{
    QString text = QString::fromLatin1(ProgramFolder::factorySkin());
    text = text.left(text.indexOf("\r\n\r\n"_L1)).replace("\r\n"_L1, "\n"_L1);
    return from.isEmpty() ? text : text.replace(from, to);
}

QByteArray asSkinFile(const QString &text)
{
    return text.toLatin1().replace("\n", "\r\n") +
           "\r\n\r\nZantho Skin created with Vellox v1.6.1 Beta 1\r\n";
}

// What the colour controls show: red, green and blue in hex, the opacity in percent and
// whether it can be moved, the colour box in hex as red, green, blue, and the code.
QString controls(const Session &s)
{
    const auto hex = [](int v, int width) {
        return u"%1"_s.arg(v, width, 16, QLatin1Char('0')).toUpper();
    };
    const auto slider = [&s](int n) { return s.get<Slider>(qPrintable(u"Slider%1"_s.arg(n))); };
    const Rgb box = rgbOf(s.get<ColourBox>("Shape1")->colour());
    return u"%1 %2 %3 %4 %5 %6 %7"_s
        .arg(hex(slider(1)->value(), 2), hex(slider(2)->value(), 2), hex(slider(3)->value(), 2))
        .arg(slider(4)->value())
        .arg(slider(4)->isEnabled() ? "on"_L1 : "off"_L1,
             hex(box.red << 16 | box.green << 8 | box.blue, 6), s.code()->text());
}
const QString NoColour = u"00 00 00 100 off FFFFFF "_s;

} // namespace

// Counts the presses of Z and Y that reach the object it watches.
struct KeysSeen : QObject
{
    int count = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            count += key == Qt::Key_Z || key == Qt::Key_Y;
        }
        return false;
    }
};

class tst_editor : public QObject
{
    Q_OBJECT

private slots:
    void lifecycle();
    void missingFactorySkinEndsProgram();
    void controlsShow_data();
    void controlsShow();
    void applyAndRestore();
    void loadAndSave();
    void colourDialog_data();
    void colourDialog();
    void keyboardOrder_data();
    void keyboardOrder();
    void undoAndRedo_data();
    void undoAndRedo();
    void workOfferedBack();
    void typedTextOutlivesOtherFiles_data();
    void typedTextOutlivesOtherFiles();
    void typedTextOnAFullDisk();
    void handOver();
    void escapedErrorIsTold();
    void followsItsFile();
};

void tst_editor::lifecycle()
{
    Opened s;
    QCOMPARE(controls(s), NoColour);
    QCOMPARE(s.folder.read(u"temp.ini"_s), asSkinFile(factoryText()));
    QVERIFY(s.preview() && s.preview()->isVisible() && s.get<QAction>("preview")->isChecked());
    // The menus show no keys: Ctrl+O, Ctrl+S, F1 and Ctrl+Q are shortcuts of their own.
    for (const QMenu *menu : s.editor->findChildren<QMenu *>()) {
        for (const QAction *action : menu->actions())
            QVERIFY2(action->shortcut().isEmpty(), qPrintable(action->text()));
    }
    // With nothing to undo, the undo keys reach no control: the list would search for them.
    KeysSeen seen;
    s.get("Combo1")->installEventFilter(&seen);
    QApplication::setActiveWindow(s.editor.get());
    for (const QKeyCombination key :
         {Qt::CTRL | Qt::Key_Z, Qt::CTRL | Qt::SHIFT | Qt::Key_Z, Qt::CTRL | Qt::Key_Y})
        QTest::keyClick(s.get("Combo1"), key.key(), key.keyboardModifiers());
    QCOMPARE(seen.count, 0);

    // The working files go at the end, whoever made them; nothing else does, a temp.bmp
    // neither: the snapshots never leave memory.
    for (auto name : {"temp.jpg", "temp2.bmp", "temp.bmp", "keep.ini"})
        s.folder.write(QLatin1String(name), "x");
    s.trigger("exit");
    QVERIFY(!s.editor->isVisible() && !s.preview());
    QCOMPARE(s.folder.tree(), (QStringList{"default.ini", "keep.ini", "temp.bmp"}));
    QCOMPARE(s.dialogs.messages, QStringList());
}

void tst_editor::missingFactorySkinEndsProgram()
{
    for (auto layout : {ProgramDirectory::Layout::Portable, ProgramDirectory::Layout::System}) {
        Session s;
        s.editor = std::make_unique<EditorWindow>(ProgramDirectory(s.folder.dir().path(), layout),
                                                  s.dialogs);
        QFile::remove(s.folder.file(u"default.ini"_s));
        for (auto name : {"temp.ini", "temp.jpg", "temp2.bmp"})
            s.folder.write(QLatin1String(name), "left over");
        QVERIFY(!s.editor->open());
        // Installed, the folder is named: nobody guesses where a data folder lies.
        const QString where =
            "\r\nThe Vellox directory is \""_L1 + s.folder.dir().path() + "\"."_L1;
        QCOMPARE(s.dialogs.messages.join(u'|'),
                 "Default.ini not found. Make sure it is in the Vellox directory."_L1 +
                     (layout == ProgramDirectory::Layout::System ? where : QString()));
        QCOMPARE(s.folder.tree(), QStringList());
        QVERIFY(!s.editor->isVisible() && !s.preview());
    }
}

void tst_editor::controlsShow_data()
{
    QTest::addColumn<QByteArray>("skin"); // default.ini; null for the factory skin
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("typed"); // a key at a time, or "keys:" on the red slider,
                                        // "opacity:" on the opacity slider
    QTest::addColumn<QString>("shown");
    const QByteArray factory;
    const QString none;
    const auto row = [](const char *name, const QByteArray &skin, int before, int row,
                        const QString &typed, const char *shown) {
        QTest::newRow(name) << skin << before << row << typed << QString::fromLatin1(shown);
    };
    row("header after a colour", factory, Row::RectBg, 0, none, "00 00 00 100 off FFFFFF ");
    row("translucent", factory, 0, Row::RectBg, none, "22 3A 5E 60 on 223A5E 0x99223A5E");
    row("opaque after translucent", factory, Row::RectBg, Row::BgColour1, none,
        "1B 2A 41 100 off 1B2A41 0xFF1B2A41");
    const QByteArray two = "BgColor1 = 0xFF102030\r\nRectBg = 0x99223A5E\r\n";
    row("empty entry keeps the controls", two, Row::BgColour1, Row::TextColour, none,
        "10 20 30 100 off 102030 0xFF102030");
    row("empty entry after translucent", two, Row::RectBg, Row::TextColour, none,
        "22 3A 5E 100 off 223A5E 0x99223A5E");
    row("empty translucent entry", two, Row::BgColour1, Row::SelectColour, none,
        "10 20 30 100 on 102030 0xFF102030");
    const QByteArray bad = "RectBg = 0x80GG0000\r\nBgColor1 = oops\r\n";
    row("undecodable translucent", bad, Row::BgColour2, Row::RectBg, none,
        "00 00 00 100 on FFFFFF ");
    // Only characters 3 to 10 are read; the opacity digits leniently.
    row("02 reads 1 %", "Shadow = 0x02000000", 0, Row::Shadow, none,
        "00 00 00 1 on 000000 0x03000000");
    row("typed, translucent", factory, 0, Row::RectBg, u"0x80FF8000"_s,
        "FF 80 00 50 on FF8000 0x80FF8000");
    row("typed, opaque keeps opacity", factory, 0, Row::BgColour1, u"0x80FF8000"_s,
        "FF 80 00 100 off FF8000 0x80FF8000");
    row("typed without prefix", factory, 0, Row::RectBg, u"FF8000"_s,
        "00 00 00 50 on 000000 FF8000");
    row("typed away", factory, 0, Row::RectBg, u""_s, "00 00 00 0 on 000000 ");
    // Keys on the red slider: a page is 5.
    row("paged", factory, 0, Row::RectBg, u"keys:PageUp PageUp Right"_s,
        "2D 3A 5E 60 on 2D3A5E 0x992D3A5E");
    row("opacity paged", factory, 0, Row::RectBg, u"opacity:PageUp Right"_s,
        "22 3A 5E 66 on 223A5E 0xA8223A5E");
}

void tst_editor::controlsShow()
{
    QFETCH(QByteArray, skin);
    QFETCH(int, before);
    QFETCH(int, row);
    QFETCH(QString, typed);
    Opened s(skin);
    s.choose(before);
    s.choose(row);
    if (const bool opacity = typed.startsWith("opacity:"_L1);
        opacity || typed.startsWith("keys:"_L1)) {
        for (const QString &key : typed.section(u':', 1).split(u' '))
            QTest::keyClick(s.get(opacity ? "Slider4" : "Slider1"),
                            key == "PageUp"_L1 ? Qt::Key_PageUp : Qt::Key_Right);
    } else if (!typed.isNull()) {
        s.typeCode(typed);
    }
    QTEST(controls(s), "shown");
}

void tst_editor::applyAndRestore()
{
    Opened s;
    s.apply(Row::RectBg, u"0xFF11CC33"_s);
    const QString applied = factoryText(u"RectBg = 0x99223A5E"_s, u"RectBg = 0xff11cc33"_s);
    QCOMPARE(s.skinText(), applied);
    QCOMPARE(s.folder.read(u"temp.ini"_s), asSkinFile(applied));
    QCOMPARE(s.scene(1).pixel(100, 290), qRgb(0x11, 0xCC, 0x33));

    // On the header row the code is stored where no item reads it; an opaque item
    // stored at 80 shows 50 % on the disabled slider and the byte 7F in the code.
    s.apply(0, u"0x80FF0000"_s);
    QCOMPARE(s.editor->colours().at(0), u"0x80ff0000"_s);
    QCOMPARE(s.skinText(), applied);
    s.choose(0);
    QCOMPARE(controls(s), u"FF 00 00 50 off FF0000 0x7FFF0000"_s);

    // Restore Defaults brings back the factory skin, the first row and no colour.
    s.choose(Row::MenuBgColour);
    s.press("Command2");
    QCOMPARE(s.get<QComboBox>("Combo1")->currentIndex(), 0);
    QCOMPARE(controls(s), NoColour);
    QCOMPARE(s.folder.read(u"temp.ini"_s), asSkinFile(factoryText()));
    QCOMPARE(s.dialogs.questions, QStringList());

    // The working skin is written before the redraw that fails.
    s.apply(Row::RectBg, u"0xFFGG0000"_s);
    s.verifyBeginnings(s.dialogs.questions, u"Type mismatch (13)\r\n\r\nContinue?"_s);
    QVERIFY(s.folder.read(u"temp.ini"_s).contains("RectBg = 0xffgg0000"));
}

void tst_editor::loadAndSave()
{
    Opened s;
    const QString mine = s.outside(u"mine.ini"_s, "rectbg = 0x4c010203\nShadow = 1\r\n");
    s.dialogs.chosenFiles = {mine, QString(), s.elsewhere.filePath(u"none.ini"_s)};
    s.choose(Row::RectBg);
    QApplication::setActiveWindow(s.editor.get());
    QTest::keyClick(s.code(), Qt::Key_O, Qt::ControlModifier); // as "Load skin.ini..."
    QCOMPARE(s.get<QComboBox>("Combo1")->currentIndex(), 0);
    // A lone LF is a character of the code, and travels with it.
    const QString loaded = factoryText(u"RectBg = 0x99223A5E"_s, u"RectBg = 0x4c010203\nShadow"_s);
    QCOMPARE(s.folder.read(u"temp.ini"_s),
             asSkinFile(loaded).replace("\r\nShadow\r\n", "\nShadow\r\n"));
    // Cancelling, or a name that does not exist, changes nothing.
    s.choose(Row::RectBg);
    s.trigger("loadskin");
    s.trigger("loadskin");
    QCOMPARE(s.get<QComboBox>("Combo1")->currentIndex(), Row::RectBg);
    QCOMPARE(s.dialogs.fileRequests[2].initialFile, mine);
    QCOMPARE(s.dialogs.fileRequests[2].filter, u"Zantho Skin Files (*.ini)|*.ini"_s);

    // The text box is saved as it stands: a code with a CR typed into the code box and
    // applied, lines typed and pasted by any key; a code composed but not applied is not.
    s.choose(Row::TextColour);
    s.code()->setText(u"0xff0102\r03"_s);
    s.press("Command1");
    auto *text = s.get<QPlainTextEdit>("Text5");
    text->moveCursor(QTextCursor::End);
    QTest::keyClick(text, Qt::Key_Return);
    QTest::keyClicks(text, u"; typed"_s);
    QTest::keyClick(text, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(text, u"; shifted"_s);
    QApplication::clipboard()->setText(QChar(QChar::LineSeparator) + u"; pasted"_s);
    text->paste();
    s.typeCode(u"0xFF000000"_s);
    const QString path = s.folder.file(u"my skin"_s);
    s.dialogs.chosenFiles = {path, QString()};
    s.trigger("saveskin");
    s.trigger("saveskin");
    const QByteArray saved = s.folder.read(u"my skin"_s);
    QVERIFY(saved.contains("\r\nRectBg = 0x4c010203\nShadow\r\n"));
    QVERIFY(saved.contains("\r\nTextColor = 0xff0102\r03\r\n"));
    QVERIFY(saved.endsWith("\r\n; typed\r\n; shifted\r\n; pasted\r\n\r\nZantho Skin created with "
                           "Vellox v1.6.1 Beta 1\r\n"));
    QCOMPARE(s.dialogs.messages, QStringList{u"Skin.ini saved to "_s + path});
    QVERIFY(s.dialogs.fileRequests[4].save);
    QCOMPARE(s.dialogs.fileRequests[4].initialFile, path);
    QCOMPARE(s.folder.tree(), (QStringList{"default.ini", "my skin", "temp.ini"}));

    // A character 8-bit text cannot hold is named, and the saved file stays as it was.
    QTest::sendKeyEvent(QTest::Click, text, Qt::Key_unknown, u"\u20ac"_s, Qt::NoModifier);
    s.dialogs.chosenFiles << path;
    s.trigger("saveskin");
    QCOMPARE(s.folder.read(u"my skin"_s), saved);
    QCOMPARE(s.dialogs.messages.last(), u"The skin was not saved.\r\nCannot write \"%1\": 8-bit "
                                        "text cannot hold the character \"\u20ac\""_s.arg(path));
    // A photograph whose name was typed stays a photograph, whatever the dialog was told,
    // also in a format whose bytes pass for text, and so does a text that is no skin.
    QVERIFY(QImage(QStringLiteral(VELLOX_PHOTOS "/chelsea.jpg"))
                .save(s.folder.file(u"chelsea.ppm"_s), "PPM"));
    s.folder.write(u"notes.txt"_s, "not a skin\r\n");
    for (const auto &[name, why] : {std::pair{"chelsea.ppm", "the file is a picture (PPM)"},
                                    {"notes.txt", "no line of it sets a colour item"}}) {
        const QByteArray before = s.folder.read(QString::fromLatin1(name));
        s.dialogs.chosenFiles << s.folder.file(QString::fromLatin1(name));
        s.trigger("saveskin");
        QCOMPARE(s.folder.read(QString::fromLatin1(name)), before);
        QVERIFY2(s.dialogs.messages.last().endsWith(QString::fromLatin1(why)),
                 qPrintable(s.dialogs.messages.last()));
    }
}

void tst_editor::colourDialog_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QColor>("picked"); // invalid: the user cancels
    QTest::addColumn<QString>("asked"); // the dialog's start and alpha; empty when not opened
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("key"); // what opens the dialog: a key on the box, or a double-click
    const QColor cancel;
    QTest::newRow("translucent, alpha picked")
        << Row::RectBg << QColor(0x12, 0x34, 0x56, 0x80)
        << u"#99223a5e Colour of Menu BG 60 % 153"_s << u"12 34 56 50 on 123456 0x80123456"_s
        << int(Qt::Key_Space);
    QTest::newRow("opaque keeps its opacity digits")
        << Row::BgColour1 << QColor(0xAB, 0xCD, 0x0E, 0x10)
        << u"#ff1b2a41 Colour of BG Color 1 no alpha"_s << u"AB CD 0E 100 off ABCD0E 0xFFABCD0E"_s
        << int(Qt::Key_Return);
    QTest::newRow("cancel") << Row::RectBg << cancel << u"#99223a5e Colour of Menu BG 60 % 153"_s
                            << u"22 3A 5E 60 on 223A5E 0x99223A5E"_s << 0;
    QTest::newRow("header") << 0 << QColor(Qt::red) << QString() << NoColour << int(Qt::Key_Enter);
    QTest::newRow("blank") << 6 << QColor(Qt::red) << QString() << NoColour << 0;
}

// Double-clicking the colour box picks a colour for the code box, as if typed there.
void tst_editor::colourDialog()
{
    QFETCH(int, row);
    QFETCH(QColor, picked);
    QFETCH(int, key);
    Opened s;
    s.choose(row);
    s.dialogs.chosenColours << (picked.isValid() ? std::optional(picked) : std::nullopt);
    if (key != 0)
        QTest::keyClick(s.get("Shape1"), Qt::Key(key));
    else
        QTest::mouseDClick(s.get("Shape1"), Qt::LeftButton);

    QStringList requests;
    for (const auto &[initial, request] : s.dialogs.colourRequests)
        requests << initial.name(QColor::HexArgb) + u' ' + request.title +
                        (request.percentOf ? u" %1 %"_s.arg(request.percentOf(initial.alpha())) +
                                                 u" %1"_s.arg(request.alphaOf(60))
                                           : " no alpha"_L1);
    QTEST(requests.join(u'|'), "asked");
    QTEST(controls(s), "shown");
    // Nothing is applied before "Apply Change".
    QCOMPARE(s.skinText(), factoryText());
    QCOMPARE(s.folder.read(u"temp.ini"_s), asSkinFile(factoryText()));
}

void tst_editor::keyboardOrder_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("order"); // of the controls Tab reaches, from the item list
    QTest::addColumn<QString>("told");  // what a screen reader is told of the colour box
    const QString order =
        u"Combo1 Shape1 Slider1 Slider2 Slider3 Text7 Command2 Command1 Text5 Combo1"_s;
    QTest::newRow("translucent item")
        << Row::RectBg << QString(order).replace(u"3"_s, u"3 Slider4"_s)
        << u"0x99223A5E, opacity 60 %"_s;
    QTest::newRow("opaque item skips the opacity") << Row::TextColour << order << u"0xFFDCE3EE"_s;
    QTest::newRow("header has no colour") << 0 << order << QString();
}

// Tab goes as the eye reads the window and Shift+Tab back; the colour box tells its colour.
void tst_editor::keyboardOrder()
{
    QFETCH(int, row);
    QFETCH(QString, order);
    QFETCH(QString, told);
    Opened s;
    s.editor->show();
    QApplication::setActiveWindow(s.editor.get());
    QVERIFY(QTest::qWaitForWindowActive(s.editor.get()));
    s.choose(row);
    s.get("Combo1")->setFocus();
    for (const Qt::KeyboardModifier back : {Qt::NoModifier, Qt::ShiftModifier}) {
        QStringList seen{QApplication::focusWidget()->objectName()};
        for (qsizetype i = 0; i < order.count(u' '); ++i) {
            QTest::keyClick(QApplication::focusWidget(), back ? Qt::Key_Backtab : Qt::Key_Tab,
                            back);
            seen.insert(back ? 0 : seen.size(), QApplication::focusWidget()->objectName());
        }
        QCOMPARE(seen.join(u' '), order);
    }
    QAccessibleInterface *box = QAccessible::queryAccessibleInterface(s.get("Shape1"));
    QCOMPARE(box->text(QAccessible::Value), told);
    QCOMPARE(box->text(QAccessible::Description), told);
    QCOMPARE(box->valueInterface()->currentValue().toInt(), // as the code writes it: 0xRRGGBB
             told.isEmpty() ? 0xFFFFFF : told.mid(4, 6).toInt(nullptr, 16));

    // Alt alone opens the menu bar.
    auto *menus = s.editor->findChild<QMenuBar *>();
    QTest::keyPress(s.code(), Qt::Key_Alt);
    QTest::keyRelease(s.code(), Qt::Key_Alt, Qt::AltModifier);
    QCOMPARE(menus->activeAction() ? menus->activeAction()->text() : QString(), u"File"_s);
}

void tst_editor::undoAndRedo_data()
{
    QTest::addColumn<QString>("steps"); // what the user does, in order
    QTest::addColumn<QString>("code");  // what "Text Color" holds in the end
    QTest::addColumn<int>("row");       // the row then chosen
    QTest::addColumn<QString>("undo");  // what the undo action says; empty: nothing to undo
    const auto row = [](const char *name, const char *steps, const char *code, int chosen,
                        const char *undo) {
        QTest::newRow(name) << QString::fromLatin1(steps) << QString::fromLatin1(code) << chosen
                            << QString::fromUtf8(undo);
    };
    const char *factory = "0xFFDCE3EE";
    const char *applied = "Undo Apply Change";
    row("apply undone", "apply:A undo", factory, Row::TextColour, "");
    row("and redone", "apply:A undo redo", "0xff00000a", Row::TextColour, applied);
    row("redone by Ctrl+Shift+Z", "apply:A undo redo:shift", "0xff00000a", Row::TextColour,
        applied);
    row("restore undone", "apply:A restore undo", "0xff00000a", 0, applied);
    row("restore named", "apply:A restore", factory, 0, "Undo Restore Defaults");
    row("load named", "load", "0xFF000001", 0, "Undo Load \"load\"");
    row("load undone", "load undo", factory, 0, "");
    row("a load that read nothing is no step", "apply:A empty undo", factory, Row::TextColour, "");
    row("nor is a picture read as a skin", "apply:A picture undo", factory, Row::TextColour, "");
    row("a new change drops the redo", "apply:A undo apply:B redo", "0xff00000b", Row::TextColour,
        applied);
    row("Enter in the code box applies", "enter:C", "0xff00000c", Row::TextColour, applied);
    row("as one step", "apply:A enter:C undo", "0xff00000a", Row::TextColour, applied);
    row("from the preview window", "apply:A undo:preview", factory, Row::TextColour, "");
    row("the code box keeps its own undo", "apply:A undo:code", "0xff00000a", Row::TextColour,
        applied);
    row("history outlives the preview", "apply:A preview preview undo", factory, Row::TextColour,
        "");
    row("never beneath a dialog", "apply:A undo:dialog", "0xff00000a", Row::TextColour, applied);
}

// Each change of the colour table is a step: undone and redone from either window, it
// puts the table back, rewrites the working skin, redraws and shows the row it changed.
void tst_editor::undoAndRedo()
{
    QFETCH(QString, steps);
    QFETCH(QString, code);
    Opened s;
    QApplication::setActiveWindow(s.editor.get());
    for (const QString &step : steps.split(u' ')) {
        const QString how = step.section(u':', 1);
        if (step.startsWith("apply"_L1))
            s.apply(Row::TextColour, u"0xFF00000"_s + how);
        else if (step.startsWith("enter"_L1))
            s.choose(Row::TextColour), s.typeCode(u"0xFF00000"_s + how),
                QTest::keyClick(s.code(), Qt::Key_Return);
        else if (step == "restore"_L1)
            s.press("Command2");
        else if (step == "load"_L1 || step == "empty"_L1 || step == "picture"_L1)
            // as a drop and a hand-over load too
            s.dialogs.chosenFiles = {s.outside(step, step == "load"_L1
                                                         ? "TextColor = 0xFF000001\r\n"
                                                     : step == "empty"_L1 ? ""
                                                                          : "\x89PNG\r\n\x1a\n")},
            s.trigger("loadskin");
        else if (step == "preview"_L1)
            s.trigger("preview");
        else if (how == "dialog"_L1) {
            QDialog dialog(s.editor.get());
            QTimer::singleShot(0, &dialog, [&] {
                QTest::keyClick(&dialog, Qt::Key_Z, Qt::ControlModifier);
                dialog.reject();
            });
            dialog.exec();
        } else
            QTest::keyClick(how == "code"_L1      ? static_cast<QWidget *>(s.code())
                            : how == "preview"_L1 ? static_cast<QWidget *>(s.preview())
                                                  : s.get("Combo1"),
                            step.startsWith("undo"_L1) || how == "shift"_L1 ? Qt::Key_Z : Qt::Key_Y,
                            how == "shift"_L1 ? Qt::ControlModifier | Qt::ShiftModifier
                                              : Qt::ControlModifier);
    }
    QCOMPARE(s.editor->colours().at(Row::TextColour), code);
    QTEST(s.get<QComboBox>("Combo1")->currentIndex(), "row");
    const auto *undoAction = s.get<QAction>("undo");
    QTEST(undoAction->isEnabled() ? undoAction->text() : QString(), "undo");
    QVERIFY(s.folder.read(u"temp.ini"_s).contains("TextColor = " + code.toLatin1() + "\r\n"));
    const Scene &scene = s.inPreview<DrawingArea>("Picture1")->scene();
    QCOMPARE(toQRgb(scene.element(Role::HeaderLine).textColour),
             0xFF000000 | code.toUInt(nullptr, 16));
}

// A working skin, or skin text typed, left by a run that never reached its shutdown steps
// is offered back, untouched until the user answers; a skin restored so is one step,
// undone back to the factory skin.
void tst_editor::workOfferedBack()
{
    const QByteArray edited = ProgramFolder::factorySkin().replace("0xFFDCE3EE", "0xff010203");
    const QString typed = factoryText() + u"\nmy note"_s;
    using A = Dialogs::Answer;
    // temp.ini and the typed text before the start (null: none), the answer, "Text Color"
    // and the skin text afterwards.
    for (const auto &[leftOver, leftTyped, answer, code, text] :
         {std::tuple{edited, QString(), A::Yes, "0xff010203", QString()},
          {edited, QString(), A::No, "0xFFDCE3EE", factoryText()},
          {QByteArray(), QString(), A::Yes, "0xFFDCE3EE", factoryText()},
          {asSkinFile(factoryText()), QString(), A::Yes, "0xFFDCE3EE", factoryText()},
          {asSkinFile(factoryText()), typed, A::Yes, "0xFFDCE3EE", typed},
          {edited, typed, A::No, "0xFFDCE3EE", factoryText()}}) {
        Session s;
        if (!leftOver.isNull())
            s.folder.write(u"temp.ini"_s, leftOver);
        if (!leftTyped.isNull())
            s.folder.write(u"temp-typed.txt"_s,
                           QString(leftTyped).replace(u'\n', u"\r\n"_s).toUtf8());
        const auto before = s.folder.contents();
        s.dialogs.whileAsked = [&] { QCOMPARE(s.folder.contents(), before); };
        s.dialogs.answers = {answer};
        QVERIFY(s.editor->open());
        const bool asked =
            (!leftOver.isNull() && leftOver != asSkinFile(factoryText())) || !leftTyped.isNull();
        s.verifyBeginnings(s.dialogs.questions,
                           asked ? u"Vellox was not closed properly. Restore the skin"_s
                                 : QString());
        QCOMPARE(s.editor->colours().at(Row::TextColour), QLatin1String(code));
        QVERIFY(s.folder.read(u"temp.ini"_s).contains(code));
        if (!text.isEmpty())
            QCOMPARE(s.skinText(), text);
        QCOMPARE(s.folder.exists(u"temp-typed.txt"_s), text == typed);
        QApplication::setActiveWindow(s.editor.get());
        QTest::keyClick(s.get("Combo1"), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(s.editor->colours().at(Row::TextColour), u"0xFFDCE3EE"_s);
    }
}

void tst_editor::typedTextOutlivesOtherFiles_data()
{
    QTest::addColumn<bool>("handed"); // handed over (or dropped), else "Load skin.ini..."
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("refusal"); // a part of the message; empty: loaded
    QTest::newRow("a plain text file handed over")
        << true << QByteArray("Dear diary,\r\nnothing here.\r\n") << u"no line sets a colour"_s;
    QTest::newRow("a skin in LF lines handed over")
        << true << QByteArray("TextColor = 0xFF010203\nBgColor1 = 0xFF000000\n")
        << u"the lines end in LF alone"_s;
    QTest::newRow("an empty file handed over") << true << QByteArray() << u"the file is empty"_s;
    QTest::newRow("a skin handed over")
        << true << QByteArray("TextColor = 0xFF010203\r\n") << QString();
    QTest::newRow("a plain text file loaded")
        << false << QByteArray("Dear diary,\r\n") << QString();
    QTest::newRow("a picture loaded") << false << QByteArray("\x89PNG\r\n\x1a\n") << u"PNG"_s;
}

// What is typed into the skin text box is kept beside the working skin, until the box
// shows the table again. A file that is no skin is refused and changes nothing; one that
// loads, or any text file "Load skin.ini..." loads, replaces the typed text in the box,
// but its file stays until the next edit.
void tst_editor::typedTextOutlivesOtherFiles()
{
    QFETCH(bool, handed);
    QFETCH(QByteArray, file);
    QFETCH(QString, refusal);
    Opened s;
    auto *box = s.get<QPlainTextEdit>("Text5");
    box->moveCursor(QTextCursor::End);
    QTest::keyClicks(box, u"x"_s);
    const QString typed = s.skinText();
    const QByteArray kept = QString(typed).replace(u'\n', u"\r\n"_s).toUtf8();
    QTRY_COMPARE(s.folder.read(u"temp-typed.txt"_s), kept);
    // The user's unsaved work is theirs alone to read.
    for (const QString &working : {u"temp-typed.txt"_s, u"temp.ini"_s})
        QCOMPARE(modeOf(s.folder.file(working)), 0600);
    const ColourTable table = s.editor->colours();
    const QString path = s.outside(u"notes.txt"_s, file);
    if (handed) {
        s.editor->openSkin(path);
    } else {
        s.dialogs.chosenFiles = {path};
        s.trigger("loadskin");
    }
    QCOMPARE(s.folder.read(u"temp-typed.txt"_s), kept);
    QCOMPARE(s.dialogs.messages.size(), refusal.isEmpty() ? 0 : 1);
    if (!refusal.isEmpty())
        QVERIFY2(s.dialogs.messages[0].contains(path) && s.dialogs.messages[0].contains(refusal),
                 qPrintable(s.dialogs.messages[0]));
    QCOMPARE(s.skinText() == typed, !refusal.isEmpty());
    QVERIFY(refusal.isEmpty() || s.editor->colours() == table);
    QTest::qWait(600);
    QCOMPARE(s.folder.read(u"temp-typed.txt"_s), kept);
    if (!refusal.isEmpty())
        return;
    // The next edit is what the file keeps from then on.
    box->moveCursor(QTextCursor::End);
    QTest::keyClicks(box, u"z"_s);
    QTRY_VERIFY(s.folder.read(u"temp-typed.txt"_s).endsWith("z"));
    s.apply(Row::TextColour, u"0xFF010203"_s);
    QVERIFY(!s.folder.exists(u"temp-typed.txt"_s));
    box->moveCursor(QTextCursor::End);
    box->insertPlainText(u"\u20ACy"_s); // beyond 8-bit text, which only the box holds
    s.editor->keepWork();
    QVERIFY(s.folder.read(u"temp-typed.txt"_s).endsWith(u"\u20ACy"_s.toUtf8()));
    s.trigger("exit");
    QVERIFY(!s.folder.exists(u"temp-typed.txt"_s));
}

// Typed text or colours that cannot be kept on the disk are told once, however often
// they fail, naming the file and the reason, and told again once they can.
void tst_editor::typedTextOnAFullDisk()
{
    Opened s;
    auto *box = s.get<QPlainTextEdit>("Text5");
    for (const QString &key : {u"x"_s, u"y"_s, u"z"_s}) {
        const std::optional<FileSizeLimit> full =
            key != u"z"_s ? std::optional<FileSizeLimit>(std::in_place, 64) : std::nullopt;
        box->moveCursor(QTextCursor::End);
        QTest::keyClicks(box, key);
        QTest::qWait(700);
    }
    QTRY_VERIFY(s.folder.read(u"temp-typed.txt"_s).endsWith("xyz"));
    // Colours an undo cannot keep are told the same way; "Apply Change" asks instead.
    s.apply(Row::TextColour, u"0xFF000001"_s);
    s.apply(Row::TextColour, u"0xFF000002"_s);
    QApplication::setActiveWindow(s.editor.get());
    for (const Qt::Key key : {Qt::Key_Z, Qt::Key_Z, Qt::Key_Y}) {
        const std::optional<FileSizeLimit> full =
            key == Qt::Key_Z ? std::optional<FileSizeLimit>(std::in_place, 64) : std::nullopt;
        QTest::keyClick(s.get("Combo1"), key, Qt::ControlModifier);
    }
    const QString reason = u"writes them. Vellox tells you when it can keep them again.\r\nCannot "
                           "write \"{prog}/%1\": File too large"_s;
    s.verifyBeginnings(
        s.dialogs.messages,
        u"The text you typed in the Skin.ini box cannot be kept on the disk, so a crash would "
        "lose it; it is still in the box, and \"Save As\" %1|The text you typed in the Skin.ini "
        "box is kept on the disk again, in \"{prog}/temp-typed.txt\".|The colours cannot be kept "
        "on the disk, so a crash would lose the changes since; they are still in the window, and "
        "\"Save As\" %2|The colours are kept on the disk again, in \"{prog}/temp.ini\"."_s.arg(
            QString(reason).replace(u"them"_s, u"it"_s).arg(u"temp-typed.txt"_s),
            reason.arg(u"temp.ini"_s)));
}

// A skin handed over waits while a dialog is open; an editor closed while the program ran
// on comes back with its preview.
void tst_editor::handOver()
{
    Opened s;
    QDialog dialog(s.editor.get());
    dialog.open();
    s.editor->openHandedSkin(s.outside(u"mine.ini"_s, "TextColor = 0xFF010203\r\n"));
    QTest::qWait(300);
    QCOMPARE(s.editor->colours().at(Row::TextColour), u"0xFFDCE3EE"_s);
    dialog.close();
    QTRY_COMPARE(s.editor->colours().at(Row::TextColour), u"0xFF010203"_s);
    s.trigger("exit");
    s.editor->bringToFront();
    QVERIFY(s.preview() && s.preview()->isVisible() && s.get<QAction>("preview")->isChecked());
}

// Whatever escapes a handler stops at the edge of the event loop, told as any
// failure is, with the signal's arguments passed on to a handler that takes them.
void tst_editor::escapedErrorIsTold()
{
    ScriptedDialogs dialogs;
    QAction action;
    action.setCheckable(true);
    QObject::connect(&action, &QAction::triggered, &action, guarded(dialogs, [](bool checked) {
        throw Error(Error::Overflow, checked ? u"on"_s : u"off"_s);
    }));
    QObject::connect(&action, &QAction::triggered, &action,
                     guarded(dialogs, [] { throw Error::typeMismatch(); }));
    // Nor does anything else get through: memory running out, or what no one named.
    QObject::connect(&action, &QAction::triggered, &action,
                     guarded(dialogs, [] { throw std::bad_alloc(); }));
    QObject::connect(&action, &QAction::triggered, &action, guarded(dialogs, [] { throw 7; }));
    action.trigger();
    QCOMPARE(dialogs.messages,
             (QStringList{u"on"_s, u"Type mismatch"_s,
                          u"Vellox could not finish this step: std::bad_alloc. Your work is kept "
                          "as it was."_s,
                          u"Vellox could not finish this step for a reason it was not told. Your "
                          "work is kept as it was."_s}));
}

// A skin changed on the disk by another program is read again within a second, as one
// step, whatever the name leads to after a link, a removal and a new file; Vellox's own
// save, a removed file and content that is no skin change nothing.
void tst_editor::followsItsFile()
{
    Opened s;
    const auto code = [&] { return s.editor->colours().at(Row::TextColour); };
    const auto steps = [&] { return s.editor->document().history().index(); };
    const QString path = s.outside(u"mine.ini"_s, "TextColor = 0xFF000001\r\n");
    s.dialogs.chosenFiles = {path};
    s.trigger("loadskin");
    // As text editors save: a new file renamed over the old one, or written in place.
    const QString replacement = s.outside(u"new.ini"_s, "TextColor = 0xFF000002\r\n");
    QVERIFY(QFile::remove(path) && QFile::rename(replacement, path));
    QTRY_COMPARE_WITH_TIMEOUT(code(), u"0xFF000002"_s, 1000);
    QDir(s.elsewhere.path()).mkdir(u"other"_s);
    const QString target = s.outside(u"other/linked.ini"_s, "TextColor = 0xFF000003\r\n");
    QVERIFY(QFile::remove(path) && QFile::link(target, path));
    QTRY_COMPARE_WITH_TIMEOUT(code(), u"0xFF000003"_s, 1000);
    // A folder on the way replaced by another: the name leads into the new one.
    QVERIFY(QDir(s.elsewhere.path()).rename(u"other"_s, u"gone"_s));
    QDir(s.elsewhere.path()).mkdir(u"other"_s);
    QTest::qWait(300);
    s.outside(u"other/linked.ini"_s, "TextColor = 0xFF000013\r\n");
    QTRY_COMPARE_WITH_TIMEOUT(code(), u"0xFF000013"_s, 1000);
    QVERIFY(QFile::remove(path));
    QTest::qWait(300);
    s.outside(u"mine.ini"_s, "TextColor = 0xFF000004\r\n");
    QTRY_COMPARE_WITH_TIMEOUT(code(), u"0xFF000004"_s, 1000);
    for (const char *edit : {"TextColor = 0xFF000005\r\n", "TextColor = 0xFF000006\r\n"}) {
        QFile inPlace(path);
        QVERIFY(inPlace.open(QIODevice::ReadWrite) && inPlace.write(edit) > 0);
        inPlace.close();
        QTRY_COMPARE_WITH_TIMEOUT(code(), QString::fromLatin1(edit).mid(12, 10), 1000);
    }
    s.outside(u"mine.ini"_s, "TextColor = 0xFF000007\r\n");
    QTRY_COMPARE_WITH_TIMEOUT(code(), u"0xFF000007"_s, 1000);
    QApplication::setActiveWindow(s.editor.get());
    QTest::keyClick(s.get("Combo1"), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(code(), u"0xFF000006"_s);
    // Text typed into the skin text box is not replaced by a reload: the change is told.
    s.get<QPlainTextEdit>("Text5")->appendPlainText(u"mine"_s);
    s.outside(u"mine.ini"_s, "TextColor = 0xFF000009\r\n");
    QTRY_COMPARE_WITH_TIMEOUT(s.dialogs.messages.size(), 1, 1000);
    QVERIFY(s.skinText().endsWith(u"mine"_s) && code() == u"0xFF000006"_s);
    const int before = steps();
    s.apply(Row::TextColour, u"0xFF00000A"_s);
    s.dialogs.chosenFiles = {path};
    s.trigger("saveskin");
    s.outside(u"mine.ini"_s, "\x89PNG\r\n\x1a\nTextColor = 0xFF00000B\r\n");
    QTest::qWait(500);
    QFile::remove(path);
    QTest::qWait(500);
    QCOMPARE(code(), u"0xff00000a"_s);
    QCOMPARE(steps(), before + 1);
    QCOMPARE(s.dialogs.messages.size(), 2); // the reload's, the save's own
}

QTEST_MAIN(tst_editor)
#include "tst_editor.moc"
