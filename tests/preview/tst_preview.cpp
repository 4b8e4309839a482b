
#include "readability/Readability.h"
#include "readability/SkinSuggestion.h"
#include "readability/SuggestionLooks.h"
#include "readability/TellingApart.h"
#include "scene/Gradient.h"
#include "scene/Scene.h"
#include "scene/SceneRenderer.h"

#include "skin/Conversions.h"
#include "skin/SkinFile.h"
#include "skin/SkinItems.h"
#include "skin/SkinLint.h"

#include "colour/Ciede2000.h"
#include "colour/OkLab.h"
#include "colour/Srgb.h"

#include "platform/FittingStyle.h"
#include "platform/QtColour.h"

#include "common/EditorSession.h"

#include <QAccessible>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QRadioButton>
#include <QToolTip>

#include <cmath>
#include <set>

using namespace Qt::Literals::StringLiterals;

namespace {

// One channel of the blend, worked out in long double on the single-precision opacity
// and rounded half to even by hand.
int blendChannel(int p, int c, float a)
{
    const long double exact = p - static_cast<long double>(a) * (p - c);
    const auto floor = static_cast<int>(std::floor(exact));
    const long double frac = exact - floor;
    return floor + ((frac > 0.5L || (frac == 0.5L && floor % 2 != 0)) ? 1 : 0);
}

QRgb blend(QRgb under, QRgb fill, int percent)
{
    const auto a = static_cast<float>(percent / 100.0);
    return qRgb(blendChannel(qRed(under), qRed(fill), a),
                blendChannel(qGreen(under), qGreen(fill), a),
                blendChannel(qBlue(under), qBlue(fill), a));
}

QByteArray line(const char *key, int opacityByte, QRgb rgb)
{
    return QByteArray(key) + " = 0x" +
           QByteArray::number(quint32(opacityByte) << 24 | (rgb & 0xFFFFFF), 16)
               .rightJustified(8, '0') +
           "\r\n";
}

// Red 0 under the panels' 255 at 30 % gives 76.5 in double precision but 77 with the
// single-precision 0.3 the program blends with.
constexpr QRgb Background = qRgb(0, 200, 90);
constexpr QRgb PanelFill = qRgb(255, 0, 0);     // at 30 %
constexpr QRgb BarFill = qRgb(0, 0, 255);       // at 50 %
constexpr QRgb ChangeFill = qRgb(0, 255, 0);    // at 70 %
constexpr QRgb PopupFill = qRgb(255, 255, 255); // at 60 %
using Layers = QList<QPair<QRgb, int>>;

// Every colour row set: the background uniform, translucent rows at known opacities.
QByteArray sceneSkin()
{
    QByteArray skin;
    for (int row = 0; row < ItemCount; ++row) {
        const SkinItem &item = SkinItems[size_t(row)];
        if (item.isColour())
            skin += line(item.key.data(), 0xFF, qRgb(row, row * 2, row * 3));
    }
    return skin + line("BgColor1", 0xFF, Background) + line("BgColor2", 0xFF, Background) +
           line("RectBg", 0x4C, PanelFill) + line("SelectColor", 0x7F, BarFill) +
           line("ChangeColor", 0xB2, ChangeFill) + line("MenuBgColor", 0x99, PopupFill);
}

} // namespace

Q_DECLARE_METATYPE(Layers)

class tst_preview : public QObject
{
    Q_OBJECT

private slots:
    void compositedScenes_data();
    void compositedScenes();
    void blendedTogetherApart();
    void gradientRows();
    void textColours();
    void workingPictures();
    void packages_data();
    void packages();
    void drops_data();
    void drops();
    void previewImages_data();
    void previewImages();
    void figures_data();
    void figures();
    void readability_data();
    void readability();
    void suggestions_data();
    void suggestions();
    void partsTellApart_data();
    void partsTellApart();
    void medianOfParts();
    void tonesOfTints();
    void partsAsRendered_data();
    void redrawnAsNew_data();
    void redrawnAsNew();
    void glyphsOverAnyPixels();
    void partsAsRendered();
    void busyBackgrounds_data();
    void busyBackgrounds();
    void readabilityInTheWindows();
    void sceneByKeyboard_data();
    void sceneByKeyboard();
    void sceneWalk_data();
    void sceneWalk();
    void dialogsOfTheirWindow();
    void chosenOptionShows_data();
    void chosenOptionShows();
};

void tst_preview::compositedScenes_data()
{
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<Layers>("layers"); // fills laid over the background, in order
    QTest::newRow("left panel") << QPoint(100, 290) << Layers{{PanelFill, 30}};
    QTest::newRow("change-to bar") << QPoint(100, 120) << Layers{{PanelFill, 30}, {ChangeFill, 70}};
    QTest::newRow("left bar") << QPoint(200, 150) << Layers{{PanelFill, 30}, {BarFill, 50}};
    QTest::newRow("pop-up over a panel")
        << QPoint(150, 230) << Layers{{PanelFill, 30}, {PopupFill, 60}};
    QTest::newRow("pop-up over the gap") << QPoint(237, 230) << Layers{{PopupFill, 60}};
    QTest::newRow("panel's last column") << QPoint(235, 300) << Layers{{PanelFill, 30}};
    QTest::newRow("right of the panel") << QPoint(236, 300) << Layers{};
    QTest::newRow("title bar's first row") << QPoint(300, 37) << Layers{{PanelFill, 30}};
    QTest::newRow("above the title bar") << QPoint(300, 36) << Layers{};
}

