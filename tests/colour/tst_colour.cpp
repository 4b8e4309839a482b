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
    void vision();
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

// CSS Color 4's OKLCH of the sRGB primaries and white (hue < 0: none), there and back.
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
}

// The severity 1.0 matrices of Machado et al. (2009) on the primaries, alone and in a
// picture; greys stay grey.
void tst_colour::vision()
{
    const QRgb primaries[] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)};
    for (const auto &[vision, seen] :
         {std::pair{Vision::Protanopia,
                    std::array{qRgb(109, 95, 0), qRgb(255, 229, 0), qRgb(0, 89, 255)}},
          {Vision::Deuteranopia, {qRgb(163, 144, 0), qRgb(239, 214, 58), qRgb(0, 61, 251)}},
          {Vision::Tritanopia, {qRgb(255, 0, 15), qRgb(0, 247, 217), qRgb(0, 107, 150)}},
          {Vision::Achromatopsia, {qRgb(127, 127, 127), qRgb(220, 220, 220), qRgb(76, 76, 76)}},
          {Vision::Normal, {primaries[0], primaries[1], primaries[2]}}}) {
        QImage picture(3, 1, QImage::Format_RGB32);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(simulateVision(primaries[i], vision), seen[size_t(i)]);
            picture.setPixel(i, 0, primaries[i]);
        }
        simulateVision(picture, vision);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(picture.pixel(i, 0), seen[size_t(i)]);
        QCOMPARE(simulateVision(qRgb(128, 128, 128), vision), qRgb(128, 128, 128));
    }
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
