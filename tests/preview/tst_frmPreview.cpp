#include "preview/DrawingArea.h"
#include "preview/GDI.h"
#include "preview/Gradient.h"
#include "preview/SceneElements.h"
#include "preview/frmPreview.h"

#include "skin/ColourTable.h"
#include "skin/SkinItems.h"

#include "common/ProgramFolder.h"
#include "common/ScriptedDialogs.h"

#include "platform/Error.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>

#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString NoPicture =
    u"No Picture loaded. Please import picture before choosing this option."_s;
const QString PngRefused =
    u"Sorry! .png's aren't supported yet for preview. Try saving as .bmp or .jpg."_s;

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

DisplayColor display(QRgb c)
{
    return qRed(c) + qGreen(c) * 256 + qBlue(c) * 65536;
}

QString code(int opacityByte, QRgb rgb)
{
    return u"0x%1%2"_s.arg(opacityByte, 2, 16, QLatin1Char('0'))
        .arg(rgb & 0xFFFFFF, 6, 16, QLatin1Char('0'));
}

constexpr QRgb Background = qRgb(10, 200, 90);
constexpr QRgb PanelFill = qRgb(255, 0, 0);     // at 30 %
constexpr QRgb BarFill = qRgb(0, 0, 255);       // at 50 %
constexpr QRgb ChangeFill = qRgb(0, 255, 0);    // at 70 %
constexpr QRgb PopupFill = qRgb(255, 255, 255); // at 60 %
using Layers = QList<QPair<QRgb, int>>;

// Every colour row set: the background uniform, translucent rows at known opacities.
ColourTable sceneColors()
{
    ColourTable t;
    for (int row = 0; row < ItemCount; ++row) {
        if (SkinItems[size_t(row)].isColour())
            t.set(row, code(0xFF, qRgb(row, row * 2, row * 3)));
    }
    t.set(Row::BgColour1, code(0xFF, Background));
    t.set(Row::BgColour2, code(0xFF, Background));
    t.set(Row::RectBg, code(0x4C, PanelFill));
    t.set(Row::SelectColour, code(0x7F, BarFill));
    t.set(Row::ChangeColour, code(0xB2, ChangeFill));
    t.set(Row::MenuBgColour, code(0x99, PopupFill));
    return t;
}

class Preview
{
public:
    Preview() : CD(dialogs)
    {
        window = new frmPreview(folder.dir(), {colors, [this] { return skinText; }}, CD, dialogs);
        guard = window;
    }
    ~Preview() { delete guard.data(); }
    Preview &open()
    {
        window->Form_Load();
        return *this;
    }

    template <typename T = QWidget> T *get(const char *name) const
    {
        T *w = window->findChild<T *>(QLatin1String(name));
        if (!w)
            qFatal("no child %s", name);
        return w;
    }
    const QImage &scene(int n) const
    {
        return get<DrawingArea>(n == 1 ? "Picture1" : "Picture2")->image();
    }
    QRgb pixel(int n, int x, int y) const { return scene(n).pixel(x, y); }
    bool pictureShown() const { return get("Picture2")->isVisibleTo(window); }
    void click(const char *name) const
    {
        QTest::mouseClick(get<QAbstractButton>(name), Qt::LeftButton);
    }
    void importFile(const QString &path)
    {
        dialogs.chosenFiles << path;
        click("Command1");
    }
    QString outside(const QString &name, const QByteArray &bytes)
    {
        QFile f(elsewhere.filePath(name));
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            qFatal("cannot write");
        return f.fileName();
    }
    void createPackage(const QString &name)
    {
        get<QLineEdit>("Text1")->setText(name);
        click("Command2");
    }

    ProgramFolder folder{ProgramFolder::Content::Empty};
    QTemporaryDir elsewhere;
    ScriptedDialogs dialogs;
    ColourTable colors = sceneColors();
    QString skinText = u"BgColor1 = 0xff000000\r\nRectBg = 0x7f102030"_s;
    CommonDialog CD;
    frmPreview *window;
    QPointer<frmPreview> guard;
};

const QByteArray PlainSkin = "BgColor1 = 0xff000000\r\nRectBg = 0x7f102030\r\n\r\n"
                             "Zantho Skin created with Vellox v1.6.1 Beta 1\r\n";
const QByteArray SkinWithBackground =
    "BgColor1 = 0xff000000\r\nRectBg = 0x7f102030\r\nbackground = "
    "background.bmp\r\n\r\nZantho Skin created with Vellox v1.6.1 Beta 1\r\n";

} // namespace

Q_DECLARE_METATYPE(Layers)
Q_DECLARE_METATYPE(Dialogs::Answer)

