#include "readability/Readability.h"
#include "readability/TellingApart.h"
#include "scene/Gradient.h"
#include "scene/Scene.h"
#include "scene/SceneRenderer.h"

#include "skin/SkinFile.h"

#include "platform/QtColour.h"

#include "common/DrawnScenes.h"
#include "common/EditorSession.h"

#include <cmath>

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

using Layers = QList<QPair<QRgb, int>>;

} // namespace

Q_DECLARE_METATYPE(Layers)

// The scenes' pixels: blends, gradient, texts, and redraws that keep what has not changed.
class tst_scene : public QObject
{
    Q_OBJECT

private slots:
    void compositedScenes_data();
    void compositedScenes();
    void blendedTogetherApart();
    void gradientRows();
    void textColours();
    void titleShadow();
    void glyphsOverAnyPixels();
    void redrawnAsNew_data();
    void redrawnAsNew();
};

void tst_scene::compositedScenes_data()
{
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<Layers>("layers"); // fills laid over the background, in order
    QTest::newRow("left panel") << QPoint(100, 290) << Layers{{PanelFill, 30}};
    QTest::newRow("change-to bar") << QPoint(100, 120) << Layers{{PanelFill, 30}, {ChangeFill, 70}};
    QTest::newRow("left bar") << QPoint(200, 150) << Layers{{PanelFill, 30}, {BarFill, 50}};
    QTest::newRow("right bar's first row")
        << QPoint(410, 144) << Layers{{PanelFill, 30}, {BarFill, 50}};
    QTest::newRow("pop-up over a panel")
        << QPoint(150, 230) << Layers{{PanelFill, 30}, {PopupFill, 60}};
    QTest::newRow("pop-up over the gap") << QPoint(237, 230) << Layers{{PopupFill, 60}};
    QTest::newRow("panel's last column") << QPoint(235, 300) << Layers{{PanelFill, 30}};
    QTest::newRow("right of the panel") << QPoint(236, 300) << Layers{};
    QTest::newRow("title bar's first row") << QPoint(300, 37) << Layers{{PanelFill, 30}};
    QTest::newRow("above the title bar") << QPoint(300, 36) << Layers{};
}

void tst_scene::compositedScenes()
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
void tst_scene::blendedTogetherApart()
{
    for (Role a : BlendOrder) {
        for (Role b : BlendOrder)
            QVERIFY2(
                a >= b || layoutOf(a).phase != layoutOf(b).phase ||
                    !pixelRect(layoutOf(a).geometry).intersects(pixelRect(layoutOf(b).geometry)),
                layoutOf(a).name(SceneKind::Colour));
    }
}

void tst_scene::gradientRows()
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
void tst_scene::textColours()
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

// The title's shadow is the title one pixel right and one down, in both scenes and both
// text modes: it shows within the title's glyphs moved so, and reaches as far every way.
void tst_scene::titleShadow()
{
    ColourTable table;
    readSkinBytes(ProgramFolder::factorySkin(), table);
    StillPicture coffee(QImage(VELLOX_PHOTOS "/coffee.jpg"_L1));
    for (TextMode mode : {TextMode::Skinning, TextMode::Actual}) {
        const QRect around = pixelRect(layoutOf(Role::TitleText).box(mode)).adjusted(-4, -4, 4, 4);
        for (SceneKind kind : {SceneKind::Colour, SceneKind::Picture}) {
            QRegion ink[2]; // of the title moved, and of the shadow
            for (int row : {Row::TitleColour, Row::Shadow}) {
                const QPoint moved = row == Row::Shadow ? QPoint() : QPoint(1, 1);
                for (const auto &[change, points] :
                     changedBy(table, coffee, kind, around, {row}, mode))
                    for (QPoint p : points)
                        ink[row == Row::Shadow] += QRect(p + moved, QSize(1, 1));
            }
            QVERIFY(!ink[1].isEmpty() && (ink[1] - ink[0]).isEmpty());
            QCOMPARE(ink[1].boundingRect(), ink[0].boundingRect());
        }
    }
}

// A text's glyph pixels are kept by its place and words alone: they must not turn on the
// pixels beneath, which holds as long as Qt blends a glyph's coverage in proportion.
void tst_scene::glyphsOverAnyPixels()
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

// A renderer that drew and measured one skin draws and measures the next as a new one does:
// what it keeps to spare work (the panels beneath the bars, drawings within a box, parts
// seen under each vision) never stands in for what changed.
void tst_scene::redrawnAsNew_data()
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

void tst_scene::redrawnAsNew()
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

QTEST_MAIN(tst_scene)
#include "tst_scene.moc"
