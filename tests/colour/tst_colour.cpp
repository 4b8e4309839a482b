#include "colour/Ciede2000.h"
#include "colour/OkLab.h"
#include "colour/Quantiser.h"
#include "colour/Srgb.h"
#include "colour/Vision.h"

#include <QtTest>

// Published test vectors of the formulas, and the quantiser's promises.
class tst_colour : public QObject
{
    Q_OBJECT

private slots:
    void contrast();
    void okLab();
    void vision_data();
    void vision();
    void visionPicture();
    void ciede2000_data();
    void ciede2000();
    void quantiser();
};

// WCAG 2.x: the examples of its understanding documents, and the channel round trip.
void tst_colour::contrast()
{
    QCOMPARE(qRound(contrastRatio(qRgb(0x99, 0x99, 0x99), qRgb(255, 255, 255)) * 100), 285);
    QCOMPARE(qRound(contrastRatio(qRgb(0xD8, 0xD8, 0xD8), qRgb(255, 255, 255)) * 100), 143);
    QCOMPARE(qRound(relativeLuminance(qRgb(255, 129, 0)) * 10000), 3696);
    QCOMPARE(contrastRatio(qRgb(0, 0, 0), qRgb(255, 255, 255)), 21.0);
    for (int v = 0; v < 256; ++v)
        QCOMPARE(encodeChannel(linearChannel(v)), v);
}

// CSS Color 4's OKLCH of the sRGB primaries and white (hue < 0: none), there and back;
// their CIELAB.
void tst_colour::okLab()
{
    for (const auto &[colour, lightness, chroma, hue] :
         {std::tuple{qRgb(255, 0, 0), 0.62796, 0.25768, 29.234},
          {qRgb(0, 255, 0), 0.86644, 0.29483, 142.495},
          {qRgb(0, 0, 255), 0.45201, 0.31321, 264.052},
          {qRgb(255, 255, 255), 1.0, 0.0, -1.0}}) {
        const OkLch lch = okLchOf(colour);
        QVERIFY(qAbs(lch.lightness - lightness) < 1e-4 && qAbs(lch.chroma - chroma) < 1e-4);
        QVERIFY(hue < 0 || qAbs(lch.hue - hue) < 0.01);
        // A chroma sRGB cannot show shrinks to one it can, lightness and hue kept.
        QCOMPARE(nearestInGamut(lch), colour);
        const OkLch shrunk = okLchOf(nearestInGamut({lch.lightness, lch.chroma + 0.2, lch.hue}));
        QVERIFY(hue < 0 || qAbs(shrunk.hue - hue) < 1.0);
        QVERIFY(shrunk.chroma <= lch.chroma + 0.2);
    }
    // CIELAB under D65.
    for (const auto &[colour, l, a, b] : {std::tuple{qRgb(255, 0, 0), 53.2408, 80.0925, 67.2032},
                                          {qRgb(0, 255, 0), 87.7347, -86.1827, 83.1793},
                                          {qRgb(0, 0, 255), 32.2970, 79.1875, -107.8602},
                                          {qRgb(255, 255, 255), 100.0, 0.0, 0.0}}) {
        const Lab lab = labOf(colour);
        QVERIFY(qAbs(lab.l - l) < 1e-3 && qAbs(lab.a - a) < 1e-3 && qAbs(lab.b - b) < 1e-3);
    }
}

namespace {

// The rows of one of the published tables kept beside this test, their numbers split.
QList<QByteArrayList> tableRows(const char *name, char separator)
{
    QFile file(QStringLiteral(VELLOX_COLOUR_REFERENCE "/") + QLatin1StringView(name));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("%s cannot be read", name);
    QList<QByteArrayList> rows;
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (!line.isEmpty() && !line.startsWith('#') && !line.startsWith("vision"))
            rows << line.simplified().split(separator);
    }
    return rows;
}

Vision visionNamed(const QByteArray &name)
{
    return *std::find_if(std::begin(Visions), std::end(Visions), [&](Vision v) {
        return name.compare(visionName(v), Qt::CaseInsensitive) == 0;
    });
}

} // namespace