class tst_frmPreview : public QObject
{
    Q_OBJECT

private slots:
    void blendPixels_data();
    void blendPixels();
    void gradientRows_data();
    void gradientRows();
    void textModes();
    void compositedScenes_data();
    void compositedScenes();
    void redrawIsRepeatable();
    void failingRowsLeaveWhatWasDrawn();
    void pictureBackgroundSwitch();
    void imports_data();
    void imports();
    void packageContents_data();
    void packageContents();
    void packageReplaced_data();
    void packageReplaced();
};

void tst_frmPreview::blendPixels_data()
{
    QTest::addColumn<QRgb>("under");
    QTest::addColumn<QRgb>("fill");
    QTest::addColumn<float>("a");
    QTest::addColumn<QRgb>("result");
    QTest::newRow("0 % keeps the background")
        << qRgb(77, 1, 2) << qRgb(255, 255, 255) << 0.0f << qRgb(77, 1, 2);
    QTest::newRow("100 % is the fill") << qRgb(77, 1, 2) << qRgb(3, 4, 5) << 1.0f << qRgb(3, 4, 5);
    QTest::newRow("50 % ties: 128, 128, 0")
        << qRgb(0, 255, 1) << qRgb(255, 0, 0) << 0.5f << qRgb(128, 128, 0);
    QTest::newRow("50 %, 0 over 3 gives 2")
        << qRgb(3, 3, 3) << qRgb(0, 0, 0) << 0.5f << qRgb(2, 2, 2);
    QTest::newRow("whole pixel") << qRgb(0, 0, 255) << qRgb(255, 128, 0) << 0.5f
                                 << qRgb(128, 64, 128);
    QTest::newRow("30 % is the single 0.3: 77")
        << qRgb(0, 0, 0) << qRgb(255, 255, 255) << 0.3f << qRgb(77, 77, 77);
}

void tst_frmPreview::blendPixels()
{
    QFETCH(QRgb, under);
    QFETCH(QRgb, fill);
    QFETCH(float, a);
    QFETCH(QRgb, result);
    QImage source(4, 3, QImage::Format_RGB32);
    source.fill(under);
    QCOMPARE(blend(under, fill, qRound(a * 100)), result);
    // A rectangle reaching past the source reads white there.
    const QImage out = GDI::BlendBitmap(source, display(fill), 1, 1, 4, 3, a);
    QCOMPARE(out.pixel(2, 1), result);
    QCOMPARE(out.pixel(3, 2), blend(qRgb(255, 255, 255), fill, qRound(a * 100)));
    QImage target(4, 3, QImage::Format_RGB32);
    target.fill(Qt::black);
    GDI::DrawBitmap(target, out, 2, 1, 4, 3);
    QCOMPARE(target.pixel(3, 1), result);
    QCOMPARE(target.pixel(1, 1), qRgb(0, 0, 0));
}

void tst_frmPreview::gradientRows_data()
{
    QTest::addColumn<int>("height");
    QTest::addColumn<QRgb>("start");
    QTest::addColumn<QRgb>("end");
    QTest::addColumn<int>("row");
    QTest::addColumn<QRgb>("color");
    QTest::newRow("row 0 is the start")
        << 360 << qRgb(1, 2, 3) << qRgb(255, 255, 255) << 0 << qRgb(1, 2, 3);
    QTest::newRow("black to white stops at 254")
        << 360 << qRgb(0, 0, 0) << qRgb(255, 255, 255) << 359 << qRgb(254, 254, 254);
    QTest::newRow("red to blue, 50 of 100")
        << 100 << qRgb(255, 0, 0) << qRgb(0, 0, 255) << 50 << qRgb(128, 0, 127);
    QTest::newRow("red to blue, 1 of 100")
        << 100 << qRgb(255, 0, 0) << qRgb(0, 0, 255) << 1 << qRgb(252, 0, 3);
    QTest::newRow("equal ends") << 360 << qRgb(0, 255, 128) << qRgb(0, 255, 128) << 200
                                << qRgb(0, 255, 128);
}

void tst_frmPreview::gradientRows()
{
    QFETCH(int, height);
    QFETCH(QRgb, start);
    QFETCH(QRgb, end);
    QFETCH(int, row);
    QFETCH(QRgb, color);
    QWidget holder;
    auto *area = new DrawingArea("area", &holder, QSize(7, height));
    area->beginDrawing().fill(Qt::magenta);
    Gradient(area, display(start), display(end));
    for (int x = 0; x < 7; ++x)
        QCOMPARE(area->image().pixel(x, row), color);
    QVERIFY(area->image().pixel(6, height - 1) != qRgb(255, 0, 255)); // every row drawn
    const ColorParts parts = SplitColor(display(start));
    QCOMPARE(qRgb(parts.Red, parts.Green, parts.Blue), start);
}