void tst_preview::compositedScenes()
{
    QFETCH(QPoint, at);
    QFETCH(Layers, layers);
    // Every other column a step greener: a run of one colour a blend takes at once ends there.
    QImage picture(SceneSize, QImage::Format_RGB32);
    for (int x = 0; x < SceneSize.width() * SceneSize.height(); ++x)
        picture.setPixel(x % SceneSize.width(), x / SceneSize.width(), qRgb(200, 40 + x % 2, 160));
    Session s(sceneSkin());
    s.folder.write(u"temp2.bmp"_s, encoded(picture, "BMP"));
    QVERIFY(s.editor->open());
    for (int scene : {1, 2}) {
        QRgb expected = scene == 1 ? Background : picture.pixel(at);
        for (const auto &[fill, percent] : layers)
            expected = blend(expected, fill, percent);
        QCOMPARE(s.scene(scene).pixel(at), expected);
    }
}

// A phase blends all its rectangles over one snapshot, which is sound only while no two
// of them share a pixel.
void tst_preview::blendedTogetherApart()
{
    for (Role a : BlendOrder) {
        for (Role b : BlendOrder)
            QVERIFY2(
                a >= b || layoutOf(a).phase != layoutOf(b).phase ||
                    !pixelRect(layoutOf(a).geometry).intersects(pixelRect(layoutOf(b).geometry)),
                layoutOf(a).name(SceneKind::Colour));
    }
}

void tst_preview::gradientRows()
{
    const QRgb red = qRgb(255, 0, 0), blue = qRgb(0, 0, 255), white = qRgb(255, 255, 255);
    // The difference divided by the height, times the row, plus the start: at half way
    // 127.5 rounds to 128 for red, 127.49999999999999 to 127 for blue; the bottom row is
    // one step short of the end colour.
    for (const auto &[height, top, bottom, y, expected] :
         {std::tuple{100, red, blue, 50, qRgb(128, 0, 127)},
          {360, 0, white, 359, qRgb(254, 254, 254)}}) {
        QImage image(480, height, QImage::Format_RGB32);
        drawGradient(image, fromQRgb(top), fromQRgb(bottom));
        QCOMPARE(image.pixel(479, y), expected);
    }
}

// Each text takes the colour of its own item, in both scenes.
void tst_preview::textColours()
{
    Opened s(sceneSkin());
    // Each text of the colour scene, its twin in the picture scene and its colour item.
    for (const QString &text :
         u"Label1 Label24 9,Label5 Label26 13,Label13 Label4 11,Label9 Label19 10,"
         "Label6 Label22 11,Label12 Label16 22,Label11 Label17 19,Label10 Label18 19,"
         "Label2 Label25 26,Label14 Label15 11,Label8 Label20 29,Label7 Label21 30,"
         "Label3 Label23 12"_s.split(u',')) {
        const QStringList f = text.split(u' ');
        const int row = f[2].toInt();
        for (const char *area : {"Picture1", "Picture2"}) {
            const Scene &scene = s.inPreview<DrawingArea>(area)->scene();
            const QString &name = f[scene.kind() == SceneKind::Colour ? 0 : 1];
            const auto layout =
                std::find_if(sceneLayout().begin(), sceneLayout().end(),
                             [&](const ElementLayout &l) { return name == l.name(scene.kind()); });
            QVERIFY2(layout != sceneLayout().end() && layout->isText(), qPrintable(name));
            QCOMPARE(toQRgb(scene.element(layout->role).textColour), qRgb(row, row * 2, row * 3));
        }
    }
}

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

// A figure is the 5th-percentile contrast, nearest rank: a few stray pixels do not decide
// it, a twentieth of its own luminance does. The best figure is the most any ink reaches.
void tst_preview::figures_data()
{
    QTest::addColumn<int>("black");
    QTest::addColumn<int>("white");
    QTest::addColumn<double>("ink");
    QTest::addColumn<double>("figure");
    QTest::addColumn<double>("best");
    const double grey = std::sqrt(0.05 * 1.05) - 0.05, half = std::sqrt(21.0);
    QTest::newRow("white on black, 4 % white") << 96 << 4 << 1.0 << 21.0 << 21.0;
    QTest::newRow("white on black, 5 % white") << 95 << 5 << 1.0 << 1.0 << half;
    QTest::newRow("half black, half white: a mid grey") << 50 << 50 << grey << half << half;
    QTest::newRow("half and half, white") << 50 << 50 << 1.0 << 1.0 << half;
    QTest::newRow("one black pixel") << 1 << 0 << 0.5 << 11.0 << 21.0;
    QTest::newRow("nothing beneath") << 0 << 0 << 0.5 << 21.0 << 21.0;
}

void tst_preview::figures()
{
    QFETCH(int, black);
    QFETCH(int, white);
    std::vector<double> background(size_t(black), 0.0);
    background.resize(size_t(black + white), 1.0);
    QFETCH(double, ink);
    QTEST(Readability::figure(background, ink), "figure");
    QTEST(Readability::bestFigure(background), "best");
}

// Each text measured as defined: glyph pixels, those that differ when its item alone is
// drawn black and then white in whole scenes, against every other pixel of their box as
// shown, each section label apart. Mended texts read well drawn again, on photographs
// too; a panel that no hue mends reads well at the opacity offered, not one percent less.
void tst_preview::readability_data()
{
    QTest::addColumn<QString>("photo");
    QTest::addColumn<QByteArray>("to"); // in place of the factory's text colour
    QTest::addColumn<int>("hard");      // texts hard to read as drawn, or -1
    QTest::newRow("factory skin") << QString() << "TextColor = 0xFFDCE3EE"_ba << 0;
    QTest::newRow("a dark text on the dark panels")
        << QString() << "TextColor = 0xFF203858"_ba << 3;
    for (const char *photo : {"astronaut", "coffee", "chelsea", "rocket", "hubble_deep_field"})
        QTest::newRow(photo) << QString::fromLatin1(photo) << "TextColor = 0xFFDCE3EE"_ba << -1;
    QTest::newRow("camera, a dark text") << u"camera"_s << "TextColor = 0xFF203858"_ba << -1;
}