// Every row of the reference outputs for protanopia, deuteranopia (Viénot et al. 1999),
// tritanopia (Brettel et al. 1997), protanomaly and deuteranomaly at every tenth and at
// 0.35, between two tabulated matrices (Machado et al. 2009). The reference truncates to
// 8 bits, we round: ours is its value or one above. Tritanomaly is tritanopia mixed with the colour
// in linear light, and achromatopsia the grey of the same luminance.
void tst_colour::vision_data()
{
    QTest::addColumn<Vision>("vision");
    QTest::addColumn<double>("severity");
    QTest::addColumn<QRgb>("colour");
    QTest::addColumn<QRgb>("seen");
    QTest::addColumn<int>("below");
    QTest::addColumn<int>("above");
    for (const QByteArrayList &r : tableRows("colour-vision.csv", ',')) {
        const QList<QByteArray> kind = r[0].split('-');
        const QRgb colour = qRgb(r[2].toInt(), r[3].toInt(), r[4].toInt());
        const QRgb seen = qRgb(r[5].toInt(), r[6].toInt(), r[7].toInt());
        const double severity = kind.size() > 1 ? kind[1].toDouble() : 1.0;
        QTest::addRow("%s %s %s %s", r[0].data(), r[2].data(), r[3].data(), r[4].data())
            << visionNamed(kind[0]) << severity << colour << seen << 0 << 1;
        // Tritanomaly at tenths from the least to the most where tritanopia stays in gamut:
        // the reference's light (the middle of its truncated value) that far of the way
        // from the colour's.
        for (const double tenths : {0.1, 0.3, 0.6, 0.9}) {
            int mixed[3];
            for (int i = 0; i < 3; ++i) {
                const int was = r[2 + i].toInt(), to = r[5 + i].toInt();
                const double light = (linearChannel(to) + linearChannel(to + 1)) / 2;
                mixed[i] = to > 0 && to < 254
                               ? encodeChannel((1 - tenths) * linearChannel(was) + tenths * light)
                               : -9;
            }
            if (kind[0] == "tritanopia" && std::min({mixed[0], mixed[1], mixed[2]}) >= 0)
                QTest::addRow("tritanomaly %g %s %s %s", tenths, r[2].data(), r[3].data(),
                              r[4].data())
                    << Vision::Tritanomaly << tenths << colour << qRgb(mixed[0], mixed[1], mixed[2])
                    << -1 << 1;
        }
    }
    const QRgb red = qRgb(255, 0, 0), green = qRgb(0, 255, 0), blue = qRgb(0, 0, 255);
    for (const auto &[colour, grey] : {std::pair{red, 127}, {green, 220}, {blue, 76}})
        QTest::addRow("achromatopsia %06x", colour & 0xFFFFFF)
            << Vision::Achromatopsia << 1.0 << colour << qRgb(grey, grey, grey) << 0 << 0;
    QTest::newRow("normal") << Vision::Normal << 0.5 << red << red << 0 << 0;
    // Severities outside 0.1 to 0.9 are the nearest of them.
    QTest::newRow("protanomaly 0") << Vision::Protanomaly << 0.0 << red
                                   << simulateVision(red, Vision::Protanomaly, 0.1) << 0 << 0;
    QTest::newRow("deuteranomaly 3") << Vision::Deuteranomaly << 3.0 << green
                                     << simulateVision(green, Vision::Deuteranomaly, 0.9) << 0 << 0;
}

void tst_colour::vision()
{
    QFETCH(Vision, vision);
    QFETCH(double, severity);
    QFETCH(QRgb, colour);
    QFETCH(QRgb, seen);
    QFETCH(int, below);
    QFETCH(int, above);
    const QRgb got = simulateVision(colour, vision, severity);
    for (const int shift : {16, 8, 0}) {
        const int off = int((got >> shift) & 0xFF) - int((seen >> shift) & 0xFF);
        QVERIFY2(off >= below && off <= above, qPrintable(QString::number(got, 16)));
    }
}

