#include "readability/Readability.h"

#include "skin/SkinItems.h"
#include "skin/SkinLint.h"

#include "colour/Srgb.h"

#include "platform/FittingStyle.h"

#include "common/DrawnScenes.h"
#include "common/EditorSession.h"

#include <QAccessible>
#include <QClipboard>
#include <QMimeData>
#include <QRadioButton>
#include <QToolTip>

using namespace Qt::Literals::StringLiterals;

// The preview window: pictures, packages, drops, images, readability, keys, dialogs.
class tst_preview : public QObject
{
    Q_OBJECT

private slots:
    void workingPictures();
    void packages_data();
    void packages();
    void drops_data();
    void drops();
    void previewImages_data();
    void previewImages();
    void readabilityInTheWindows();
    void sceneByKeyboard_data();
    void sceneByKeyboard();
    void sceneWalk_data();
    void sceneWalk();
    void dialogsOfTheirWindow();
    void chosenOptionShows_data();
    void chosenOptionShows();
};

void tst_preview::workingPictures()
{
    Opened s;
    s.click("Option4");
    s.verifyBeginnings(s.dialogs.messages, u"No Picture loaded. Please import picture before"_s);
    QVERIFY(s.inPreview<QRadioButton>("Option3")->isChecked() && !s.pictureShown());
    // Pictures from before are shown without an import, temp.jpg first; a temp.bmp of the
    // user's stays, as the snapshots never leave memory.
    s.folder.write(u"temp2.bmp"_s, encodedPicture(qRgb(9, 9, 9), "BMP"));
    s.folder.write(u"temp.jpg"_s, encodedPicture(qRgb(90, 90, 90), "BMP"));
    s.folder.write(u"temp.bmp"_s, "the user's own");
    s.click("Option4");
    QVERIFY(s.inPreview<QRadioButton>("Option4")->isChecked() && s.pictureShown());
    QCOMPARE(s.scene(2).pixel(10, 10), qRgb(90, 90, 90));
    QCOMPARE(s.folder.tree(),
             (QStringList{"default.ini", "temp.bmp", "temp.ini", "temp.jpg", "temp2.bmp"}));
    s.click("Option3");
    QVERIFY(!s.pictureShown());
    QCOMPARE(s.dialogs.messages.size(), 1);
    // A one-bit palette, as image tools write a picture of few colours, keeps its colours
    // when it is shrunk to the scene.
    QImage twoColours(1920, 1080, QImage::Format_Mono);
    twoColours.setColorTable({qRgb(230, 200, 20), qRgb(20, 60, 200)});
    for (int y = 0; y < twoColours.height(); ++y)
        for (int x = 0; x < twoColours.width(); ++x)
            twoColours.setPixel(x, y, x < twoColours.width() / 2 ? 0 : 1);
    s.folder.write(u"temp.jpg"_s, encoded(twoColours, "BMP"));
    s.click("Option4");
    QCOMPARE(s.scene(2).pixel(10, 10), qRgb(230, 200, 20));
    QCOMPARE(s.scene(2).pixel(470, 10), qRgb(20, 60, 200));
}

void tst_preview::packages_data()
{
    QTest::addColumn<QStringList>("imports"); // a picture before each export; "" for none
    QTest::addColumn<Dialogs::Answer>("replace");
    QTest::addColumn<QStringList>("files"); // of the package in the end
    QTest::addColumn<QString>("blocks");    // of skin.ini: p plain, b with the background line
    using A = Dialogs::Answer;
    const auto row = [](const char *name, const char *imports, A replace, const char *files,
                        const char *blocks) {
        QTest::newRow(name) << QString::fromLatin1(imports).split(u'|') << replace
                            << QString::fromLatin1(files).split(u'|')
                            << QString::fromLatin1(blocks);
    };
    row("no picture", "", A::No, "skin.ini", "p");
    row("bmp picture", "a.bmp", A::No, "background.bmp|skin.ini", "b");
    // temp.jpg beside temp2.bmp: the plain skin, then the one with its background line.
    row("both working pictures", "both", A::No, "background.bmp|background.jpg|skin.ini", "pb");
    // The user's own files, one named as ours in a folder of theirs, stay.
    row("replaced", "a.bmp|b.jpg", A::Yes, "background.jpg|notes.txt|old|skin.ini", "p");
    row("kept", "a.bmp|b.jpg", A::No, "background.bmp|notes.txt|old|skin.ini", "b");
}