void tst_preview::readability()
{
    QFETCH(QString, photo);
    QFETCH(QByteArray, to);
    ColourTable skin;
    readSkinBytes(factoryWith("TextColor = 0xFFDCE3EE", to), skin);
    StillPicture picture(photo.isEmpty() ? QImage()
                                         : QImage(VELLOX_PHOTOS "/"_L1 + photo + ".jpg"_L1));
    const auto scenes =
        photo.isEmpty() ? Readability::Scenes::ColourOnly : Readability::Scenes::Both;
    const auto shown = [&](int row, const char *code) {
        ColourTable table = skin;
        if (row >= 0)
            table.set(row, QString::fromLatin1(code));
        SceneRenderer drawn;
        drawn.redraw(table, picture);
        return std::array{drawn.scene(SceneKind::Colour).shownImage(),
                          drawn.scene(SceneKind::Picture).shownImage()};
    };
    SceneRenderer renderer;
    renderer.redraw(skin, picture);
    const Readability measured(renderer, scenes);
    QFETCH(int, hard);
    QVERIFY(hard < 0 || measured.hardToRead().size() == hard);
    const auto asShown = shown(-1, nullptr);
    QMap<int, std::array<std::array<QImage, 2>, 2>> inks;  // black and white, by item
    QMap<QPair<Role, SceneKind>, QPair<int, int>> covered; // glyph pixels left out, parts
    for (const TextReading &r : measured.readings()) {
        if (!inks.contains(r.row))
            inks[r.row] = {shown(r.row, "0xFF000000"), shown(r.row, "0xFFFFFFFF")};
        const QImage &b = inks[r.row][0][size_t(r.scene)], &w = inks[r.row][1][size_t(r.scene)];
        const auto glyph = [&](int x, int y) { return b.pixel(x, y) != w.pixel(x, y); };
        QRect glyphs;
        std::vector<double> contrasts, luminances;
        for (int y = r.box.top(); y <= r.box.bottom(); ++y)
            for (int x = r.box.left(); x <= r.box.right(); ++x) {
                if (glyph(x, y)) {
                    glyphs |= QRect(x, y, 1, 1);
                    continue;
                }
                luminances.push_back(relativeLuminance(asShown[size_t(r.scene)].pixel(x, y)));
                contrasts.push_back(contrastRatio(relativeLuminance(r.colour), luminances.back()));
            }
        QCOMPARE(glyphs, r.box);
        std::sort(contrasts.begin(), contrasts.end());
        QCOMPARE(r.contrast, contrasts[size_t(std::ceil(0.05 * double(contrasts.size()))) - 1]);
        std::sort(luminances.begin(), luminances.end());
        double brute = 0;
        for (int step = 0; step <= 1000; ++step)
            brute = std::max(brute, Readability::figure(luminances, step / 1000.0));
        QVERIFY(r.best >= brute && r.best < brute * 1.01);
        // Every glyph pixel of an element lies in the box of one of its texts.
        const QRect clip = pixelRect(layoutOf(r.role).geometry) & b.rect();
        for (int y = clip.top(); y <= clip.bottom(); ++y)
            for (int x = clip.left(); x <= clip.right(); ++x)
                covered[{r.role, r.scene}].first +=
                    glyph(x, y) ? int(r.box.contains(x, y)) - int(r.part == 0) : 0;
        ++covered[{r.role, r.scene}].second;
        QVERIFY(measured.reading(r.role, r.scene)->contrast <= r.contrast);
    }
    for (auto it = covered.begin(); it != covered.end(); ++it) // two section labels
        QCOMPARE(it.value(), qMakePair(0, it.key().first == Role::SectionLine ? 2 : 1));
    QCOMPARE(panelBeneath(Role::TitleText), -1);
    QCOMPARE(panelBeneath(Role::PopupUnsupportedRow), Row::MenuBgColour);
    QCOMPARE(panelBeneath(Role::ChangeLine), Row::ChangeColour);

    // Mended: lighter or darker of the same hue, nothing else changed, and read well.
    ColourTable mended = skin;
    const QList<TextFix> fixes = mendTexts(renderer, mended, scenes);
    QList<int> panels;
    for (int row = 0; row < ItemCount; ++row) {
        const auto fix = std::find_if(fixes.begin(), fixes.end(),
                                      [&](const TextFix &f) { return f.row == row; });
        QCOMPARE(mended.at(row), fix == fixes.end() || fix->to.isEmpty() ? skin.at(row) : fix->to);
        if (fix == fixes.end())
            continue;
        const OkLch before = okLchOf(fix->worst.colour),
                    after = okLchOf(QRgb(fix->to.mid(4).toUInt(nullptr, 16)));
        QVERIFY(fix->to.isEmpty() || before.chroma < 0.03 || qAbs(after.hue - before.hue) < 3);
        if (!fix->readsEverywhere && fix->panelRow >= 0 && !panels.contains(fix->panelRow))
            panels << fix->panelRow;
    }
    // What no colour of its hue mends everywhere reads well on the gradient, if any does.
    renderer.redraw(mended, picture);
    for (const TextReading &r : Readability(renderer, scenes).hardToRead())
        QVERIFY2(std::any_of(fixes.begin(), fixes.end(),
                             [&](const TextFix &f) {
                                 return f.row == r.row && !f.readsEverywhere &&
                                        (f.to.isEmpty() || r.scene == SceneKind::Picture);
                             }),
                 qPrintable(itemName(r.row)));
    // The opacity offered, and one percent less, measured anew.
    for (int panel : panels) {
        const std::optional<int> enough =
            opaqueEnough(mended, picture, TextMode::Skinning, panel, scenes);
        const std::optional<Components> c = colourFromCode(mended.at(panel));
        for (int percent : enough ? QList<int>{*enough, *enough - 1} : QList<int>{100}) {
            if (percent < 0)
                continue;
            ColourTable trial = mended;
            trial.set(panel, codeFromColour(std::int16_t(percent), std::uint8_t(c->red),
                                            std::uint8_t(c->green), std::uint8_t(c->blue)));
            renderer.redraw(trial, picture);
            const QList<TextReading> all = Readability(renderer, scenes).readings();
            QCOMPARE(std::all_of(all.begin(), all.end(),
                                 [&](const TextReading &r) {
                                     return r.readsWell() || panelBeneath(r.role) != panel;
                                 }),
                     enough && percent == *enough);
        }
    }
}