void tst_frmPreview::textModes()
{
    Preview p;
    p.open();
    const auto text = [&](const char *name) { return p.get<SceneText>(name)->text(); };
    const auto box = [&](const char *name) { return p.get<SceneText>(name)->geometry(); };
    QVERIFY(p.get<QRadioButton>("Option1")->isChecked() &&
            p.get<QRadioButton>("Option3")->isChecked());
    QVERIFY(!p.pictureShown());
    QCOMPARE(text("Label19"), u"section text"_s + QString(26, u' ') + u"section text"_s);
    QCOMPARE(text("Label25"), u" pop-up title"_s);
    QCOMPARE(box("Label1"), QRectF(192, 12, 97, 25));
    QCOMPARE(box("Label26"), QRectF(193, 13, 97, 25));

    p.click("Option2");
    QVERIFY(!p.get<QRadioButton>("Option1")->isChecked());
    for (const char *name : {"Label1", "Label5", "Label24", "Label26"})
        QCOMPARE(text(name), u"Zelvik Cache Editor"_s);
    QCOMPARE(text("Label9"), u"Projectiles"_s + QString(28, u' ') + u"Page 1/X"_s);
    QCOMPARE(text("Label2"), u" Select cache file..."_s);
    QCOMPARE(box("Label24"), QRectF(160, 12, 169, 25));
    QCOMPARE(box("Label5"), QRectF(161, 13, 169, 25));
    p.click("Option1");
    QCOMPARE(text("Label16"), u"change to text color"_s);
    QCOMPARE(box("Label1"), QRectF(192, 12, 97, 25));
}

void tst_frmPreview::compositedScenes_data()
{
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<Layers>("layers"); // fills laid over the background, in order
    QTest::newRow("outside everything") << QPoint(10, 10) << Layers{};
    QTest::newRow("left panel") << QPoint(100, 290) << Layers{{PanelFill, 30}};
    QTest::newRow("right panel") << QPoint(400, 100) << Layers{{PanelFill, 30}};
    QTest::newRow("title bar") << QPoint(400, 50) << Layers{{PanelFill, 30}};
    QTest::newRow("change-to bar") << QPoint(100, 120) << Layers{{PanelFill, 30}, {ChangeFill, 70}};
    QTest::newRow("left bar") << QPoint(200, 150) << Layers{{PanelFill, 30}, {BarFill, 50}};
    QTest::newRow("right bar") << QPoint(300, 150) << Layers{{PanelFill, 30}, {BarFill, 50}};
    QTest::newRow("pop-up over a panel")
        << QPoint(150, 230) << Layers{{PanelFill, 30}, {PopupFill, 60}};
    QTest::newRow("pop-up over the gap") << QPoint(237, 230) << Layers{{PopupFill, 60}};
    QTest::newRow("panel's last column") << QPoint(235, 300) << Layers{{PanelFill, 30}};
    QTest::newRow("right of the panel") << QPoint(236, 300) << Layers{};
    QTest::newRow("title bar's first row") << QPoint(300, 37) << Layers{{PanelFill, 30}};
    QTest::newRow("above the title bar") << QPoint(300, 36) << Layers{};
}

void tst_frmPreview::compositedScenes()
{
    QFETCH(QPoint, at);
    QFETCH(Layers, layers);
    constexpr QRgb Picture = qRgb(200, 40, 160);
    Preview p;
    p.folder.write(u"temp2.bmp"_s, encodedPicture(Picture, "BMP"));
    p.open();
    for (int scene : {1, 2}) {
        QRgb expected = scene == 1 ? Background : Picture;
        for (const auto &[fill, percent] : layers)
            expected = blend(expected, fill, percent);
        QCOMPARE(p.pixel(scene, at.x(), at.y()), expected);
    }
}

void tst_frmPreview::redrawIsRepeatable()
{
    Preview p;
    p.colors.set(Row::BgColour2, u"0xFFFFFFFF"_s);
    p.folder.write(u"temp2.bmp"_s, encodedPicture(qRgb(9, 9, 9), "BMP"));
    p.folder.write(u"temp.jpg"_s, encodedPicture(qRgb(90, 90, 90), "BMP"));
    p.folder.write(u"temp.bmp"_s, "the user's own");
    p.open();
    QCOMPARE(p.pixel(2, 10, 10), qRgb(90, 90, 90)); // temp.jpg counts first
    const QImage once1 = p.scene(1), once2 = p.scene(2);
    p.window->Update();
    QCOMPARE(p.scene(1), once1);
    QCOMPARE(p.scene(2), once2);
    QCOMPARE(p.folder.tree(), (QStringList{"temp.jpg", "temp2.bmp"}));
}