void tst_preview::packages()
{
    QFETCH(QStringList, imports);
    QFETCH(Dialogs::Answer, replace);
    QFETCH(QStringList, files);
    QFETCH(QString, blocks);
    Opened s;
    s.get<QPlainTextEdit>("Text5")->setPlainText(u"k = 1"_s);
    const QString folder = u"My Projects/ My Skin /"_s;
    for (const QString &picture : imports) {
        if (picture != imports.first()) {
            s.folder.write(folder + u"notes.txt"_s, "mine");
            s.folder.write(folder + u"old/skin.ini"_s, "mine too");
        }
        const QByteArray bytes = encodedPicture(qRgb(7, 8, 9), "BMP", {20, 10});
        if (!picture.isEmpty()) {
            s.importPicture(s.outside(picture == u"both"_s ? u"a.bmp"_s : picture, bytes));
            if (picture == u"both"_s)
                s.folder.write(u"temp.jpg"_s, bytes);
            QVERIFY(s.pictureShown());
            QCOMPARE(s.dialogs.fileRequests.last().filter,
                     u"Zantho Backrounds (*.jpg,*.bmp,*.png)|*.jpg;*.bmp;*.png"_s);
            QCOMPARE(s.scene(2).pixel(0, 0), qRgb(7, 8, 9));
        }
        s.click("Option3"); // the package takes the picture whichever background is shown
        s.dialogs.answers = {replace};
        s.createPackage(u" My Skin "_s);
    }
    s.verifyBeginnings(
        s.dialogs.messages + s.dialogs.questions,
        u"Package  My Skin  saved in the Vellox directory in My Projects\\ My Skin "_s +
            (imports.size() == 1 ? u""_s
             : replace == Dialogs::Answer::Yes
                 ? u"|Package  My Skin  saved|A package named  My Skin  already"_s
                 : u"|A package named  My Skin  already"_s));
    // The package is written from the skin text; the scenes are drawn from the table.
    QCOMPARE(s.scene(1).pixel(0, 0), qRgb(0x1B, 0x2A, 0x41));
    const QDir package(s.folder.file(folder));
    QCOMPARE(package.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), files);
    QByteArray skin;
    for (QChar block : blocks)
        skin += "k = 1\r\n" + QByteArray(block == u'b' ? "background = background.bmp\r\n" : "") +
                "\r\nZantho Skin created with Vellox v1.6.1 Beta 1\r\n";
    QCOMPARE(s.folder.read(folder + u"skin.ini"_s), skin);
    if (files.contains(u"old"_s))
        QCOMPARE(s.folder.read(folder + u"old/skin.ini"_s), "mine too");
    if (files.size() > 1) {
        const QImage saved(package.filePath(files.first()), "BMP");
        QCOMPARE(saved.size(), QSize(20, 10));
        QCOMPARE(saved.pixel(3, 3), qRgb(7, 8, 9));
    }
}

void tst_preview::drops_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QStringList>("dropped"); // names of the user's files, or addresses
    QTest::addColumn<QString>("messages");
    QTest::addColumn<QString>("outcome");
    const auto row = [](const char *name, const char *target, const char *dropped,
                        const char *messages, const char *outcome) {
        QTest::newRow(name) << QString::fromLatin1(target)
                            << QString::fromLatin1(dropped).split(u'|')
                            << QString::fromLatin1(messages) << QString::fromLatin1(outcome);
    };
    row("skin on the editor", "editor", "my skin.ini", "", "loaded");
    row("skin on the skin text", "Text5", "my skin.ini", "", "loaded");
    row("skin on the preview", "preview", "my skin.ini", "", "loaded");
    row("picture on the preview", "preview", "pic.bmp", "", "imported");
    // Dropping is ours: any picture Qt reads, the import button's rules aside.
    row("png imported", "preview", "pic.png", "", "imported");
    row("png cut short", "preview", "cut.png",
        "Cannot load the picture \"{chosen}\": the file ends early; it is damaged|No Picture",
        "nothing");
    row("text refused", "preview", "notes.txt", "Cannot load the picture \"{chosen}\": |No Picture",
        "nothing");
    // "kept": a picture imported before the drop stays the working picture.
    row("text on a picture", "preview", "notes.txt",
        "Cannot load the picture \"{chosen}\": ", "kept");
    row("two files", "editor", "my skin.ini|pic.bmp",
        "2 items were dropped. Drop one file at a time.", "nothing");
    row("folder", "preview", "folder", "\"{chosen}\" is a folder. Drop a file.", "nothing");
    row("web address", "editor", "https://example.org/a.ini",
        "\"https://example.org/a.ini\" is not a file on this", "nothing");
}