void tst_preview::suggestions_data()
{
    QTest::addColumn<QImage>("picture");
    for (const char *photo :
         {"astronaut", "camera", "chelsea", "coffee", "hubble_deep_field", "rocket"})
        QTest::newRow(photo) << QImage(QStringLiteral(VELLOX_PHOTOS "/%1.jpg").arg(photo));
    QTest::newRow("a portrait's face, mirrored: a white title asks a darker muted gradient")
        << QImage(VELLOX_PHOTOS "/astronaut.jpg").copy(80, 0, 320, 240).mirrored(true, false);
    QImage drawn(SceneSize, QImage::Format_RGB32);
    drawn.fill(Qt::white);
    for (int y = 0; y < drawn.height(); ++y)
        std::fill_n(reinterpret_cast<QRgb *>(drawn.scanLine(y)), 240, qRgb(0, 0, 0));
    QTest::newRow("black on the left, white on the right") << drawn;
    drawn.fill(qRgb(10, 14, 40)); // the row above keeps its own copy
    QTest::newRow("a night-blue wallpaper, dark all over") << drawn;
    QTest::newRow("a photograph made grey") << QImage(QStringLiteral(VELLOX_PHOTOS "/coffee.jpg"))
                                                   .convertToFormat(QImage::Format_Grayscale8);
}

