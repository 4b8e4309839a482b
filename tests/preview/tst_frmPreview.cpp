#include "preview/DrawingArea.h"
#include "preview/GDI.h"
#include "preview/Gradient.h"
#include "preview/SceneElements.h"
#include "preview/frmPreview.h"

#include "skin/ColorTable.h"
#include "skin/SkinItems.h"

#include "common/ProgramFolder.h"
#include "common/ScriptedDialogs.h"

#include "platform/Error.h"

#include <QBuffer>
#include <QDirIterator>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QtTest>

#include <cmath>
#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString NoPicture =
    u"No Picture loaded. Please import picture before choosing this option."_s;
const QString PngRefused =
    u"Sorry! .png's aren't supported yet for preview. Try saving as .bmp or .jpg."_s;

// The blend of one channel, worked out here in exact rational arithmetic on the opacity
// as the single-precision value the program stores.
int blendChannel(int p, int c, float a)
{
    const long double exact = p - static_cast<long double>(a) * (p - c);
    const long double floor = std::floor(exact);
    const long double frac = exact - floor;
    auto n = static_cast<int>(floor);
    if (frac > 0.5L || (frac == 0.5L && n % 2 != 0))
        ++n;
    return n;
}

QRgb blend(QRgb under, QRgb fill, int percent)
{
    const float a = static_cast<float>(percent / 100.0);
    return qRgb(blendChannel(qRed(under), qRed(fill), a),
                blendChannel(qGreen(under), qGreen(fill), a),
                blendChannel(qBlue(under), qBlue(fill), a));
}

QString code(int opacityByte, QRgb rgb)
{
    const auto hex = [](int v) { return QString::number(v, 16).rightJustified(2, u'0'); };
    return "0x"_L1 + hex(opacityByte) + hex(qRed(rgb)) + hex(qGreen(rgb)) + hex(qBlue(rgb));
}

QByteArray uniformPicture(QRgb rgb, const char *format, QSize size = {96, 72})
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(rgb);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// Fills laid over the background, in order, with their opacity percentages.
using Layers = QList<QPair<QRgb, int>>;

constexpr QRgb Background = qRgb(10, 200, 90);
constexpr QRgb PanelFill = qRgb(255, 0, 0);
constexpr QRgb BarFill = qRgb(0, 0, 255);
constexpr QRgb ChangeFill = qRgb(0, 255, 0);
constexpr QRgb PopupFill = qRgb(255, 255, 255);

// Opacity bytes and the percentages they read as.
struct Opacities
{
    int panel = 30, bars = 50, change = 70, popup = 60;
};

// Every colour row set; translucent rows at known percentages.
ColorTable sceneColors(QRgb top, QRgb bottom, Opacities o = {})
{
    ColorTable t;
    for (int row = 0; row < ItemCount; ++row) {
        if (SkinItems[size_t(row)].isColor())
            t.set(row, code(0xFF, qRgb(row, row * 2, row * 3)));
    }
    const auto byte = [](int percent) { return static_cast<int>(std::lround(percent * 2.55)); };
    t.set(Row::BgColor1, code(0xFF, top));
    t.set(Row::BgColor2, code(0xFF, bottom));
    t.set(Row::RectBg, code(0x4C, PanelFill));       // 30 %
    t.set(Row::SelectColor, code(0x7F, BarFill));    // 50 %
    t.set(Row::ChangeColor, code(0xB2, ChangeFill)); // 70 %
    t.set(Row::MenuBgColor, code(byte(o.popup), PopupFill));
    return t;
}

class Preview
{
public:
    explicit Preview(const ColorTable &table) : colors(table), CD(dialogs) {}

    frmPreview *open()
    {
        window = new frmPreview(folder.dir(), skin(), CD, dialogs);
        guard = window;
        window->Form_Load();
        return window;
    }
    ~Preview() { delete guard.data(); }

    frmPreview::Skin skin()
    {
        return {colors, [this] { return skinText; }};
    }

    template <typename T> T *get(const char *name) const
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
    QRgb pixel(int n, int x, int y) const { return scene(n).pixel(x, y) | 0xFF000000; }
    // Every file and folder below the program directory, relative to it.
    QStringList tree() const
    {
        QStringList all;
        QDirIterator it(folder.file(QString()),
                        QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            all << QDir(folder.file(QString())).relativeFilePath(it.next());
        all.sort();
        return all;
    }
    void createPackage(const QString &name)
    {
        get<QLineEdit>("Text1")->setText(name);
        QTest::mouseClick(get<QAbstractButton>("Command2"), Qt::LeftButton);
    }
    QString package(const QString &name, const QString &file) const
    {
        return u"My Projects/"_s + name + u'/' + file;
    }
    void importFile(const QString &path)
    {
        dialogs.chosenFiles << path;
        QTest::mouseClick(get<QAbstractButton>("Command1"), Qt::LeftButton);
    }

    ProgramFolder folder{ProgramFolder::Content::Empty};
    ScriptedDialogs dialogs;
    ColorTable colors;
    QString skinText = u"BgColor1 = 0xff000000\r\nRectBg = 0x7f102030"_s;
    CommonDialog CD;
    frmPreview *window = nullptr;
    QPointer<frmPreview> guard;
};

} // namespace