// A file dropped on a window is what the window's own open command does with a chosen file.
void tst_preview::drops()
{
    QFETCH(QString, target);
    QFETCH(QStringList, dropped);
    QFETCH(QString, messages);
    QFETCH(QString, outcome);
    Opened s;
    s.outside(u"my skin.ini"_s, "BgColor1 = 0xFF102030\r\n");
    s.outside(u"pic.bmp"_s, encodedPicture(qRgb(7, 8, 9), "BMP"));
    const QByteArray png = encodedPicture(qRgb(7, 8, 9), "PNG");
    s.outside(u"pic.png"_s, png);
    s.outside(u"cut.png"_s, png.left(png.size() - 20));
    s.outside(u"notes.txt"_s, "BgColor1 = 0xFF102030\r\n");
    QDir(s.elsewhere.path()).mkdir(u"folder"_s);
    QList<QUrl> urls;
    for (const QString &name : dropped)
        urls << (name.contains(u':') ? QUrl(name)
                                     : QUrl::fromLocalFile(s.elsewhere.filePath(name)));
    QWidget *on = target == "editor"_L1    ? s.editor.get()
                  : target == "preview"_L1 ? static_cast<QWidget *>(s.preview())
                                           : s.get<QPlainTextEdit>("Text5")->viewport();
    if (outcome == "kept"_L1)
        s.importPicture(s.elsewhere.filePath(u"pic.bmp"_s));
    const auto before = s.folder.contents();

    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter({5, 5}, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(on, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(on, &drop);

    s.verifyBeginnings(s.dialogs.messages, messages, urls.first().toLocalFile());
    QCOMPARE(s.skinText().contains("0xFF102030"_L1), outcome == "loaded"_L1);
    QCOMPARE(s.pictureShown(), outcome == "imported"_L1 || outcome == "kept"_L1);
    if (outcome == "nothing"_L1 || outcome == "kept"_L1)
        QCOMPARE(s.folder.contents(), before);
    // The shared file dialog still opens on nothing, unless the import button filled it.
    s.trigger("loadskin");
    if (outcome != "kept"_L1)
        QCOMPARE(s.dialogs.fileRequests.last().initialFile, QString());
}

void tst_preview::previewImages_data()
{
    QTest::addColumn<int>("scene");
    QTest::addColumn<int>("entry"); // 0 saves, 1 copies
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("messages");
    QTest::newRow("picture scene saved, .png added") << 2 << 0 << u"shot"_s << QString();
    QTest::newRow("picture scene copied") << 2 << 1 << QString() << QString();
    QTest::newRow("no such folder")
        << 1 << 0 << u"gone/shot"_s << u"The preview image was not saved.\r\nCannot "_s;
}

// Right-click a scene, choose from its menu: the image is what the scene shows.
void tst_preview::previewImages()
{
    QFETCH(int, scene);
    QFETCH(int, entry);
    QFETCH(QString, chosen);
    QFETCH(QString, messages);
    Opened s(sceneSkin());
    s.click("Option2");
    s.importPicture(s.outside(u"pic.bmp"_s, encodedPicture(qRgb(7, 8, 9), "BMP")));
    s.dialogs.fileRequests.clear();
    if (scene == 1)
        s.click("Option3");
    QWidget *area = s.inPreview(scene == 1 ? "Picture1" : "Picture2");
    const QImage shown = area->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown.size(), QSize(480, 360));
    QGuiApplication::clipboard()->clear();
    const QString path = chosen.isEmpty() ? QString() : s.elsewhere.filePath(chosen);
    s.dialogs.chosenFiles << path;

    QVERIFY(s.chooseInMenu(area, {100, 100},
                           {entry == 0 ? u"Save Preview Image As..."_s : u"Copy Preview Image"_s}));

    s.verifyBeginnings(s.dialogs.messages, messages);
    QImage result = entry == 0 ? QImage(path + u".png"_s) : QGuiApplication::clipboard()->image();
    if (messages.isEmpty())
        QCOMPARE(result.convertToFormat(QImage::Format_RGB32), shown);
    if (entry == 0)
        QCOMPARE(s.dialogs.fileRequests.first().filter, u"PNG Images (*.png)|*.png"_s);
    QCOMPARE(QDir(s.elsewhere.path()).entryList(QDir::Files).size(),
             1 + (messages.isEmpty() && entry == 0));
    // The skin dialog never opens on the picture imported.
    s.trigger("loadskin");
    QCOMPARE(s.dialogs.fileRequests.last().initialFile, QString());
}

// Figures on hover, hard texts outlined until the next redraw, a readable colour offered
// in the code box, colours from the picture as one undo step, a simulated vision that
// the saved image takes.
void tst_preview::readabilityInTheWindows()
{
    Opened s(factoryWith("TextColor = 0xFFDCE3EE", "TextColor = 0xCC203040"));
    auto *colour = s.inPreview<DrawingArea>("Picture1");
    const QPoint header(60, 48);
    QHelpEvent hover(QEvent::ToolTip, header, colour->mapToGlobal(header));
    QApplication::sendEvent(colour, &hover);
    QCOMPARE(QToolTip::text(), u"\"Text Color\" (TextColor): 1.0:1 on the gradient \u2014 hard to "
                               "read (4.5:1 reads well)"_s);
    QVERIFY(s.chooseInMenu(colour, {5, 5}, {u"Check Readability"_s}));
    s.verifyBeginnings(s.dialogs.messages, u"These texts are hard to read (4.5:1 reads well):\r\n"
                                           "\"Text Color\" (TextColor): 1.0:1 on the gradient"_s);
    QCOMPARE(colour->marks().size(), 3); // the three texts in "Text Color", listed once
    QCOMPARE(s.dialogs.messages.last().count(u"(TextColor)"_s), 1);
    QTest::mouseClick(colour, Qt::LeftButton);
    QCOMPARE(colour->marks().size(), 0);
    // The panel beneath at the lowest opacity that reads, offered; not even 100 % here.
    QVERIFY(s.chooseInMenu(colour, header, {u"Make \"Menu BG\" Opaque Enough"_s}));
    QCOMPARE(s.dialogs.messages.last(),
             u"Not every text on \"Menu BG\" (RectBg) reads well, even at 100 % opacity."_s);
    QVERIFY(s.chooseInMenu(colour, {5, 5}, {u"Check Readability"_s}));
    QVERIFY(!s.chooseInMenu(colour, {5, 5}, {u"Make \"Text Color\" Readable"_s}));
    QVERIFY(s.chooseInMenu(colour, header, {u"Make \"Text Color\" Readable"_s}));
    QCOMPARE(s.get<QComboBox>("Combo1")->currentIndex(), Row::TextColour);
    QVERIFY(s.code()->text().startsWith("0xCC"_L1));
    s.press("Command1");
    QCOMPARE(colour->marks().size(), 0);
    s.dialogs.messages.clear();
    QVERIFY(s.chooseInMenu(colour, {5, 5}, {u"Check Readability"_s}));
    s.verifyBeginnings(s.dialogs.messages, u"All texts read well"_s);
    // Measured as shown: what reads well to most eyes but not to a deuteranope.
    QVERIFY(s.chooseInMenu(colour, {5, 5}, {u"Simulate Colour Vision"_s, u"Deuteranopia"_s}));
    s.dialogs.messages.clear();
    QVERIFY(s.chooseInMenu(colour, {5, 5}, {u"Check Readability"_s}));
    s.verifyBeginnings(s.dialogs.messages, u"These texts are hard to read (4.5:1 reads well):\r\n"
                                           "\"Not Supported Color\" (NotSupported): 4.4:1"_s);
    QVERIFY(!s.dialogs.messages.constLast().contains("with achromatopsia"_L1));
    QVERIFY(s.chooseInMenu(colour, {5, 5}, {u"Simulate Colour Vision"_s, u"Normal"_s}));
    QVERIFY(s.chooseInMenu(colour, header, {u"Make \"Menu BG\" Opaque Enough"_s}));
    QCOMPARE(s.get<QComboBox>("Combo1")->currentIndex(), Row::RectBg);
    QCOMPARE(s.code()->text(), u"0x00223A5E"_s);

    // From the picture: each choice the next suggestion; Ctrl+Z goes back.
    s.click("Option2");
    s.importPicture(s.outside(u"pic.bmp"_s, encodedPicture(qRgb(40, 90, 60), "BMP")));
    auto *picture = s.inPreview<DrawingArea>("Picture2");
    QVERIFY(!s.chooseInMenu(colour, {5, 5}, {u"Colours from Picture"_s}));
    const ColourTable before = s.editor->colours();
    QVERIFY(s.chooseInMenu(picture, {5, 5}, {u"Colours from Picture"_s}));
    const ColourTable first = s.editor->colours();
    QVERIFY(first.at(Row::BgColour1) != before.at(Row::BgColour1));
    QVERIFY(s.folder.read(u"temp.ini"_s).contains(first.at(Row::BgColour1).toLatin1()));
    QVERIFY(s.chooseInMenu(picture, {5, 5}, {u"Colours from Picture"_s}));
    QVERIFY(!(s.editor->colours() == first));
    // The look applied is named by the step, the tooltip and to a screen reader.
    const auto lookTold = [&](const QString &step) {
        QHelpEvent corner(QEvent::ToolTip, {5, 5}, picture->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(picture, &corner);
        const QString text = QAccessible::queryAccessibleInterface(picture)->child(0)->text(
            QAccessible::Description);
        return (step.isEmpty() || QToolTip::text() == step) &&
               (step.isEmpty() ? !text.contains(u"Colours from Picture"_s)
                               : text.endsWith(u'\n' + step));
    };
    QTRY_VERIFY(lookTold(u"Colours from Picture, dark look"_s));
    QApplication::setActiveWindow(s.preview());
    QTest::keyClick(s.preview(), Qt::Key_Z, Qt::ControlModifier);
    QTRY_VERIFY(lookTold(u"Colours from Picture, light look"_s));
    QTest::keyClick(s.preview(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(s.editor->colours(), before);
    QTRY_VERIFY(lookTold(QString()));

    // Seen without colour: shown and saved so, and back again.
    QVERIFY(s.chooseInMenu(picture, {5, 5}, {u"Simulate Colour Vision"_s, u"Achromatopsia"_s}));
    s.dialogs.chosenFiles << s.elsewhere.filePath(u"grey.png"_s);
    QVERIFY(s.chooseInMenu(picture, {5, 5}, {u"Save Preview Image As..."_s}));
    const QImage grey(s.elsewhere.filePath(u"grey.png"_s));
    QCOMPARE(grey.size(), SceneSize);
    for (QPoint p : {QPoint(60, 48), QPoint(200, 200), QPoint(5, 5)})
        QCOMPARE(qRed(grey.pixel(p)), qBlue(grey.pixel(p)));
    QVERIFY(s.chooseInMenu(colour, {5, 5}, {u"Simulate Colour Vision"_s, u"Normal"_s}));
    QCOMPARE(s.checkedInMenu, u"Achromatopsia"_s);
    QCOMPARE(picture->vision(), Vision::Normal);
    QCOMPARE(s.editor->colours(), before);

    // Over a finely textured photograph the hover and Check Readability tell the title's
    // busy background and its lever.
    s.importPicture(VELLOX_PHOTOS "/camera.jpg"_L1);
    const QPoint title(200, 22);
    QHelpEvent overTitle(QEvent::ToolTip, title, picture->mapToGlobal(title));
    QApplication::sendEvent(picture, &overTitle);
    const QRegularExpression busy(
        u"\"Title Color\" \\(TitleColor\\): [^\r\n]*busy background on the picture \\(RMS "
        "contrast [0-9.]+; 0.15 slows reading\\): only the picture itself calms it"_s);
    QVERIFY2(busy.match(QToolTip::text()).hasMatch(), qPrintable(QToolTip::text()));
    s.dialogs.messages.clear();
    QVERIFY(s.chooseInMenu(picture, {5, 5}, {u"Check Readability"_s}));
    QVERIFY2(busy.match(s.dialogs.messages.last()).hasMatch(),
             qPrintable(s.dialogs.messages.last()));
}

void tst_preview::sceneByKeyboard_data()
{
    QTest::addColumn<QString>("keys"); // from the last control; "click" clicks the scene
    // "Picture" shows the picture scene first
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("figure"); // the start of what is spoken of the cursor's text
    const QString title = u"\"Title Color\" (TitleColor): "_s;
    const QString text = u"\"Text Color\" (TextColor): 1.0:1 on the gradient \u2014 hard"_s;
    const QString last = u"\"Bottom Text Color\" (BottomTextColor): 8.5:1 on the gradient"_s;
    QTest::newRow("tab to the first text") << u"Tab"_s << u"Picture1"_s << title;
    QTest::newRow("right to the next") << u"Tab Right"_s << u"Picture1"_s << text;
    QTest::newRow("down to the next") << u"Tab Down"_s << u"Picture1"_s << text;
    QTest::newRow("up back") << u"Tab Down Up"_s << u"Picture1"_s << title;
    QTest::newRow("left of the first") << u"Tab Left"_s << u"Picture1"_s << title;
    QTest::newRow("end") << u"Tab End"_s << u"Picture1"_s << last;
    QTest::newRow("right of the last") << u"Tab End Right"_s << u"Picture1"_s << last;
    QTest::newRow("home") << u"Tab End Home"_s << u"Picture1"_s << title;
    QTest::newRow("clicked: nothing shown") << u"Tab Right click"_s << u"Picture1"_s << text;
    QTest::newRow("picture scene in front") << u"Picture Tab"_s << u"Picture2"_s << title;
    QTest::newRow("back to the controls") << u"Tab Backtab"_s << u"Command2"_s << QString();
    QTest::newRow("clicked, then Shift+Tab")
        << u"Tab click Tab Backtab"_s << u"Picture1"_s << title;
}

// Tab reaches the scene in front after the controls; the keyboard's cursor and focus frame
// show only while the keyboard is used, never in the saved image; Shift+F10 and the Menu
// key open the menu of the cursor's text.
void tst_preview::sceneByKeyboard()
{
    QFETCH(QString, keys);
    QFETCH(QString, figure);
    Opened s(factoryWith("TextColor = 0xFFDCE3EE", "TextColor = 0xCC203040"));
    // The window opens on its first control, as it always did.
    QApplication::setActiveWindow(s.preview());
    QCOMPARE(QApplication::focusWidget(), s.inPreview("Option1"));
    if (keys.startsWith("Picture"_L1))
        s.importPicture(s.outside(u"pic.bmp"_s, encodedPicture(qRgb(7, 8, 9), "BMP")));
    s.inPreview("Command2")->setFocus();
    for (const QString &key : keys.split(u' ')) {
        if (key == "click"_L1)
            QTest::mouseClick(QApplication::focusWidget(), Qt::LeftButton, {}, {470, 350});
        else if (key != "Picture"_L1)
            QTest::keyClick(QApplication::focusWidget(), QKeySequence(key)[0].key());
    }
    auto *scene = qobject_cast<DrawingArea *>(QApplication::focusWidget());
    QTEST(QApplication::focusWidget()->objectName(), "focus");
    if (!scene)
        return;
    const QAccessibleInterface *told =
        QAccessible::queryAccessibleInterface(scene)->child(int(scene->cursorPlace()));
    QVERIFY2(told->text(QAccessible::Description).startsWith(figure),
             qPrintable(told->text(QAccessible::Description)));
    const bool shown = !keys.endsWith("click"_L1);
    QCOMPARE(scene->showsKeyboard(), shown);
    const QColor ring = s.preview()->grab().toImage().pixelColor(7, 7); // by the scenes' corner
    QCOMPARE(ring == s.preview()->palette().color(QPalette::Highlight), shown);
    const QImage saved = scene->shownImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(scene->grab().toImage().convertToFormat(QImage::Format_RGB32) == saved, !shown);
    const auto menuKey = [scene] { QTest::keyClick(scene, Qt::Key_F10, Qt::ShiftModifier); };
    s.dialogs.chosenFiles << s.elsewhere.filePath(u"shot.png"_s);
    QVERIFY(s.chooseInMenu(scene, {}, {u"Save Preview Image As..."_s}, menuKey));
    QCOMPARE(QImage(s.elsewhere.filePath(u"shot.png"_s)).convertToFormat(QImage::Format_RGB32),
             saved);
    // Opened by a key, the menu stands on its first entry, which Enter takes.
    s.dialogs.chosenFiles << s.elsewhere.filePath(u"enter.png"_s);
    QTimer::singleShot(50, [] {
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Return);
        if (QWidget *open = QApplication::activePopupWidget()) // Enter took nothing
            open->close();
    });
    menuKey();
    QVERIFY(QFile::exists(s.elsewhere.filePath(u"enter.png"_s)));
    QContextMenuEvent menu(QContextMenuEvent::Keyboard, {}, {}); // the Menu key, as reported
    QCOMPARE(s.chooseInMenu(scene, {}, {u"Make \"Text Color\" Readable"_s},
                            [&] { QApplication::sendEvent(scene, &menu); }),
             figure.contains("hard"_L1));
}

void tst_preview::sceneWalk_data()
{
    QTest::addColumn<bool>("picture");
    QTest::addColumn<bool>("actual");
    QTest::newRow("colour scene, skinning text") << false << false;
    QTest::newRow("colour scene, actual text") << false << true;
    QTest::newRow("picture scene, skinning text") << true << false;
    QTest::newRow("picture scene, actual text") << true << true;
}

// The arrows walk through every text of the scene in front, as they are read: each next
// one lower down, or on the same line further right; the way back meets the same texts
// the other way round, and at either end the cursor stays.
void tst_preview::sceneWalk()
{
    QFETCH(bool, picture);
    QFETCH(bool, actual);
    Opened s;
    QApplication::setActiveWindow(s.preview());
    if (picture)
        s.importPicture(VELLOX_PHOTOS "/coffee.jpg"_L1);
    if (actual)
        s.click("Option2");
    s.inPreview("Command2")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    auto *scene = qobject_cast<DrawingArea *>(QApplication::focusWidget());
    QVERIFY(scene);
    QCOMPARE(scene->objectName(), picture ? "Picture2"_L1 : "Picture1"_L1);
    // A screen reader sees the scene's texts, and the one under the cursor has the focus.
    QAccessibleInterface *told = QAccessible::queryAccessibleInterface(scene);
    int texts = 0; // the title's shadow sinks in, the section labels are two
    for (int i = 0; i < told->childCount(); ++i)
        texts +=
            told->child(i)->role() == QAccessible::StaticText && !told->child(i)->state().invisible;
    QCOMPARE(texts, 13);
    const auto walk = [scene, told](Qt::Key from, Qt::Key step) {
        QTest::keyClick(scene, from);
        QList<TextReading> seen;
        for (int keys = 0; keys < 30 && scene->cursorText(); ++keys) {
            const TextReading at = *scene->cursorText();
            if (!seen.isEmpty() && seen.last().role == at.role && seen.last().part == at.part)
                break;
            seen << at;
            QAccessibleInterface *focused = told->focusChild();
            if (!focused || told->indexOfChild(focused) < 0 || !focused->state().focused ||
                focused->role() != QAccessible::StaticText ||
                focused->text(QAccessible::Name) != shownLabel(SkinItems[size_t(at.row)]) ||
                !focused->text(QAccessible::Description).startsWith(itemName(at.row)) ||
                focused->rect() != QRect(scene->mapToGlobal(at.box.topLeft()), at.box.size()))
                return QList<TextReading>();
            QTest::keyClick(scene, step);
        }
        return seen;
    };
    const QList<TextReading> forwards = walk(Qt::Key_Home, Qt::Key_Right);
    QCOMPARE(forwards.size(), 13);
    for (qsizetype i = 1; i < forwards.size(); ++i) {
        const QRect a = forwards[i - 1].box, b = forwards[i].box;
        QVERIFY2(b.center().y() > a.bottom() || (b.center().y() >= a.top() && b.left() > a.right()),
                 qPrintable(u"text %1 before text %2"_s.arg(i).arg(i + 1)));
    }
    const auto same = [](const QList<TextReading> &a, const QList<TextReading> &b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](auto &x, auto &y) {
            return x.role == y.role && x.part == y.part && x.box == y.box;
        });
    };
    QVERIFY(same(walk(Qt::Key_Home, Qt::Key_Down), forwards));
    QList<TextReading> backwards = walk(Qt::Key_End, Qt::Key_Left);
    std::reverse(backwards.begin(), backwards.end());
    QVERIFY(same(backwards, forwards));
    backwards = walk(Qt::Key_End, Qt::Key_Up);
    std::reverse(backwards.begin(), backwards.end());
    QVERIFY(same(backwards, forwards));
    // The window is a frame named by its caption.
    const QAccessibleInterface *window = QAccessible::queryAccessibleInterface(s.preview());
    QCOMPARE(window->role(), QAccessible::Window);
    QCOMPARE(window->text(QAccessible::Name), u"Vellox Preview"_s);
}

// Every dialog and message belongs to the window whose command opened it, and a file
// dialog offers only a file of its own kind: a picture's name never for a skin.
void tst_preview::dialogsOfTheirWindow()
{
    Opened s;
    QApplication::setActiveWindow(s.preview());
    auto *colour = s.inPreview<DrawingArea>("Picture1");
    const QString coffee = VELLOX_PHOTOS "/coffee.jpg"_L1;
    const QString png = s.outside(u"shot.png"_s, "\x89PNG\r\n\x1a\n");
    const QString skin = s.elsewhere.filePath(u"mine.ini"_s);
    s.dialogs.chosenFiles << coffee;
    QTest::keyClick(s.inPreview("Command1"), Qt::Key_Space); // import
    s.importPicture(png);                                    // import and refusal
    QVERIFY(s.chooseInMenu(colour, {5, 5}, {u"Check Readability"_s}));
    s.createPackage(u"mine"_s);
    s.dialogs.chosenFiles << s.elsewhere.filePath(u"seen.png"_s);
    QVERIFY(s.chooseInMenu(colour, {5, 5}, {u"Save Preview Image As..."_s}));
    QApplication::setActiveWindow(s.preview());
    QTest::keyClick(s.preview(), Qt::Key_S, Qt::ControlModifier); // the editor's, asked here
    s.dialogs.chosenFiles << skin;
    QTest::keyClick(s.preview(), Qt::Key_S, Qt::ControlModifier);
    s.importPicture(coffee);
    QTest::keyClick(s.preview(), Qt::Key_O, Qt::ControlModifier);
    s.choose(Row::RectBg);
    QTest::keyClick(s.get("Shape1"), Qt::Key_Space);
    const QString preview = u"frmPreview"_s, editor = u"frmMain"_s;
    QCOMPARE(s.dialogs.owners, QStringList(12, preview) << editor);
    QStringList offered;
    for (const ScriptedDialogs::FileRequest &r : std::as_const(s.dialogs.fileRequests))
        offered << QFileInfo(r.initialFile).fileName();
    QCOMPARE(offered, QStringList({u""_s, u"coffee.jpg"_s, u""_s, u""_s, u""_s, u"shot.png"_s,
                                   u"mine.ini"_s}));
}

void tst_preview::chosenOptionShows_data()
{
    QTest::addColumn<bool>("dark");
    QTest::addColumn<qreal>("scale");
    for (bool dark : {false, true})
        for (qreal scale : {1.0, 1.25, 1.5, 2.0})
            QTest::addRow("%s at %g", dark ? "dark" : "light", scale) << dark << scale;
}

// The chosen option differs from the others by a dot of at least 3:1 against its circle,
// in light and dark palettes at every scale.
void tst_preview::chosenOptionShows()
{
    QFETCH(bool, dark);
    QFETCH(qreal, scale);
    FittingStyle style;
    QImage shot[2];
    for (bool chosen : {false, true}) {
        QRadioButton option(u"Actual text"_s);
        option.setStyle(&style);
        option.setPalette(dark ? QPalette(QColor(0x353535)) : style.standardPalette());
        option.setGeometry(0, 0, 81, 13);
        option.setChecked(chosen);
        shot[chosen] = QImage(option.size() * scale, QImage::Format_RGB32);
        shot[chosen].setDevicePixelRatio(scale);
        option.render(&shot[chosen]);
    }
    int clear = 0; // device pixels where the dot differs clearly
    for (int y = 0; y < shot[0].height(); ++y)
        for (int x = 0; x < shot[0].width(); ++x)
            clear += contrastRatio(shot[1].pixel(x, y), shot[0].pixel(x, y)) >= 3;
    // A dot of a third of the circle's width covers a tenth of its square.
    const double circle = style.pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) * scale;
    QVERIFY2(clear * 10 >= circle * circle, qPrintable(QString::number(clear)));
}

QTEST_MAIN(tst_preview)
#include "tst_preview.moc"