// The four looks of a picture. The picture comes first: every text reads well on the
// skin's own gradient, and on the picture wherever some colour does, else as well as any
// grey that reads on its gradient too. A light or dark look's gradient leaves the look's
// tone only as far as a bare text needs. The title's shadow takes the other tone; the
// looks lie apart, and a grey picture's are grey; no two parts to tell apart look alike to
// any vision; the same picture gives the same skins.
void tst_preview::suggestions()
{
    QFETCH(QImage, picture);
    QVERIFY(!picture.isNull());
    StillPicture still(picture);
    const bool grey = picture.allGray();
    // On a picture of one colour some colour reads well wherever a text lies, whatever its
    // shadow: every text does.
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    const bool plain =
        std::all_of(reinterpret_cast<const QRgb *>(rgb.constBits()),
                    reinterpret_cast<const QRgb *>(rgb.constBits()) + rgb.width() * rgb.height(),
                    [&](QRgb p) { return p == rgb.pixel(0, 0); });
    const auto light = [](QRgb c) { return relativeLuminance(c) > std::sqrt(1.05 * 0.05) - 0.05; };
    std::vector<std::vector<OkLab>> looks;
    std::vector<double> barChroma, barsOnPanel;
    for (int variant = 1; variant <= SuggestionCount; ++variant) {
        const ColourTable skin = suggestSkin(still, variant);
        QCOMPARE(suggestSkin(still, variant), skin);
        SceneRenderer renderer;
        renderer.redraw(skin, still);
        const Readability readability(renderer, Readability::Scenes::Both);
        const auto &readings = readability.readings();
        for (qsizetype i = 0; i < readings.size(); ++i) {
            const TextReading &r = readings[i];
            const auto onGradient = std::find_if(readings.begin(), readings.end(), [&](auto &g) {
                return g.role == r.role && g.part == r.part && g.scene == SceneKind::Colour;
            });
            double best = 0;
            for (int grey = 0; grey < 256; ++grey) {
                if (readability.figureIn(onGradient - readings.begin(), qRgb(grey, grey, grey)) >=
                    ReadsWell)
                    best = std::max(best, readability.figureIn(i, qRgb(grey, grey, grey)));
            }
            // A text no colour makes read well on the picture reads about as well as any.
            const double wanted =
                r.scene == SceneKind::Picture && r.best < ReadsWell + 0.1 && !plain
                    ? std::min(best, ReadsWell) - 0.1
                    : ReadsWell;
            QVERIFY2(r.contrast >= wanted,
                     qPrintable(u"look %1: %2 %3 reads %4 of %5"_s.arg(variant)
                                    .arg(layoutOf(r.role).name(r.scene), sceneWords(r.scene))
                                    .arg(r.contrast)
                                    .arg(best)));
        }
        const auto colour = [&](int row) { return QRgb(skin.at(row).toUInt(nullptr, 16)); };
        QVERIFY(light(colour(Row::TitleColour)) != light(colour(Row::Shadow)));
        std::vector<OkLab> items;
        for (int row : SkinFileOrder) {
            items.push_back(okLabOf(colour(row)));
            QVERIFY2(
                !grey || okLchOf(colour(row)).chroma <= 0.02,
                qPrintable(u"look %1: %2 at %3"_s.arg(variant).arg(itemName(row), skin.at(row))));
        }
        // A light, dark or muted look's gradient leaves its tone only as far as a bare text
        // needs: a little back towards the look, one no longer reads on it.
        for (int row : {Row::BgColour1, Row::BgColour2}) {
            const OkLch at = okLchOf(colour(row));
            const double bound = std::array{0.75, 0.35, -1.0, 0.6}[size_t(variant - 1)];
            if (variant == 2 ? at.lightness <= bound : at.lightness >= bound)
                continue;
            ColourTable back = skin;
            const double nearer = at.lightness + (bound - at.lightness) * 0.5;
            const QRgb c = nearestInGamut(
                {std::abs(nearer - at.lightness) < 0.04 ? bound : nearer, at.chroma, at.hue});
            back.set(row, codeFromBytes(0xFF, std::uint8_t(qRed(c)), std::uint8_t(qGreen(c)),
                                        std::uint8_t(qBlue(c))));
            StillPicture none;
            renderer.redraw(back, none);
            const QList<TextReading> bare =
                Readability(renderer, Readability::Scenes::ColourOnly).hardToRead();
            QVERIFY2(std::any_of(bare.begin(), bare.end(),
                                 [](const TextReading &r) { return panelBeneath(r.role) < 0; }),
                     qPrintable(
                         u"look %1, gradient %2 at %3"_s.arg(variant).arg(row).arg(at.lightness)));
        }
        renderer.redraw(skin, still);
        for (const PartsCompared &p : compareParts(renderer, Readability::Scenes::Both))
            QVERIFY2(!p.looksAlike(), qPrintable(u"look %1: "_s.arg(variant) + lookAlikeText(p)));
        if (variant == 4)
            QVERIFY(std::all_of(items.begin(), items.end(),
                                [](const OkLab &c) { return std::hypot(c.a, c.b) <= 0.04; }));
        double chroma = 0;
        for (int row : {Row::RectBg, Row::MenuBgColour, Row::SelectColour, Row::ChangeColour})
            chroma += okLchOf(colour(row)).chroma;
        barChroma.push_back(chroma);
        barsOnPanel.push_back(std::abs(okLabOf(colour(Row::SelectColour)).lightness -
                                       okLabOf(colour(Row::RectBg)).lightness));
        looks.push_back(items);
    }
    // The vivid look is the most colourful; on a grey picture, the most contrasted.
    const std::vector<double> &vivid = grey ? barsOnPanel : barChroma;
    QCOMPARE(std::max_element(vivid.begin(), vivid.end()) - vivid.begin(), 2);
    for (size_t a = 0; a < looks.size(); ++a) {
        for (size_t b = a + 1; b < looks.size(); ++b) {
            double sum = 0;
            for (size_t i = 0; i < looks[a].size(); ++i)
                sum += std::hypot(looks[a][i].lightness - looks[b][i].lightness,
                                  looks[a][i].a - looks[b][i].a, looks[a][i].b - looks[b][i].b);
            const double mean = sum / double(looks[a].size());
            QVERIFY2(mean >= 0.08,
                     qPrintable(u"looks %1 and %2: %3"_s.arg(a + 1).arg(b + 1).arg(mean)));
        }
    }
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

// A pair of parts differs as their colours as drawn, seen with each vision, differ: the
// bars' fills where opaque, the texts' colours on their glyphs. A bar blended faintly
// differs from one of the same colour laid on opaque.
void tst_preview::partsTellApart_data()
{
    QTest::addColumn<QByteArray>("lines");
    QTest::addColumn<int>("pair");
    QTest::addColumn<QRgb>("first"); // as the parts show; black: not known
    QTest::addColumn<QRgb>("second");
    const auto row = [](const char *name, int pair, const char *firstKey, QRgb first,
                        const char *secondKey, int opacity, QRgb second) {
        QTest::newRow(name) << line(firstKey, 0xFF, first) + line(secondKey, opacity, second)
                            << pair << first << (opacity == 0xFF ? second : QRgb(0));
    };
    row("red and olive bars", 0, "SelectColor", 0xB4463C, "ChangeColor", 0xFF, 0x7D7832);
    row("a faint bar", 0, "SelectColor", 0x4060A0, "ChangeColor", 0x10, 0x4060A0);
    row("list texts alike", 1, "TextColor", 0xE0C040, "NotSupported", 0xFF, 0xE0C040);
    row("selected text and title", 2, "MenuSelectedColor", 0xFFFFFF, "MenuTitleColor", 0xFF,
        0x101010);
}

void tst_preview::partsTellApart()
{
    QFETCH(QByteArray, lines);
    QFETCH(int, pair);
    QFETCH(QRgb, first);
    QFETCH(QRgb, second);
    ColourTable table;
    readSkinBytes(ProgramFolder::factorySkin() + lines, table);
    SceneRenderer renderer;
    StillPicture none;
    renderer.redraw(table, none);
    const std::array<Role, 2> parts = PartsToTellApart[size_t(pair)];
    QList<PartsCompared> found = compareParts(renderer, Readability::Scenes::ColourOnly);
    found.removeIf(
        [&](const PartsCompared &c) { return c.first != parts[0] || c.second != parts[1]; });
    QCOMPARE(size_t(found.size()), std::size(Visions));
    for (qsizetype i = 0; i < found.size(); ++i) {
        const PartsCompared &c = found[i];
        QCOMPARE(c.vision, Visions[size_t(i)]);
        const double expected = ciede2000(simulateVision(first | 0xFF000000, c.vision),
                                          simulateVision(second | 0xFF000000, c.vision));
        if (second == 0)
            QVERIFY(c.vision != Vision::Normal || !c.looksAlike());
        else
            QVERIFY2(qAbs(c.difference - expected) < 1 && c.looksAlike() == (expected < TellsApart),
                     qPrintable(lookAlikeText(c) + u" %1"_s.arg(expected)));
    }
}

// Each channel apart, the middle value, the upper of two.
void tst_preview::medianOfParts()
{
    for (const auto &[pixels, median] : {std::pair{QList<QRgb>{9, 0, 5}, 5u},
                                         {{0, 9, 3, 5}, 5u},
                                         {{0x090005, 0x000905, 0x050500}, 0x050505u}}) {
        QImage line(int(pixels.size()), 1, QImage::Format_RGB32);
        std::copy(pixels.begin(), pixels.end(), reinterpret_cast<QRgb *>(line.bits()));
        QCOMPARE(medianColour(line) & 0xFFFFFF, median);
    }
}

// A tint's tones are its own, whichever tints were asked after before.
void tst_preview::tonesOfTints()
{
    for (const OkLch &tint : {OkLch{0.5, 0.1, 30}, {0.5, 0.02, 30}, {0.5, 0.1, 200}, {0, 0.1, 30}})
        for (int step : {0, 420, 1000})
            QCOMPARE(tonesOf(tint)[size_t(step)],
                     nearestInGamut({step / 1000.0, tint.chroma, tint.hue}));
}

namespace {

// The pixels of one scene of `table` that change when the colour of each of `rows` goes
// from black to white, by how much the most changed channel of each changes.
std::map<int, QList<QPoint>> changedBy(const ColourTable &table, BackgroundPicture &picture,
                                       SceneKind kind, QRect box, const std::set<int> &rows)
{
    QImage drawn[2];
    for (int white : {0, 1}) {
        ColourTable changed = table;
        for (int row : rows)
            changed.set(row, table.at(row).left(4) + (white ? "FFFFFF"_L1 : "000000"_L1));
        SceneRenderer renderer;
        renderer.redraw(changed, picture);
        drawn[white] = renderer.scene(kind).shownImage();
    }
    std::map<int, QList<QPoint>> byChange;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            const QRgb b = drawn[0].pixel(x, y), w = drawn[1].pixel(x, y);
            const int change =
                std::max({qRed(w) - qRed(b), qGreen(w) - qGreen(b), qBlue(w) - qBlue(b), 0});
            if (change > 0)
                byChange[change] << QPoint(x, y);
        }
    }
    return byChange;
}