Q_DECLARE_METATYPE(Layers)
Q_DECLARE_METATYPE(Dialogs::Answer)

class tst_frmPreview : public QObject
{
    Q_OBJECT

private slots:
    void blendChannels_data();
    void blendChannels();
    void blendWholePixelAndBounds();
    void drawBitmapClips();

    void gradientRows_data();
    void gradientRows();

    void layout_data();
    void layout();
    void textModes();

    void compositedScenes_data();
    void compositedScenes();
    void updateTwiceEqualsOnce();
    void failingRowLeavesPartialColors();
    void failingBackgroundRowDrawsNothing();
    void pictureSceneWithoutWorkingPicture();
    void jpgWinsOverBmp();
    void snapshotFileIsRemoved();

    void openingSteps();
    void pictureBackgroundSwitch();
    void imports_data();
    void imports();
    void importCancelledChangesNothing();
    void importReplacesPreviousPicture();

    void packageContents_data();
    void packageContents();
    void packageNameRefused_data();
    void packageNameRefused();
    void packageReplaced_data();
    void packageReplaced();
    void packageWriteFailures_data();
    void packageWriteFailures();
};

void tst_frmPreview::blendChannels_data()
{
    QTest::addColumn<int>("under");
    QTest::addColumn<int>("fill");
    QTest::addColumn<float>("a");
    QTest::addColumn<int>("result");
    QTest::newRow("0 % keeps the background") << 77 << 255 << 0.0f << 77;
    QTest::newRow("100 % is the fill") << 77 << 3 << 1.0f << 3;
    QTest::newRow("50 %, 255 over 0 ties to 128") << 0 << 255 << 0.5f << 128;
    QTest::newRow("50 %, 0 over 255 ties to 128") << 255 << 0 << 0.5f << 128;
    QTest::newRow("50 %, 0 over 1 ties to 0") << 1 << 0 << 0.5f << 0;
    QTest::newRow("50 %, 0 over 3 ties to 2") << 3 << 0 << 0.5f << 2;
    QTest::newRow("30 % is the single 0.3: 77") << 0 << 255 << 0.3f << 77;
}

void tst_frmPreview::blendChannels()
{
    QFETCH(int, under);
    QFETCH(int, fill);
    QFETCH(float, a);
    QFETCH(int, result);
    QImage source(3, 2, QImage::Format_RGB32);
    source.fill(qRgb(under, under, under));
    const QImage out = GDI::BlendBitmap(source, fill + fill * 256 + fill * 65536, 1, 1, 2, 1, a);
    QCOMPARE(out.size(), QSize(2, 1));
    QCOMPARE(out.pixel(1, 0) | 0xFF000000, qRgb(result, result, result));
    QCOMPARE(blendChannel(under, fill, a), result);
}

void tst_frmPreview::blendWholePixelAndBounds()
{
    QImage source(4, 4, QImage::Format_RGB32);
    source.fill(qRgb(0, 0, 255));
    // Fill red 255, green 128, blue 0 as a display colour: red in the low byte.
    const QImage out = GDI::BlendBitmap(source, 255 + 128 * 256, 0, 0, 4, 4, 0.5f);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            QCOMPARE(out.pixel(x, y) | 0xFF000000, qRgb(128, 64, 128));
    // Reaching past the source never reads outside it.
    const QImage beyond = GDI::BlendBitmap(source, 0, 2, 2, 5, 5, 0.0f);
    QCOMPARE(beyond.pixel(0, 0) | 0xFF000000, qRgb(0, 0, 255));
    QCOMPARE(beyond.pixel(4, 4) | 0xFF000000, qRgb(255, 255, 255));
}

void tst_frmPreview::drawBitmapClips()
{
    QImage target(10, 10, QImage::Format_RGB32);
    target.fill(Qt::black);
    QImage bitmap(6, 6, QImage::Format_RGB32);
    bitmap.fill(Qt::white);
    GDI::DrawBitmap(target, bitmap, 7, -2, 6, 6);
    QCOMPARE(target.pixel(7, 0), qRgb(255, 255, 255));
    QCOMPARE(target.pixel(9, 3), qRgb(255, 255, 255));
    QCOMPARE(target.pixel(6, 0), qRgb(0, 0, 0));
    QCOMPARE(target.pixel(7, 4), qRgb(0, 0, 0));
    GDI::FreeBitmap(bitmap);
    QVERIFY(bitmap.isNull());
}