void tst_frmPreview::failingRowsLeaveWhatWasDrawn()
{
    Preview p;
    p.folder.write(u"temp2.bmp"_s, encodedPicture(qRgb(9, 9, 9), "BMP"));
    p.open();
    const QImage first = p.scene(1);
    // A failing background row: nothing drawn, nothing coloured.
    p.colors.set(Row::TitleColour, u"0xFF0A0B0C"_s);
    p.colors.set(Row::BgColour2, QString());
    QVERIFY_THROWS_EXCEPTION(Error, p.window->Update());
    QCOMPARE(p.scene(1), first);
    QVERIFY(p.get<SceneText>("Label1")->foreColor() != 0x0C0B0A);

    // A failing element row: the rows before it take their colours, no blend is made,
    // and the picture scene keeps what it showed.
    const QImage picture = p.scene(2);
    p.colors.set(Row::BgColour2, u"0xFF000000"_s);
    p.colors.set(Row::RectOutline, u"0xFF0D0E0F"_s);
    p.colors.set(Row::TextColour, u"0xFFnotHX"_s);
    p.colors.set(Row::SelectOutline, u"0xFF111213"_s);
    QVERIFY_THROWS_EXCEPTION(Error, p.window->Update());
    QCOMPARE(p.get<SceneText>("Label24")->foreColor(), 0x0C0B0A);
    QCOMPARE(p.get<SceneShape>("Shape11")->borderColor(), 0x0F0E0D);
    QCOMPARE(p.get<SceneShape>("Shape5")->borderColor(), display(qRgb(18, 36, 54)));
    QCOMPARE(p.pixel(1, 100, 290), p.pixel(1, 10, 290));
    QVERIFY(p.scene(1) != first);
    QCOMPARE(p.scene(2), picture);
}

void tst_frmPreview::pictureBackgroundSwitch()
{
    Preview p;
    p.open();
    p.click("Option4");
    QCOMPARE(p.dialogs.messages, QStringList{NoPicture});
    QVERIFY(p.get<QRadioButton>("Option3")->isChecked() && !p.pictureShown());
    // A working picture from before is shown without a new import.
    p.folder.write(u"temp.jpg"_s, encodedPicture(qRgb(30, 60, 90), "BMP"));
    p.click("Option4");
    QVERIFY(p.get<QRadioButton>("Option4")->isChecked() && p.pictureShown());
    QCOMPARE(p.pixel(2, 5, 5), qRgb(30, 60, 90));
    p.click("Option3");
    QVERIFY(!p.pictureShown());
    QCOMPARE(p.dialogs.messages.size(), 1);
}

void tst_frmPreview::imports_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("working"); // the working picture written, if any
    QTest::addColumn<QStringList>("messages");
    const QRgb c = qRgb(12, 34, 56);
    QTest::newRow("bmp") << u"pic.bmp"_s << encodedPicture(c, "BMP") << u"temp2.bmp"_s
                         << QStringList();
    QTest::newRow("jpg") << u"pic.jpg"_s << encodedPicture(c, "JPEG") << u"temp.jpg"_s
                         << QStringList();
    // Above the 128 MB Qt's reader takes by default.
    QTest::newRow("36-megapixel jpg") << u"pic.jpg"_s << encodedPicture(c, "JPEG", {6000, 6000})
                                      << u"temp.jpg"_s << QStringList();
    QTest::newRow("bmp data named jpg")
        << u"pic.jpg"_s << encodedPicture(c, "BMP") << u"temp.jpg"_s << QStringList();
    QTest::newRow("png") << u"pic.png"_s << encodedPicture(c, "PNG") << QString()
                         << QStringList{PngRefused, NoPicture};
    QTest::newRow("upper-case JPG")
        << u"pic.JPG"_s << encodedPicture(c, "JPEG") << QString() << QStringList{NoPicture};
    QTest::newRow("jpeg ending") << u"pic.jpeg"_s << encodedPicture(c, "JPEG") << QString()
                                 << QStringList{NoPicture};
}