// A picture is seen pixel by pixel as its colours alone are, in runs and alone, its
// opacity kept; every grey stays itself at every severity.
void tst_colour::visionPicture()
{
    QImage picture(5, 2, QImage::Format_ARGB32);
    const QRgb colours[] = {qRgba(200, 30, 30, 255), qRgba(200, 30, 30, 128),
                            qRgba(20, 200, 240, 255), qRgba(20, 200, 240, 255), qRgba(9, 9, 9, 0)};
    for (int x = 0; x < 10; ++x)
        picture.setPixel(x % 5, x / 5, colours[x < 5 ? x : x * 3 % 5]);
    for (Vision vision : Visions) {
        for (int grey = 0; grey < 256 * 9; ++grey)
            QCOMPARE(simulateVision(qRgb(grey % 256, grey % 256, grey % 256), vision,
                                    0.1 + grey / 256 * 0.1),
                     qRgb(grey % 256, grey % 256, grey % 256));
        QImage seen = picture;
        simulateVision(seen, vision, 0.4);
        for (int x = 0; x < 10; ++x)
            QCOMPARE(seen.pixel(x % 5, x / 5),
                     simulateVision(picture.pixel(x % 5, x / 5), vision, 0.4));
    }
}

// The 34 pairs of Sharma, Wu & Dalal (2005), Table 1, to 4 decimals, both ways round.
void tst_colour::ciede2000_data()
{
    QTest::addColumn<QList<double>>("pair");
    int n = 0;
    for (const QByteArrayList &r : tableRows("ciede2000-sharma.txt", ' ')) {
        QList<double> v;
        for (const QByteArray &field : r)
            v << field.toDouble();
        QTest::addRow("pair %d", ++n) << v;
        QTest::addRow("pair %d reversed", n)
            << QList<double>{v[3], v[4], v[5], v[0], v[1], v[2], v[6]};
    }
    QCOMPARE(n, 34);
}

void tst_colour::ciede2000()
{
    QFETCH(QList<double>, pair);
    QCOMPARE(
        qRound(::ciede2000(Lab{pair[0], pair[1], pair[2]}, Lab{pair[3], pair[4], pair[5]}) * 1e4),
        qRound(pair[6] * 1e4));
}

void tst_colour::quantiser()
{
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(qRgb(30, 60, 90));
    QList<ColourCluster> one = quantise(picture, 8);
    QCOMPARE(one.size(), 1);
    QCOMPARE(one[0].pixels, 1200);
    QCOMPARE(one[0].colour, qRgb(30, 60, 90));
    // Three colours in three amounts, and a gradient of many: heaviest first, counts that
    // add up, the same every time.
    for (int x = 0; x < 40; ++x)
        for (int y = 0; y < 30; ++y)
            picture.setPixel(x, y,
                             x < 20   ? qRgb(200, 30, 30)
                             : y < 10 ? qRgb(20, 200, 40)
                                      : qRgb(30, 60, 90));
    const QList<ColourCluster> three = quantise(picture, 8);
    QCOMPARE(three.size(), 3);
    QCOMPARE((QList<qint64>{three[0].pixels, three[1].pixels, three[2].pixels}),
             (QList<qint64>{600, 400, 200}));
    QCOMPARE(three[0].colour, qRgb(200, 30, 30));
    for (int x = 0; x < 40; ++x)
        for (int y = 0; y < 30; ++y)
            picture.setPixel(x, y, qRgb(x * 6, y * 8, (x * y) % 256));
    const QList<ColourCluster> many = quantise(picture, 8);
    QCOMPARE(many.size(), 8);
    qint64 total = 0;
    for (qsizetype i = 0; i < many.size(); ++i) {
        total += many[i].pixels;
        QVERIFY(i == 0 || many[i - 1].pixels >= many[i].pixels);
        const ColourCluster again = quantise(picture, 8)[i];
        QCOMPARE(again.pixels, many[i].pixels);
        QCOMPARE(again.colour, many[i].colour);
    }
    QCOMPARE(total, 1200);
}

QTEST_MAIN(tst_colour)
#include "tst_colour.moc"