void tst_frmPreview::gradientRows_data()
{
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<int>("row");
    QTest::addColumn<QRgb>("color");
    QTest::newRow("row 0 is the start")
        << 360 << 0x123456 << 0xFFFFFF << 0 << qRgb(0x56, 0x34, 0x12);
    QTest::newRow("black to white stops at 254")
        << 360 << 0 << 0xFFFFFF << 359 << qRgb(254, 254, 254);
    QTest::newRow("red to blue, row 50 of 100")
        << 100 << 0x0000FF << 0xFF0000 << 50 << qRgb(128, 0, 127);
    QTest::newRow("red to blue, row 1 of 100")
        << 100 << 0x0000FF << 0xFF0000 << 1 << qRgb(252, 0, 3);
    QTest::newRow("equal ends are uniform")
        << 360 << 0x00FF80 << 0x00FF80 << 200 << qRgb(0x80, 0xFF, 0);
    QTest::newRow("zero channel stays zero")
        << 360 << 0x0000FF << 0x00FF00 << 180 << qRgb(128, 128, 0);
}

void tst_frmPreview::gradientRows()
{
    QFETCH(int, height);
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(int, row);
    QFETCH(QRgb, color);
    QWidget holder;
    auto *area = new DrawingArea("area", &holder, QSize(7, height));
    area->beginDrawing().fill(Qt::magenta);
    Gradient(area, start, end);
    for (int x = 0; x < 7; ++x)
        QCOMPARE(area->image().pixel(x, row) | 0xFF000000, color);
    for (int y = 0; y < height; ++y)
        QVERIFY(area->image().pixel(6, y) != qRgb(255, 0, 255));
    const ColorParts parts = SplitColor(start);
    QCOMPARE(parts.Red + parts.Green * 256 + parts.Blue * 65536, start);
}

void tst_frmPreview::layout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("area");
    QTest::addColumn<QRectF>("geometry");
    QTest::addColumn<int>("pixels");
    QTest::addColumn<bool>("bold");
    QTest::newRow("title") << "Label1"
                           << "Picture1" << QRectF(192, 12, 97, 25) << 19 << false;
    QTest::newRow("title shadow") << "Label26"
                                  << "Picture2" << QRectF(193, 13, 97, 25) << 19 << false;
    QTest::newRow("header") << "Label4"
                            << "Picture2" << QRectF(56, 41, 337, 17) << 15 << true;
    QTest::newRow("section") << "Label9"
                             << "Picture1" << QRectF(56, 68, 369, 25) << 16 << true;
    QTest::newRow("pop-up title") << "Label25"
                                  << "Picture2" << QRectF(80, 200, 161, 17) << 16 << true;
    QTest::newRow("bottom") << "Label3"
                            << "Picture1" << QRectF(56, 315, 137, 17) << 13 << true;
    QTest::newRow("left panel") << "Shape"
                                << "Picture1" << QRectF(48, 64, 188.27, 251.27) << 0 << false;
    QTest::newRow("title bar") << "Shape13"
                               << "Picture2" << QRectF(48, 37.47, 380, 25) << 0 << false;
    QTest::newRow("right bar") << "Shape9"
                               << "Picture2" << QRectF(242, 144, 184, 17) << 0 << false;
    QTest::newRow("pop-up box") << "Shape1"
                                << "Picture1" << QRectF(72, 200, 313, 65) << 0 << false;
}

void tst_frmPreview::layout()
{
    QFETCH(QString, name);
    QFETCH(QString, area);
    QFETCH(QRectF, geometry);
    QFETCH(int, pixels);
    QFETCH(bool, bold);
    Preview p(sceneColors(Background, Background));
    p.open();
    auto *element = p.get<SceneElement>(qPrintable(name));
    QCOMPARE(element->parent()->objectName(), area);
    QCOMPARE(element->geometry(), geometry);
    if (auto *text = qobject_cast<SceneText *>(element)) {
        QCOMPARE(text->font().pixelSize(), pixels);
        QCOMPARE(text->font().bold(), bold);
        QCOMPARE(text->font().family(), u"Arial"_s);
    }
    QCOMPARE(p.window->size(), QSize(495, 457));
    QCOMPARE(p.window->windowTitle(), u"Vellox Preview"_s);
    QCOMPARE(p.get<QWidget>("Picture1")->geometry(), QRect(8, 8, 480, 360));
    QCOMPARE(p.get<QWidget>("Picture2")->geometry(), QRect(-1, -1, 480, 360));
    QVERIFY(!p.get<QWidget>("Image1")->isVisibleTo(p.window));
}