// Where a part shows in one scene of `table`: a text where its colour changes the scene
// most (its glyphs' edges are blends with what lies beneath), a bar where its fill changes
// the scene and no text or outline does.
QList<QPoint> shownPixels(const ColourTable &table, BackgroundPicture &picture, SceneKind kind,
                          Role role)
{
    const ElementLayout &layout = layoutOf(role);
    SceneRenderer renderer;
    renderer.redraw(table, picture);
    const QRect box = pixelRect(renderer.scene(kind).element(role).box) & QRect({}, SceneSize);
    const auto part =
        changedBy(table, picture, kind, box, {layout.isText() ? layout.textRow : layout.fillRow});
    QList<QPoint> pixels;
    if (layout.isText()) {
        const int most = part.empty() ? 0 : std::min(part.rbegin()->first, 250);
        for (auto it = part.lower_bound(std::max(most, 1)); it != part.end(); ++it)
            pixels += it->second;
        return pixels;
    }
    std::set<int> over;
    for (const ElementLayout &e : sceneLayout())
        over.insert(e.isText() ? e.textRow : e.outlineRow);
    std::set<QPoint, bool (*)(QPoint, QPoint)> covered(
        [](QPoint a, QPoint b) { return std::pair(a.y(), a.x()) < std::pair(b.y(), b.x()); });
    for (const auto &[change, points] : changedBy(table, picture, kind, box, over))
        covered.insert(points.begin(), points.end());
    for (const auto &[change, points] : part)
        for (QPoint p : points)
            if (!covered.contains(p))
                pixels << p;
    return pixels;
}

QRgb medianAt(const QImage &image, const QList<QPoint> &pixels)
{
    int median[3];
    for (int shift : {16, 8, 0}) {
        std::vector<int> channel;
        for (QPoint p : pixels)
            channel.push_back(int(image.pixel(p) >> shift) & 0xFF);
        std::nth_element(channel.begin(), channel.begin() + channel.size() / 2, channel.end());
        median[2 - shift / 8] = channel[channel.size() / 2];
    }
    return qRgb(median[0], median[1], median[2]);
}

} // namespace

// The figure of each pair agrees with the scenes as a viewer sees them (the scene image
// as --render --vision writes it) where the two parts differ least, each part's colour
// the median of the pixels where it shows. Real photographs, skins made for them.
void tst_preview::partsAsRendered_data()
{
    QTest::addColumn<QString>("photo");
    QTest::addColumn<int>("look"); // a suggestion for the photo; 0 the factory skin, -1 mended
    QTest::addColumn<double>("severity");
    QTest::newRow("factory skin over the coffee") << u"coffee"_s << 0 << 0.6;
    QTest::newRow("factory skin mended over the camera") << u"camera"_s << -1 << 0.6;
    QTest::newRow("factory skin mended over the cat, 0.35") << u"chelsea"_s << -1 << 0.35;
    QTest::newRow("light look over the astronaut") << u"astronaut"_s << 1 << 0.6;
    QTest::newRow("dark look over the star field") << u"hubble_deep_field"_s << 2 << 0.1;
    QTest::newRow("vivid look over the rocket, 0.35") << u"rocket"_s << 3 << 0.35;
    QTest::newRow("muted look over the coffee, 0.9") << u"coffee"_s << 4 << 0.9;
}

void tst_preview::partsAsRendered()
{
    QFETCH(QString, photo);
    QFETCH(int, look);
    QFETCH(double, severity);
    StillPicture picture(QImage(VELLOX_PHOTOS "/"_L1 + photo + ".jpg"_L1));
    ColourTable table;
    if (look > 0) {
        table = suggestSkin(picture, look);
    } else {
        readSkinBytes(ProgramFolder::factorySkin(), table);
        SceneRenderer before;
        before.redraw(table, picture);
        if (look < 0)
            mendTexts(before, table, Readability::Scenes::Both);
    }
    SceneRenderer renderer;
    renderer.redraw(table, picture);
    const QList<PartsCompared> found =
        compareParts(renderer, Readability::Scenes::Both, Visions, severity);
    QCOMPARE(size_t(found.size()), std::size(Visions) * PartsToTellApart.size());
    std::map<std::pair<SceneKind, Role>, QList<QPoint>> where;
    for (SceneKind kind : {SceneKind::Colour, SceneKind::Picture})
        for (const auto &pair : PartsToTellApart)
            for (Role role : pair)
                where[{kind, role}] = shownPixels(table, picture, kind, role);
    for (const PartsCompared &c : found) {
        double least = 1000;
        for (SceneKind kind : {SceneKind::Colour, SceneKind::Picture}) {
            const QList<QPoint> &first = where[{kind, c.first}], &second = where[{kind, c.second}];
            if (first.isEmpty() || second.isEmpty())
                continue;
            QImage seen = renderer.scene(kind).shownImage();
            simulateVision(seen, c.vision, severity);
            least = std::min(least, ciede2000(medianAt(seen, first), medianAt(seen, second)));
        }
        QVERIFY2(qAbs(c.difference - least) <= 0.5,
                 qPrintable(lookAlikeText(c) + u"; drawn: %1"_s.arg(least)));
    }
}

