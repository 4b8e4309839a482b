#include "readability/Readability.h"
#include "readability/SkinSuggestion.h"
#include "readability/SuggestionLooks.h"
#include "readability/TellingApart.h"
#include "scene/Scene.h"
#include "scene/SceneRenderer.h"

#include "skin/Conversions.h"
#include "skin/SkinFile.h"
#include "skin/SkinLint.h"

#include "colour/Ciede2000.h"
#include "colour/OkLab.h"
#include "colour/Srgb.h"

#include "common/DrawnScenes.h"
#include "common/ProgramFolder.h"

#include <QtTest>

#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace {

// One of the photographs kept for the tests, by its name; none for no name.
StillPicture photograph(const QString &name)
{
    return StillPicture(name.isEmpty() ? QImage()
                                       : QImage(VELLOX_PHOTOS "/"_L1 + name + ".jpg"_L1));
}

// Mended texts are lighter or darker of the same hue, nothing else changed, and read well
// drawn again, on photographs too; a panel that no hue mends reads well at the opacity
// offered, not one percent less. `renderer` has drawn `skin` over `picture`.
void verifyMended(SceneRenderer &renderer, const ColourTable &skin, BackgroundPicture &picture,
                  Readability::Scenes scenes)
{
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

} // namespace

// What reads well where, what mends it, parts told apart, and the looks suggested.
class tst_readability : public QObject
{
    Q_OBJECT

private slots:
    void figures_data();
    void figures();
    void readability_data();
    void readability();
    void busyBackgrounds_data();
    void busyBackgrounds();
    void partsTellApart_data();
    void partsTellApart();
    void partsAsRendered_data();
    void partsAsRendered();
    void medianOfParts();
    void suggestions_data();
    void suggestions();
    void tonesOfTints();
    void lightOrDark();
};

// A figure is the 5th-percentile contrast, nearest rank: a few stray pixels do not decide
// it, a twentieth of its own luminance does. The best figure is the most any ink reaches.
void tst_readability::figures_data()
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

void tst_readability::figures()
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
// shown, each section label apart; then mended.
void tst_readability::readability_data()
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

void tst_readability::readability()
{
    QFETCH(QString, photo);
    QFETCH(QByteArray, to);
    ColourTable skin;
    readSkinBytes(factoryWith("TextColor = 0xFFDCE3EE", to), skin);
    StillPicture picture = photograph(photo);
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
    verifyMended(renderer, skin, picture, scenes);
}

// How busy a text's background is: the RMS contrast of the luminances of its glyph box
// where neither it nor the title's shadow changes the scene. On smooth gradients and
// plain colours nothing is busy, the title's own shadow included; over photographs the
// figure agrees with the scene as drawn.
void tst_readability::busyBackgrounds_data()
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

void tst_readability::busyBackgrounds()
{
    QFETCH(QString, photo);
    QFETCH(QByteArray, lines);
    StillPicture picture = photograph(photo);
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
            QTEST(r.overBusy(), "titleBusy");
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

// A pair of parts differs as their colours as drawn, seen with each vision, differ: the
// bars' fills where opaque, the texts' colours on their glyphs. A bar blended faintly
// differs from one of the same colour laid on opaque.
void tst_readability::partsTellApart_data()
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

void tst_readability::partsTellApart()
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

namespace {

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
void tst_readability::partsAsRendered_data()
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

void tst_readability::partsAsRendered()
{
    QFETCH(QString, photo);
    QFETCH(int, look);
    QFETCH(double, severity);
    StillPicture picture = photograph(photo);
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

// Each channel apart, the middle value, the upper of two.
void tst_readability::medianOfParts()
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
void tst_readability::tonesOfTints()
{
    for (const OkLch &tint : {OkLch{0.5, 0.1, 30}, {0.5, 0.02, 30}, {0.5, 0.1, 200}, {0, 0.1, 30}})
        for (int step : {0, 420, 1000})
            QCOMPARE(tonesOf(tint)[size_t(step)],
                     nearestInGamut({step / 1000.0, tint.chroma, tint.hue}));
}

namespace {

// A light, dark or muted look's gradient leaves its tone only as far as a bare text
// needs: a little back towards the look, one no longer reads on it.
void verifyGradientOfLook(const ColourTable &skin, int variant)
{
    for (int row : {Row::BgColour1, Row::BgColour2}) {
        const OkLch at = okLchOf(QRgb(skin.at(row).toUInt(nullptr, 16)));
        const double bound = std::array{0.75, 0.35, -1.0, 0.6}[size_t(variant - 1)];
        if (variant == 2 ? at.lightness <= bound : at.lightness >= bound)
            continue;
        ColourTable back = skin;
        const double nearer = at.lightness + (bound - at.lightness) * 0.5;
        const QRgb c = nearestInGamut(
            {std::abs(nearer - at.lightness) < 0.04 ? bound : nearer, at.chroma, at.hue});
        back.set(row, codeFromBytes(0xFF, std::uint8_t(qRed(c)), std::uint8_t(qGreen(c)),
                                    std::uint8_t(qBlue(c))));
        SceneRenderer renderer;
        StillPicture none;
        renderer.redraw(back, none);
        const QList<TextReading> bare =
            Readability(renderer, Readability::Scenes::ColourOnly).hardToRead();
        QVERIFY2(
            std::any_of(bare.begin(), bare.end(),
                        [](const TextReading &r) { return panelBeneath(r.role) < 0; }),
            qPrintable(u"look %1, gradient %2 at %3"_s.arg(variant).arg(row).arg(at.lightness)));
    }
}

} // namespace

void tst_readability::suggestions_data()
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
void tst_readability::suggestions()
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
        verifyGradientOfLook(skin, variant);
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

// Light is where black text reads better than white: past the geometric mean of the
// contrast's ends, a luminance of about 0.179, not half way.
void tst_readability::lightOrDark()
{
    QVERIFY(!isLight(qRgb(0x74, 0x74, 0x74)));
    QVERIFY(isLight(qRgb(0x76, 0x76, 0x76)));
}

QTEST_MAIN(tst_readability)
#include "tst_readability.moc"