void tst_frmPreview::textModes()
{
    Preview p(sceneColors(Background, Background));
    p.open();
    const auto text = [&](const char *name) { return p.get<SceneText>(name)->text(); };
    const auto left = [&](const char *name) { return p.get<SceneText>(name)->geometry(); };
    QVERIFY(p.get<QRadioButton>("Option1")->isChecked());
    QCOMPARE(text("Label9"), u"section text"_s + QString(26, u' ') + u"section text"_s);
    QCOMPARE(text("Label25"), u" pop-up title"_s);

    p.get<QRadioButton>("Option2")->click();
    QVERIFY(!p.get<QRadioButton>("Option1")->isChecked());
    for (const char *name : {"Label1", "Label5", "Label24", "Label26"})
        QCOMPARE(text(name), u"Zelvik Cache Editor"_s);
    QCOMPARE(text("Label19"), u"Projectiles"_s + QString(28, u' ') + u"Page 1/X"_s);
    QCOMPARE(text("Label9"), text("Label19"));
    QCOMPARE(text("Label2"), u" Select cache file..."_s);
    QCOMPARE(text("Label23"), u"Region: NTSC"_s);
    QCOMPARE(left("Label24"), QRectF(160, 12, 169, 25));
    QCOMPARE(left("Label5"), QRectF(161, 13, 169, 25));

    p.get<QRadioButton>("Option1")->click();
    QCOMPARE(text("Label16"), u"change to text color"_s);
    QCOMPARE(left("Label1"), QRectF(192, 12, 97, 25));
    QCOMPARE(left("Label26"), QRectF(193, 13, 97, 25));
}

void tst_frmPreview::compositedScenes_data()
{
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<Layers>("layers");
    using L = Layers;
    QTest::newRow("outside everything") << QPoint(10, 10) << L{};
    QTest::newRow("left panel") << QPoint(100, 290) << L{{PanelFill, 30}};
    QTest::newRow("right panel") << QPoint(400, 100) << L{{PanelFill, 30}};
    QTest::newRow("title bar") << QPoint(400, 50) << L{{PanelFill, 30}};
    QTest::newRow("change-to bar over panel")
        << QPoint(100, 120) << L{{PanelFill, 30}, {ChangeFill, 70}};
    QTest::newRow("left bar over panel") << QPoint(200, 150) << L{{PanelFill, 30}, {BarFill, 50}};
    QTest::newRow("right bar over panel") << QPoint(300, 150) << L{{PanelFill, 30}, {BarFill, 50}};
    QTest::newRow("pop-up over panel") << QPoint(150, 230) << L{{PanelFill, 30}, {PopupFill, 60}};
    QTest::newRow("pop-up over the gap") << QPoint(237, 230) << L{{PopupFill, 60}};
    QTest::newRow("panel's last column") << QPoint(235, 300) << L{{PanelFill, 30}};
    QTest::newRow("just right of the panel") << QPoint(236, 300) << L{};
    QTest::newRow("title bar row 37") << QPoint(300, 37) << L{{PanelFill, 30}};
    QTest::newRow("above the title bar") << QPoint(300, 36) << L{};
}

void tst_frmPreview::compositedScenes()
{
    QFETCH(QPoint, at);
    QFETCH(Layers, layers);
    constexpr QRgb Picture = qRgb(200, 40, 160);
    Preview p(sceneColors(Background, Background));
    p.folder.write(u"temp2.bmp"_s, uniformPicture(Picture, "BMP"));
    p.open();
    for (int scene : {1, 2}) {
        QRgb expected = scene == 1 ? Background : Picture;
        for (const auto &[fill, percent] : layers)
            expected = blend(expected, fill, percent);
        QCOMPARE(p.pixel(scene, at.x(), at.y()), expected);
    }
}

void tst_frmPreview::updateTwiceEqualsOnce()
{
    Preview p(sceneColors(qRgb(0, 0, 0), qRgb(255, 255, 255)));
    p.folder.write(u"temp.jpg"_s, uniformPicture(qRgb(1, 2, 3), "BMP"));
    p.open();
    const QImage once1 = p.scene(1), once2 = p.scene(2);
    p.window->Update();
    QCOMPARE(p.scene(1), once1);
    QCOMPARE(p.scene(2), once2);
    QCOMPARE(p.pixel(1, 10, 359), qRgb(254, 254, 254));
}