// A renderer that drew and measured one skin draws and measures the next as a new one does:
// what it keeps to spare work (the panels beneath the bars, drawings within a box, parts
// seen under each vision) never stands in for what changed.
// A text's glyph pixels are kept by its place and words alone: they must not turn on the
// pixels beneath, which holds as long as Qt blends a glyph's coverage in proportion.
void tst_preview::glyphsOverAnyPixels()
{
    const QImage coffee = QImage(VELLOX_PHOTOS "/coffee.jpg"_L1)
                              .scaled(SceneSize)
                              .convertToFormat(QImage::Format_RGB32);
    std::vector<std::vector<char>> first;
    for (const QImage &beneath : {QImage(), coffee}) {
        Scene scene(SceneKind::Picture);
        if (!beneath.isNull())
            scene.draw([&](QImage &image) { image = beneath; });
        size_t i = 0;
        for (const ElementLayout &e : sceneLayout()) {
            if (!e.isText() || e.role == Role::TitleShadow)
                continue;
            scene.setText(e.role, e.text(TextMode::Skinning), e.box(TextMode::Skinning));
            const std::vector<char> glyphs = scene.glyphsWithin(pixelRect(e.geometry), e.role);
            if (first.size() <= i)
                first.push_back(glyphs);
            else
                QVERIFY2(glyphs == first[i], qPrintable(QString::fromLatin1(e.names[0])));
            ++i;
        }
    }
}

void tst_preview::redrawnAsNew_data()
{
    QTest::addColumn<int>("row"); // the item changed; -1 the picture, -2 the scene image taken,
    QTest::addColumn<QString>("code"); // -3 the texts
    QTest::newRow("a bar's colour") << Row::ChangeColour << u"0xFF2040E0"_s;
    QTest::newRow("a bar's opacity") << Row::SelectColour << u"0x40FFFFFF"_s;
    QTest::newRow("the panels' opacity") << Row::RectBg << u"0x10223A5E"_s;
    QTest::newRow("the gradient's top") << Row::BgColour1 << u"0xFF00FF00"_s;
    QTest::newRow("the title's shadow, over the title") << Row::Shadow << u"0xB2FFFFFF"_s;
    QTest::newRow("the picture") << -1 << QString();
    QTest::newRow("the scene image taken away") << -2 << QString();
    QTest::newRow("the texts, actual for skinning") << -3 << QString();
}

void tst_preview::redrawnAsNew()
{
    QFETCH(int, row);
    QFETCH(QString, code);
    ColourTable table;
    readSkinBytes(ProgramFolder::factorySkin(), table);
    StillPicture coffee(QImage(VELLOX_PHOTOS "/coffee.jpg"_L1)),
        rocket(QImage(VELLOX_PHOTOS "/rocket.jpg"_L1));
    SceneRenderer kept, fresh, measured;
    measured.setExtent(SceneRenderer::Extent::TextsAndBars);
    PartsSeen seen;
    // Both scenes, each element within its box, how far apart each pair of parts looks and
    // how the texts read; drawn only where texts and bars lie, those alone.
    using Extent = SceneRenderer::Extent;
    const auto drawn = [&](SceneRenderer &r, double severity, PartsSeen *parts, Extent extent) {
        QList<QImage> images;
        if (extent == Extent::Whole)
            images << r.scene(SceneKind::Colour).shownImage()
                   << r.scene(SceneKind::Picture).shownImage();
        for (const ElementLayout &e : sceneLayout())
            for (const Scene *scene : {&r.scene(SceneKind::Colour), &r.scene(SceneKind::Picture)})
                if (extent == Extent::Whole || e.isText() || e.phase == BlendPhase::OverPanels)
                    images << scene->shownWithin(pixelRect(scene->element(e.role).box), e.role,
                                                 Qt::black);
        QList<double> figures;
        for (const PartsCompared &c : compareParts(r, Readability::Scenes::Both, Visions, severity,
                                                   PartsToTellApart, -1, parts))
            figures << c.difference;
        const Readability read(r, Readability::Scenes::Both);
        for (const TextReading &t : read.readings())
            figures << t.contrast << t.busy;
        return std::pair(images, figures);
    };
    for (SceneRenderer *r : {&kept, &measured}) {
        r->redraw(table, coffee);
        drawn(*r, DefaultSeverity, &seen, Extent::TextsAndBars);
    }
    if (row >= 0)
        table.set(row, code);
    if (row == -2)
        kept.takeShownImage(SceneKind::Picture);
    for (SceneRenderer *r : {&kept, &fresh, &measured}) {
        r->setTextMode(row == -3 ? TextMode::Actual : TextMode::Skinning);
        r->redraw(table, row == -1 ? rocket : coffee);
    }
    QVERIFY(drawn(kept, 0.35, &seen, Extent::Whole) == drawn(fresh, 0.35, nullptr, Extent::Whole));
    QVERIFY(drawn(measured, 0.35, nullptr, Extent::TextsAndBars) ==
            drawn(fresh, 0.35, nullptr, Extent::TextsAndBars));
    // Drawn whole again, the parts left out before are drawn too.
    measured.setExtent(Extent::Whole);
    measured.redraw(table, row == -1 ? rocket : coffee);
    QVERIFY(drawn(measured, 0.35, nullptr, Extent::Whole) ==
            drawn(fresh, 0.35, nullptr, Extent::Whole));
}