void tst_frmPreview::imports()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, working);
    QFETCH(QStringList, messages);
    Preview p;
    p.open();
    p.folder.write(u"temp2.bmp"_s, encodedPicture(qRgb(1, 1, 1), "BMP"));
    p.importFile(p.outside(name, bytes));
    QCOMPARE(p.dialogs.fileRequests.first().filter,
             u"Zantho Backrounds (*.jpg,*.bmp,*.png)|*.jpg;*.bmp;*.png"_s);
    QCOMPARE(p.dialogs.messages, messages);
    QCOMPARE(p.folder.tree(), working.isEmpty() ? QStringList() : QStringList{working});
    QCOMPARE(p.get<QRadioButton>("Option4")->isChecked(), !working.isEmpty());
    QCOMPARE(p.pictureShown(), !working.isEmpty());
    if (!working.isEmpty()) {
        QVERIFY(p.folder.read(working).startsWith("BM"));
        QVERIFY(std::abs(qRed(p.pixel(2, 5, 5)) - 12) <= 2 &&
                std::abs(qBlue(p.pixel(2, 5, 5)) - 56) <= 2);
    }
}

void tst_frmPreview::packageContents_data()
{
    QTest::addColumn<QString>("imported");
    QTest::addColumn<bool>("colorBackground");
    QTest::addColumn<QString>("background");
    QTest::addColumn<QByteArray>("skin");
    QTest::newRow("no picture") << QString() << false << QString() << PlainSkin;
    QTest::newRow("jpg picture") << u"a.jpg"_s << false << u"background.jpg"_s << PlainSkin;
    QTest::newRow("bmp picture") << u"a.bmp"_s << false << u"background.bmp"_s
                                 << SkinWithBackground;
    QTest::newRow("bmp picture, colours shown")
        << u"a.bmp"_s << true << u"background.bmp"_s << SkinWithBackground;
}

void tst_frmPreview::packageContents()
{
    QFETCH(QString, imported);
    QFETCH(bool, colorBackground);
    QFETCH(QString, background);
    QFETCH(QByteArray, skin);
    Preview p;
    p.open();
    if (!imported.isEmpty())
        p.importFile(p.outside(imported, encodedPicture(qRgb(7, 8, 9), "BMP", {20, 10})));
    if (colorBackground)
        p.click("Option3");
    QStringList expected = p.folder.tree();
    p.createPackage(u"Project1"_s);
    QCOMPARE(
        p.dialogs.messages,
        QStringList{u"Package Project1 saved in the Vellox directory in My Projects\\Project1"_s});
    expected << u"My Projects"_s << u"My Projects/Project1"_s << u"My Projects/Project1/skin.ini"_s;
    if (!background.isEmpty())
        expected << u"My Projects/Project1/"_s + background;
    expected.sort();
    QCOMPARE(p.folder.tree(), expected);
    QCOMPARE(p.folder.read(u"My Projects/Project1/skin.ini"_s), skin);
    if (!background.isEmpty()) {
        const QImage saved(p.folder.file(u"My Projects/Project1/"_s + background), "BMP");
        QCOMPARE(saved.size(), QSize(20, 10));
        QCOMPARE(saved.pixel(3, 3), qRgb(7, 8, 9));
    }
}

void tst_frmPreview::packageReplaced_data()
{
    QTest::addColumn<Dialogs::Answer>("answer");
    QTest::newRow("replace") << Dialogs::Answer::Yes;
    QTest::newRow("keep") << Dialogs::Answer::No;
}

void tst_frmPreview::packageReplaced()
{
    QFETCH(Dialogs::Answer, answer);
    Preview p;
    p.open();
    p.importFile(p.outside(u"a.bmp"_s, encodedPicture(qRgb(1, 1, 1), "BMP")));
    p.createPackage(u" My Skin "_s);
    p.folder.write(u"My Projects/ My Skin /notes.txt"_s, "mine");
    p.importFile(p.outside(u"b.jpg"_s, encodedPicture(qRgb(2, 2, 2), "BMP")));
    p.dialogs.answers = {answer};
    p.createPackage(u" My Skin "_s);
    QCOMPARE(p.dialogs.questions.size(), 1);
    QVERIFY(p.dialogs.questions.first().contains(u" My Skin "_s));
    const bool yes = answer == Dialogs::Answer::Yes;
    QCOMPARE(QDir(p.folder.file(u"My Projects/ My Skin "_s)).entryList(QDir::Files, QDir::Name),
             (QStringList{yes ? u"background.jpg"_s : u"background.bmp"_s, u"notes.txt"_s,
                          u"skin.ini"_s}));
    QCOMPARE(p.folder.read(u"My Projects/ My Skin /skin.ini"_s),
             yes ? PlainSkin : SkinWithBackground);
    QCOMPARE(p.dialogs.messages.size(), yes ? 2 : 1);
}

QTEST_MAIN(tst_frmPreview)
#include "tst_frmPreview.moc"