void tst_frmPreview::failingRowLeavesPartialColors()
{
    ColorTable colors = sceneColors(Background, Background);
    Preview p(colors);
    p.open();
    const QImage before = p.scene(1);
    p.colors.set(Row::TitleColor, u"0xFF0A0B0C"_s);
    p.colors.set(Row::RectOutline, u"0xFF0D0E0F"_s);
    p.colors.set(Row::TextColor, u"0xFFnotHX"_s);
    p.colors.set(Row::SelectOutline, u"0xFF111213"_s);
    p.colors.set(Row::BgColor1, u"0xFF000000"_s);
    try {
        p.window->Update();
        QFAIL("no error");
    } catch (const Error &e) {
        QCOMPARE(e.code(), Error::TypeMismatch);
    }
    QCOMPARE(p.get<SceneText>("Label1")->foreColor(), 0x0C0B0A);
    QCOMPARE(p.get<SceneText>("Label24")->foreColor(), 0x0C0B0A);
    QCOMPARE(p.get<SceneShape>("Shape11")->borderColor(), 0x0F0E0D);
    // Rows after the failing one keep the colours of the previous redraw.
    QCOMPARE(p.get<SceneShape>("Shape5")->borderColor(), 18 + 36 * 256 + 54 * 65536);
    // The gradient is redrawn, but no blend follows the failure.
    QCOMPARE(p.pixel(1, 100, 290), p.pixel(1, 10, 290));
    QVERIFY(p.scene(1) != before);
}

void tst_frmPreview::failingBackgroundRowDrawsNothing()
{
    Preview p(sceneColors(Background, Background));
    p.open();
    const QImage before = p.scene(1);
    p.colors.set(Row::BgColor2, QString());
    p.colors.set(Row::TitleColor, u"0xFF0A0B0C"_s);
    try {
        p.window->Update();
        QFAIL("no error");
    } catch (const Error &e) {
        QCOMPARE(e.code(), Error::SubscriptOutOfRange);
    }
    QCOMPARE(p.scene(1), before);
    QVERIFY(p.get<SceneText>("Label1")->foreColor() != 0x0C0B0A);
}

void tst_frmPreview::pictureSceneWithoutWorkingPicture()
{
    Preview p(sceneColors(Background, Background));
    p.folder.write(u"temp2.bmp"_s, uniformPicture(qRgb(9, 9, 9), "BMP"));
    p.open();
    const QImage before = p.scene(2);
    QFile::remove(p.folder.file(u"temp2.bmp"_s));
    p.colors.set(Row::RectBg, u"0xFF000000"_s);
    p.colors.set(Row::TitleColor, u"0xFF0A0B0C"_s);
    p.window->Update();
    QCOMPARE(p.scene(2), before);
    QCOMPARE(p.get<SceneText>("Label24")->foreColor(), 0x0C0B0A);
    QCOMPARE(p.pixel(1, 100, 290), qRgb(0, 0, 0));
}

void tst_frmPreview::jpgWinsOverBmp()
{
    Preview p(sceneColors(Background, Background));
    p.folder.write(u"temp2.bmp"_s, uniformPicture(qRgb(9, 9, 9), "BMP"));
    p.folder.write(u"temp.jpg"_s, uniformPicture(qRgb(90, 90, 90), "BMP"));
    p.open();
    QCOMPARE(p.pixel(2, 10, 10), qRgb(90, 90, 90));
    QCOMPARE(p.window->heldPicture().size(), QSize(96, 72));
}

void tst_frmPreview::snapshotFileIsRemoved()
{
    Preview p(sceneColors(Background, Background));
    p.folder.write(u"temp.bmp"_s, "the user's own");
    p.open();
    QVERIFY(!p.folder.exists(u"temp.bmp"_s));
    QCOMPARE(p.folder.entries(), QStringList());
}

void tst_frmPreview::openingSteps()
{
    Preview p(sceneColors(Background, Background));
    p.window = new frmPreview(p.folder.dir(), p.skin(), p.CD, p.dialogs);
    p.guard = p.window;
    QSignalSpy loaded(p.window, &frmPreview::loaded);
    QSignalSpy unloaded(p.window, &frmPreview::unloaded);
    p.window->Form_Load();
    QCOMPARE(loaded.count(), 1);
    QVERIFY(p.get<QRadioButton>("Option1")->isChecked());
    QVERIFY(p.get<QRadioButton>("Option3")->isChecked());
    QVERIFY(!p.get<QWidget>("Picture2")->isVisibleTo(p.window));
    QCOMPARE(p.get<QLineEdit>("Text1")->text(), u"Project1"_s);
    QCOMPARE(p.pixel(1, 10, 10), Background);
    p.window->close();
    QCOMPARE(unloaded.count(), 1);
}