// How busy a text's background is: the RMS contrast of the luminances of its glyph box
// where neither it nor the title's shadow changes the scene. On smooth gradients and
// plain colours nothing is busy, the title's own shadow included; over photographs the
// figure agrees with the scene as drawn.
void tst_preview::busyBackgrounds_data()
{
    QTest::addColumn<QString>("photo"); // empty: the gradient alone
    QTest::addColumn<QByteArray>("lines");
    QTest::addColumn<bool>("titleBusy");
    const QByteArray shadowed = line("TitleColor", 0xFF, 0xFFFFFF) + line("Shadow", 0xFF, 0);
    QTest::newRow("shadowed title on a plain colour")
        << QString()
        << shadowed + line("BgColor1", 0xFF, 0x808080) + line("BgColor2", 0xFF, 0x808080) << false;
    QTest::newRow("factory gradient") << QString() << QByteArray() << false;
    QTest::newRow("shadowed title over the camera") << u"camera"_s << shadowed << true;
    QTest::newRow("factory skin over the star field")
        << u"hubble_deep_field"_s << QByteArray() << true;
    QTest::newRow("factory skin over the coffee") << u"coffee"_s << QByteArray() << true;
}

void tst_preview::busyBackgrounds()
{
    QFETCH(QString, photo);
    QFETCH(QByteArray, lines);
    QFETCH(bool, titleBusy);
    StillPicture picture(photo.isEmpty() ? QImage()
                                         : QImage(VELLOX_PHOTOS "/"_L1 + photo + ".jpg"_L1));
    ColourTable table;
    readSkinBytes(ProgramFolder::factorySkin() + lines, table);
    SceneRenderer renderer;
    renderer.redraw(table, picture);
    const Readability readability(renderer, photo.isEmpty() ? Readability::Scenes::ColourOnly
                                                            : Readability::Scenes::Both);
    for (const TextReading &r : readability.readings()) {
        if (r.scene == SceneKind::Colour) {
            QVERIFY2(!r.overBusy(), qPrintable(busyWords(r)));
            continue;
        }
        std::set<int> rows{r.row};
        if (r.role == Role::TitleText)
            rows.insert(Row::Shadow);
        const auto changed = changedBy(table, picture, r.scene, r.box, rows);
        std::vector<double> beneath;
        const QImage shown = renderer.scene(r.scene).shownImage();
        for (int y = r.box.top(); y <= r.box.bottom(); ++y)
            for (int x = r.box.left(); x <= r.box.right(); ++x)
                if (std::none_of(changed.begin(), changed.end(),
                                 [&](auto &c) { return c.second.contains(QPoint(x, y)); }))
                    beneath.push_back(relativeLuminance(shown.pixel(x, y)));
        double mean = 0, spread = 0;
        for (double l : beneath)
            mean += l / double(beneath.size());
        for (double l : beneath)
            spread += (l - mean) * (l - mean) / double(beneath.size());
        QVERIFY2(qAbs(r.busy - std::sqrt(spread) / mean) < 1e-9,
                 qPrintable(u"%1: %2 drawn %3"_s.arg(itemName(r.row))
                                .arg(r.busy)
                                .arg(std::sqrt(spread) / mean)));
        if (r.role == Role::TitleText)
            QCOMPARE(r.overBusy(), titleBusy);
    }
    const TextReading *title = readability.reading(Role::TitleText, SceneKind::Colour);
    QVERIFY(title && title->busy < 0.05);
    // A panel opaque enough over a busy picture calms what lies beneath its texts, one
    // percent less does not, or reads no more; where no opacity calms them, they read.
    for (int panel : {Row::RectBg, Row::MenuBgColour, Row::ChangeColour}) {
        const std::optional<int> enough =
            opaqueEnough(table, picture, TextMode::Skinning, panel, Readability::Scenes::Both,
                         false, 0, PanelAim::ReadingCalmly);
        const std::optional<Components> c = colourFromCode(table.at(panel));
        const auto fares = [&](int percent) {
            ColourTable trial = table;
            trial.set(panel, codeFromColour(std::int16_t(percent), std::uint8_t(c->red),
                                            std::uint8_t(c->green), std::uint8_t(c->blue)));
            renderer.redraw(trial, picture);
            bool reads = true, calm = true;
            const Readability read(renderer, Readability::Scenes::Both);
            for (const TextReading &r : read.readings())
                if (panelBeneath(r.role) == panel)
                    reads = reads && r.readsWell(), calm = calm && !r.overBusy();
            return std::pair(reads, calm);
        };
        if (!enough) {
            QVERIFY(!fares(100).first);
            continue;
        }
        const auto [reads, calm] = fares(*enough);
        QVERIFY(reads);
        if (calm && *enough > 0)
            QVERIFY(fares(*enough - 1) != std::pair(true, true));
        for (int percent = *enough; !calm && percent <= 100; ++percent)
            QVERIFY(fares(percent) != std::pair(true, true));
    }
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
}

// Tab reaches the scene in front after the controls; the keyboard's cursor and focus frame
// show only while the keyboard is used, never in the saved image; Shift+F10 and the Menu
// key open the menu of the cursor's text.
void tst_preview::sceneByKeyboard()
{
    QFETCH(QString, keys);
    QFETCH(QString, focus);
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
    QCOMPARE(QApplication::focusWidget()->objectName(), focus);
    if (!scene)
        return;
    const QAccessibleInterface *told =
        QAccessible::queryAccessibleInterface(scene)->child(int(scene->cursorPlace()));
    QVERIFY2(told->text(QAccessible::Description).startsWith(figure),
             qPrintable(told->text(QAccessible::Description)));
    const bool shown = !keys.contains("click"_L1);
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