void tst_frmPreview::pictureBackgroundSwitch()
{
    Preview p(sceneColors(Background, Background));
    p.open();
    auto *option3 = p.get<QRadioButton>("Option3");
    auto *option4 = p.get<QRadioButton>("Option4");
    option4->click();
    QCOMPARE(p.dialogs.messages, QStringList{NoPicture});
    QVERIFY(option3->isChecked());
    QVERIFY(!p.get<QWidget>("Picture2")->isVisibleTo(p.window));

    // A working picture from before is shown without a new import.
    p.folder.write(u"temp.jpg"_s, uniformPicture(qRgb(30, 60, 90), "BMP"));
    option4->click();
    QCOMPARE(p.dialogs.messages.size(), 1);
    QVERIFY(option4->isChecked());
    QVERIFY(p.get<QWidget>("Picture2")->isVisibleTo(p.window));
    QCOMPARE(p.pixel(2, 5, 5), qRgb(30, 60, 90));

    option3->click();
    QVERIFY(!p.get<QWidget>("Picture2")->isVisibleTo(p.window));

    // A working picture that cannot be read is reported, and the colours come back.
    p.folder.write(u"temp.jpg"_s, "damaged");
    option4->click();
    QCOMPARE(p.dialogs.messages.size(), 2);
    QVERIFY(p.dialogs.messages.last().contains(p.folder.file(u"temp.jpg"_s)));
    QVERIFY(option3->isChecked());
}

void tst_frmPreview::imports_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("working"); // the working picture left, or empty
    QTest::addColumn<QStringList>("messages");
    const QRgb c = qRgb(12, 34, 56);
    const QString decodeFailure = u"<decode>"_s;
    QTest::newRow("bmp") << u"pic.bmp"_s << uniformPicture(c, "BMP") << u"temp2.bmp"_s
                         << QStringList();
    QTest::newRow("jpg") << u"pic.jpg"_s << uniformPicture(c, "JPEG") << u"temp.jpg"_s
                         << QStringList();
    QTest::newRow("bmp data named jpg")
        << u"pic.jpg"_s << uniformPicture(c, "BMP") << u"temp.jpg"_s << QStringList();
    QTest::newRow("png") << u"pic.png"_s << uniformPicture(c, "PNG") << QString()
                         << QStringList{PngRefused, NoPicture};
    QTest::newRow("png data named bmp") << u"pic.bmp"_s << uniformPicture(c, "PNG") << QString()
                                        << QStringList{decodeFailure, NoPicture};
    QTest::newRow("damaged jpg") << u"pic.jpg"_s << uniformPicture(c, "JPEG").left(100) << QString()
                                 << QStringList{decodeFailure, NoPicture};
    QTest::newRow("upper-case JPG")
        << u"pic.JPG"_s << uniformPicture(c, "JPEG") << QString() << QStringList{NoPicture};
    QTest::newRow("jpeg ending") << u"pic.jpeg"_s << uniformPicture(c, "JPEG") << QString()
                                 << QStringList{NoPicture};
}

void tst_frmPreview::imports()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, working);
    QFETCH(QStringList, messages);
    Preview p(sceneColors(Background, Background));
    p.open();
    p.folder.write(u"temp2.bmp"_s, uniformPicture(qRgb(1, 1, 1), "BMP"));
    QTemporaryDir elsewhere;
    const QString chosen = elsewhere.filePath(name);
    QFile f(chosen);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
    f.close();
    p.importFile(chosen);

    QCOMPARE(p.dialogs.fileRequests.size(), 1);
    QCOMPARE(p.dialogs.fileRequests[0].filter,
             u"Zantho Backrounds (*.jpg,*.bmp,*.png)|*.jpg;*.bmp;*.png"_s);
    QCOMPARE(p.dialogs.messages.size(), messages.size());
    for (int i = 0; i < messages.size(); ++i) {
        if (messages[i] == u"<decode>"_s)
            QVERIFY2(p.dialogs.messages[i].contains(chosen), qPrintable(p.dialogs.messages[i]));
        else
            QCOMPARE(p.dialogs.messages[i], messages[i]);
    }
    QCOMPARE(p.folder.entries(), working.isEmpty() ? QStringList() : QStringList{working});
    QCOMPARE(p.get<QRadioButton>("Option4")->isChecked(), !working.isEmpty());
    QCOMPARE(p.get<QWidget>("Picture2")->isVisibleTo(p.window), !working.isEmpty());
    if (!working.isEmpty()) {
        QVERIFY(p.folder.read(working).startsWith("BM"));
        const QRgb shown = p.pixel(2, 5, 5);
        QVERIFY(std::abs(qRed(shown) - 12) <= 2 && std::abs(qBlue(shown) - 56) <= 2);
    }
}

void tst_frmPreview::importCancelledChangesNothing()
{
    Preview p(sceneColors(Background, Background));
    p.open();
    p.folder.write(u"temp2.bmp"_s, uniformPicture(qRgb(1, 1, 1), "BMP"));
    p.importFile(QString());
    p.importFile(p.folder.file(u"missing.bmp"_s));
    QCOMPARE(p.folder.entries(), QStringList{u"temp2.bmp"_s});
    QCOMPARE(p.dialogs.messages, QStringList());
    QVERIFY(p.get<QRadioButton>("Option3")->isChecked());
}

void tst_frmPreview::importReplacesPreviousPicture()
{
    Preview p(sceneColors(Background, Background));
    p.open();
    QTemporaryDir elsewhere;
    const auto put = [&](const QString &name, QRgb c, const char *format) {
        QFile f(elsewhere.filePath(name));
        f.open(QIODevice::WriteOnly);
        f.write(uniformPicture(c, format, {40, 30}));
        return elsewhere.filePath(name);
    };
    p.importFile(put(u"a.bmp"_s, qRgb(100, 0, 0), "BMP"));
    QCOMPARE(p.folder.entries(), QStringList{u"temp2.bmp"_s});
    QCOMPARE(p.pixel(2, 5, 5), qRgb(100, 0, 0));
    p.importFile(put(u"b.bmp"_s, qRgb(0, 100, 0), "BMP"));
    QCOMPARE(p.pixel(2, 5, 5), qRgb(0, 100, 0));
    QCOMPARE(p.window->heldPicture().pixel(0, 0) | 0xFF000000, qRgb(0, 100, 0));
    p.importFile(put(u"c.jpg"_s, qRgb(0, 0, 100), "BMP"));
    QCOMPARE(p.folder.entries(), QStringList{u"temp.jpg"_s});
    QCOMPARE(p.pixel(2, 5, 5), qRgb(0, 0, 100));
    // The dialog opens on the file chosen last.
    QCOMPARE(p.dialogs.fileRequests.last().initialFile, elsewhere.filePath(u"b.bmp"_s));
}

namespace {
const QByteArray PlainSkin = "BgColor1 = 0xff000000\r\nRectBg = 0x7f102030\r\n\r\nZantho Skin "
                             "created with Vellox v1.6.1 Beta 1\r\n";
const QByteArray SkinWithBackground =
    "BgColor1 = 0xff000000\r\nRectBg = 0x7f102030\r\nbackground = "
    "background.bmp\r\n\r\nZantho Skin created with Vellox v1.6.1 Beta 1\r\n";

QString pictureFile(QTemporaryDir &dir, const QString &name, QRgb c)
{
    QFile f(dir.filePath(name));
    f.open(QIODevice::WriteOnly);
    f.write(uniformPicture(c, "BMP", {20, 10}));
    return dir.filePath(name);
}
} // namespace

void tst_frmPreview::packageContents_data()
{
    QTest::addColumn<QString>("imported"); // the background picture's name, if any
    QTest::addColumn<bool>("colorBackground");
    QTest::addColumn<QString>("background");
    QTest::addColumn<QByteArray>("skin");
    QTest::newRow("no picture") << QString() << false << QString() << PlainSkin;
    QTest::newRow("jpg picture") << u"a.jpg"_s << false << u"background.jpg"_s << PlainSkin;
    QTest::newRow("bmp picture") << u"a.bmp"_s << false << u"background.bmp"_s
                                 << SkinWithBackground;
    QTest::newRow("bmp picture, colour background shown")
        << u"a.bmp"_s << true << u"background.bmp"_s << SkinWithBackground;
}

void tst_frmPreview::packageContents()
{
    QFETCH(QString, imported);
    QFETCH(bool, colorBackground);
    QFETCH(QString, background);
    QFETCH(QByteArray, skin);
    Preview p(sceneColors(Background, Background));
    p.open();
    QTemporaryDir elsewhere;
    if (!imported.isEmpty())
        p.importFile(pictureFile(elsewhere, imported, qRgb(7, 8, 9)));
    if (colorBackground)
        p.get<QRadioButton>("Option3")->click();
    const QStringList before = p.tree();
    p.createPackage(u"Project1"_s);

    QCOMPARE(
        p.dialogs.messages,
        QStringList{u"Package Project1 saved in the Vellox directory in My Projects\\Project1"_s});
    QStringList expected = before;
    expected << u"My Projects"_s << u"My Projects/Project1"_s
             << p.package(u"Project1"_s, u"skin.ini"_s);
    if (!background.isEmpty())
        expected << p.package(u"Project1"_s, background);
    expected.sort();
    QCOMPARE(p.tree(), expected);
    QCOMPARE(p.folder.read(p.package(u"Project1"_s, u"skin.ini"_s)), skin);
    if (!background.isEmpty()) {
        const QString path = p.folder.file(p.package(u"Project1"_s, background));
        QVERIFY(p.folder.read(p.package(u"Project1"_s, background)).startsWith("BM"));
        QImage saved(path, "BMP");
        QCOMPARE(saved.size(), QSize(20, 10));
        QCOMPARE(saved.pixel(3, 3) | 0xFF000000, qRgb(7, 8, 9));
    }
}

void tst_frmPreview::packageNameRefused_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("empty") << QString();
    QTest::newRow("spaces") << u"   "_s;
    QTest::newRow("dot") << u"."_s;
    QTest::newRow("dot dot") << u".."_s;
    QTest::newRow("climbing out") << u"../x"_s;
    QTest::newRow("slash") << u"a/b"_s;
    QTest::newRow("backslash") << u"a\\b"_s;
    QTest::newRow("too long") << QString(256, u'x');
    QTest::newRow("too long in bytes") << QString(128, QChar(0xE9));
    QTest::newRow("nul") << u"a"_s + QChar(0) + u"b"_s;
}

void tst_frmPreview::packageNameRefused()
{
    QFETCH(QString, name);
    Preview p(sceneColors(Background, Background));
    p.open();
    const QStringList before = p.tree();
    p.createPackage(name);
    QCOMPARE(p.dialogs.messages.size(), 1);
    QVERIFY2(p.dialogs.messages.first().contains(u"is not a valid project name"_s),
             qPrintable(p.dialogs.messages.first()));
    QCOMPARE(p.tree(), before);
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
    Preview p(sceneColors(Background, Background));
    p.open();
    QTemporaryDir elsewhere;
    p.importFile(pictureFile(elsewhere, u"a.bmp"_s, qRgb(1, 1, 1)));
    p.createPackage(u" My Skin "_s);
    p.folder.write(p.package(u" My Skin "_s, u"notes.txt"_s), "mine");
    p.importFile(pictureFile(elsewhere, u"b.jpg"_s, qRgb(2, 2, 2)));
    p.dialogs.messages.clear();
    p.dialogs.answers = {answer};
    p.createPackage(u" My Skin "_s);

    QCOMPARE(p.dialogs.questions.size(), 1);
    QVERIFY(p.dialogs.questions.first().contains(u" My Skin "_s));
    const QStringList files =
        QDir(p.folder.file(u"My Projects/ My Skin "_s)).entryList(QDir::Files, QDir::Name);
    if (answer == Dialogs::Answer::Yes) {
        QCOMPARE(files, (QStringList{u"background.jpg"_s, u"notes.txt"_s, u"skin.ini"_s}));
        QCOMPARE(p.folder.read(p.package(u" My Skin "_s, u"skin.ini"_s)), PlainSkin);
        QCOMPARE(p.dialogs.messages.size(), 1);
    } else {
        QCOMPARE(files, (QStringList{u"background.bmp"_s, u"notes.txt"_s, u"skin.ini"_s}));
        QCOMPARE(p.folder.read(p.package(u" My Skin "_s, u"skin.ini"_s)), SkinWithBackground);
        QCOMPARE(p.dialogs.messages, QStringList());
    }
}

void tst_frmPreview::packageWriteFailures_data()
{
    QTest::addColumn<QString>("blocker"); // made a folder or a file before the export
    QTest::addColumn<bool>("asFolder");
    QTest::addColumn<QString>("named"); // the path the message must name
    QTest::newRow("My Projects is a file") << u"My Projects"_s << false << u"My Projects"_s;
    QTest::newRow("package name is a file") << u"My Projects/P"_s << false << u"My Projects/P"_s;
    QTest::newRow("skin.ini cannot be replaced")
        << u"My Projects/P/skin.ini"_s << true << u"My Projects/P/skin.ini"_s;
}

void tst_frmPreview::packageWriteFailures()
{
    QFETCH(QString, blocker);
    QFETCH(bool, asFolder);
    QFETCH(QString, named);
    Preview p(sceneColors(Background, Background));
    p.open();
    if (asFolder) {
        QVERIFY(QDir(p.folder.file(QString())).mkpath(blocker));
        p.dialogs.answers = {Dialogs::Answer::Yes};
    } else {
        QDir(p.folder.file(QString())).mkpath(QFileInfo(blocker).path());
        p.folder.write(blocker, "x");
    }
    const QStringList before = p.tree();
    p.createPackage(u"P"_s);
    QCOMPARE(p.dialogs.messages.size(), 1);
    const QString &message = p.dialogs.messages.first();
    QVERIFY2(message.startsWith(u"The package P was not created."_s), qPrintable(message));
    QVERIFY2(message.contains(p.folder.file(named)), qPrintable(message));
    QCOMPARE(p.tree(), before);
}

QTEST_MAIN(tst_frmPreview)
#include "tst_frmPreview.moc"
