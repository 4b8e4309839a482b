#include "cli/CommandLine.h"
#include "cli/DrawingInput.h"
#include "cli/Render.h"
#include "cli/SkinCheck.h"

#include "scene/SceneRenderer.h"

#include "skin/Conversions.h"

#include "colour/OkLab.h"

#include "platform/Fonts.h"

#include "common/CommandRun.h"
#include "common/EditorSession.h"

#include <QPainter>
#include <QRegularExpression>

using namespace Qt::Literals::StringLiterals;

// The tasks that draw skins as the preview window does, and that check, mend and suggest.
class tst_tasks : public QObject
{
    Q_OBJECT

private slots:
    void renderedAsShown_data();
    void renderedAsShown();
    void batches_data();
    void batches();
    void checks_data();
    void checks();
    void mending();
    void suggestionsAndVisions();
};

void tst_tasks::renderedAsShown_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("format"); // of the background picture; empty for none
    QTest::addColumn<QByteArray>("skin");
    const QByteArray skin = ProgramFolder::factorySkin().replace("0x99", "0x4C");
    QTest::newRow("colour scene, skinning text") << u"skinning"_s << QByteArray() << skin;
    QTest::newRow("over a bitmap") << u"skinning"_s << QByteArray("BMP") << skin;
    QTest::newRow("over a JPEG") << u"actual"_s << QByteArray("JPEG") << skin;
    // The rest comes from the factory skin, in the window and on the command line alike.
    QTest::newRow("a skin of one item")
        << u"actual"_s << QByteArray("BMP") << QByteArray("RectBg = 0x4C102030\r\n");
}

// --render draws what the preview window shows, pixel for pixel, beside a running
// program whose working files it leaves alone.
void tst_tasks::renderedAsShown()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, format);
    const QImage picture = QImage(VELLOX_PHOTOS "/chelsea.jpg"_L1).scaled(300, 200);
    Opened s;
    QFETCH(QByteArray, skin);
    const QString skinFile = s.outside(u"my.ini"_s, skin);
    s.dialogs.chosenFiles << skinFile;
    s.trigger("loadskin");
    QStringList arguments{u"--render"_s, skinFile, u"-o"_s, s.elsewhere.filePath(u"o.png"_s),
                          u"--text"_s,   text};
    if (!format.isEmpty()) {
        const QByteArray bytes = encoded(picture, format);
        arguments << u"--background"_s << s.outside(u"picture.data"_s, bytes);
        s.importPicture(s.outside(format == "BMP" ? u"p.bmp"_s : u"p.jpg"_s, bytes));
        // Kept on purpose: a JPEG is kept as a bitmap, in temp.jpg.
        QVERIFY(s.folder.read(format == "BMP" ? u"temp2.bmp"_s : u"temp.jpg"_s).startsWith("BM"));
    }
    s.click(text == "actual"_L1 ? "Option2" : "Option1");
    const auto before = s.folder.contents();
    const Finished run = vellox(s.folder, arguments);
    QCOMPARE(run.err, QString());
    QCOMPARE(run.status, 0);
    QCOMPARE(s.folder.contents(), before);
    QWidget *shown = s.inPreview(format.isEmpty() ? "Picture1" : "Picture2");
    QVERIFY(shown->isVisibleTo(s.preview()));
    QCOMPARE(QImage(s.elsewhere.filePath(u"o.png"_s)).convertToFormat(QImage::Format_RGB32),
             shown->grab().toImage().convertToFormat(QImage::Format_RGB32));
}

void tst_tasks::batches_data()
{
    QTest::addColumn<QStringList>("options"); // for every drawing alike
    QTest::newRow("gradient") << QStringList();
    QTest::newRow("picture, actual texts, a vision")
        << QStringList{u"--background"_s, u"pic.jpg"_s,  u"--text"_s,
                       u"actual"_s,       u"--vision"_s, u"deuteranopia"_s};
}

// Several skins in one run, into a folder or onto one sheet, are drawn with the same
// pixels as each alone, whatever the skin drawn before.
void tst_tasks::batches()
{
    QFETCH(QStringList, options);
    ProgramFolder folder;
    const QStringList skins{u"dark.ini"_s, u"one.item.ini"_s, u"default.ini"_s, u"s/light.ini"_s,
                            u"dark2.ini"_s};
    const QStringList pictures{u"dark"_s, u"one.item"_s, u"default"_s, u"light"_s, u"dark2"_s};
    folder.write(skins[0], factoryWith("TextColor = 0xFFDCE3EE", "TextColor = 0xFF203040"));
    folder.write(skins[1], "RectBg = 0x4C102030\r\n");
    folder.write(skins[3], factoryWith("BgColor1 = 0xFF1B2A41", "BgColor1 = 0xFFF0F0F0"));
    folder.write(skins[4], folder.read(skins[0]));
    folder.write(u"pic.jpg"_s, encodedPicture(qRgb(200, 40, 90), "JPEG", {640, 480}));
    QDir(folder.dir().path()).mkdir(u"out"_s);
    const auto draw = [&](const QString &task, const QStringList &which, const QString &to) {
        return vellox(folder, QStringList{task} + which + options + QStringList{u"-o"_s, to})
            .status;
    };
    QCOMPARE(draw(u"--render"_s, skins, u"out"_s), 0);
    QCOMPARE(draw(u"--gallery"_s, skins, u"sheet.png"_s), 0);
    const QImage sheet(folder.file(u"sheet.png"_s));
    // Two rows, of four and of one, each scene with a strip below it for its name.
    QCOMPARE(sheet.size(), QSize(8 + 4 * 488, 8 + 2 * (360 + 24 + 8)));
    for (int i = 0; i < skins.size(); ++i) {
        const QString alone = u"alone%1.png"_s.arg(i);
        QCOMPARE(draw(u"--render"_s, {skins[i]}, alone), 0);
        QCOMPARE(folder.read(u"out/"_s + pictures[i] + u".png"_s), folder.read(alone));
        const QRect scene(8 + i % 4 * 488, 8 + i / 4 * 392, 480, 360);
        QCOMPARE(sheet.copy(scene), QImage(folder.file(alone)).convertToFormat(sheet.format()));
        // The strip below holds the skin's name as given, in black on the sheet's white,
        // from 4 pixels in, in the middle of its top 23 rows.
        QImage caption(480, 24, sheet.format());
        caption.fill(Qt::white);
        QPainter painter(&caption);
        painter.setFont(layoutFont(12));
        painter.drawText(QRect(4, 0, 472, 23), Qt::AlignLeft | Qt::AlignVCenter, skins[i]);
        painter.end();
        QCOMPARE(sheet.copy(scene.x(), scene.bottom() + 1, 480, 24), caption);
    }
}

void tst_tasks::checks_data()
{
    QTest::addColumn<QByteArray>("skin"); // null: no file
    // Each problem's beginning, "LINE: severity: text", a line each; {mo} for the item
    // "Menu Outline" (RectOutline).
    QTest::addColumn<QString>("said");
    QTest::addColumn<bool>("withFactory");
    const auto row = [](const char *name, const QByteArray &skin, const char *said,
                        bool factory = true) {
        QTest::newRow(name) << skin << QString::fromUtf8(said) << factory;
    };
    const QByteArray f = ProgramFolder::factorySkin(),
                     noTitle = factoryWith("TitleColor = 0xFFF2F5FA\r\n", "");
    const auto mo = [](const QByteArray &code) {
        return factoryWith("RectOutline = 0xFF5B8DEF", "RectOutline" + code);
    };
    row("factory skin", f, "");
    row("LF line ends", QByteArray(f).replace("\r\n", "\n"), "1: error: the lines end in LF alone");
    row("byte order mark", "\xEF\xBB\xBF" + f,
        "1: warning: the file starts with a UTF-8 byte order mark, which Vellox reads as part of "
        "the first key, so \"BG Color 1\"\n0: warning: \"BG Color 1\" (BgColor1) is not set");
    row("empty", "", "0: error: the file is empty");
    row("binary", encodedPicture(qRgb(1, 2, 3), "PNG"), "0: error: the file is a PNG picture");
    row("UTF-16", "\xFF\xFE" + QByteArray(QStringEncoder(QStringEncoder::Utf16LE)(QString(f))),
        "0: error: the file is UTF-16 text");
    row("no skin", "hello\r\n", "0: error: no line sets a colour item: this is not a skin file");
    row("skipped lines", "BgColor1=0xFF000000\r\nRectBgg = 0x80102030\r\nColour = 0x1\r\n" + f,
        "1: warning: line skipped: \"BG Color 1\" (BgColor1) is read only with exactly one "
        "space\n2: warning: line skipped: \"RectBgg\" is no item of a skin; did you mean "
        "\"RectBg\"?\n3: warning: line skipped: \"Colour\" is no item of a skin");
    row("no file", QByteArray(), "0: error: Cannot read");
    row("set twice", f + "RectOutline = 0xFF5B8DE0\r\n",
        "23: warning: {mo} is set again; Vellox uses this line's \"0xFF5B8DE0\", not line 6's");
    row("seven digits", mo(" = 0xFF5B8DE"),
        "6: warning: {mo} = 0xFF5B8DE: it has 7 digits after \"0x\", not 8; Vellox reads it as "
        "0xFF5B8D0E");
    row("six digits", mo(" = 0xFF5B8D"), "6: error: {mo} = 0xFF5B8D: it has no blue digits");
    row("#RRGGBB", mo(" = #5B8DEF"),
        "6: error: {mo} = #5B8DEF: it has no blue digits; it is written as #RRGGBB; a skin "
        "writes colours as 0xAARRGGBB, here 0xFF5B8DEF");
    row("#RGB", mo(" = #5BE"),
        "6: error: {mo} = #5BE: it has no red digits; it is written as #RRGGBB; a skin writes "
        "colours as 0xAARRGGBB, here 0xFF55BBEE");
    row("#AARRGGBB", mo(" = #805BE0EF"),
        "6: warning: {mo} = #805BE0EF: it is written as #AARRGGBB; a skin writes colours as "
        "0xAARRGGBB, here 0x805BE0EF");
    row("# and no colour", mo(" = #5BGG"),
        "6: error: {mo} = #5BGG: the red \"G\" is not hexadecimal; it starts with \"#\"; a "
        "skin writes colours as 0xAARRGGBB");
    row("the largest opaque decimal", mo(" = 16777215"),
        "6: error: {mo} = 16777215: it has no blue digits; it is a decimal number; a skin writes "
        "colours as 0xAARRGGBB, here 0xFFFFFFFF");
    row("a decimal past 32 bits", mo(" = 99999999999"),
        "6: warning: {mo} = 99999999999: it is a decimal number; a skin writes colours as "
        "0xAARRGGBB");
    row("no 0x", mo(" = FF5B8DEF12"),
        "6: warning: {mo} = FF5B8DEF12: it starts with \"FF\" where a skin has \"0x\"");
    row("decimal", mo(" = 4284190191"),
        "6: warning: {mo} = 4284190191: it is a decimal number; a skin writes colours as "
        "0xAARRGGBB, here 0xFF5B8DEF");
    row("empty code", mo(" = "), "6: error: {mo}: the code is empty");
    row("tabs around =", mo("\t=\t0xFF5B8DEF"),
        "6: warning: line skipped: {mo} is read only with exactly one space either side of "
        "\"=\" and no tab\n0: warning: {mo} is not set");
    row("key without code", mo(""),
        "6: warning: line skipped: {mo} has no \" = \" and no code\n0: warning: {mo} is not set");
    // The one error of a short file first, then what it leaves unset, in one line.
    row("four lines",
        "BgColor1 = 0xFF000000\r\nTitleColor = 0xFFGG0000\r\n"
        "RectBg = 0x80102030\r\nTextColor = 0xFFFFFFFF\r\n",
        "2: error: \"Title Color\" (TitleColor) = 0xFFGG0000: the red \"GG\" is not "
        "hexadecimal\n0: warning: \"BG Color 2\" (BgColor2), \"Title Shadow\" (Shadow), ");
    row("control bytes", mo(QByteArray(" = 0xFF5B\0\001EF", 13)),
        "6: error: {mo} = 0xFF5B\\x00\\x01EF: the green \"\\x00\\x01\" is not hexadecimal");
    const QByteArray zz = factoryWith("MenuBgColor = 0xCC", "MenuBgColor = 0xZZ");
    row("opacity not hexadecimal", zz,
        "17: warning: \"Pop-Up BG Color\" (MenuBgColor) = 0xZZ101B2D: the opacity \"ZZ\"\n20: "
        "warning: \"Not Supported Color\" (NotSupported) reads 3.8:1 on the gradient (4.5:1 "
        "wanted)");
    // A text left to the factory skin that reads badly comes after the file's lines.
    row("unset and hard to read", QByteArray(zz).replace("NotSupported = 0xFF7A8799\r\n", ""),
        "17: warning: \"Pop-Up BG Color\" (MenuBgColor) = 0xZZ101B2D: the opacity \"ZZ\"\n0: "
        "warning: \"Not Supported Color\" (NotSupported) reads 3.8:1 on the gradient\n0: warning: "
        "\"Not Supported Color\" (NotSupported) is not set");
    row("dark text", factoryWith("TextColor = 0xFFDCE3EE", "TextColor = 0xFF203040"),
        "7: warning: \"Text Color\" (TextColor) reads 1.0:1 on the gradient (4.5:1 wanted)");
    row("an item left to the factory", noTitle,
        "0: warning: \"Title Color\" (TitleColor) is not set; it keeps the factory colour "
        "0xFFF2F5FA");
    row("no factory skin to fill in", noTitle,
        "0: error: \"Title Color\" (TitleColor) is not set, and the factory skin cannot "
        "give it: Cannot read",
        false);
}

// What the check says of a skin, and that the render draws it exactly when the check
// finds no error.
void tst_tasks::checks()
{
    QFETCH(QByteArray, skin);
    QFETCH(QString, said);
    QFETCH(bool, withFactory);
    ProgramFolder folder;
    if (!skin.isNull())
        folder.write(u"s.ini"_s, skin);
    if (!withFactory)
        QFile::remove(folder.file(u"default.ini"_s));
    const FactorySkin factory(folder.file(u"default.ini"_s));
    SceneRenderer renderer;
    StillPicture none;
    QStringList seen;
    // The parts that look alike, which the factory skin has too, are the command line's.
    for (const SkinProblem &p : checkSkin(folder.file(u"s.ini"_s), factory, renderer, none))
        if (!p.text.startsWith("with "_L1))
            seen << u"%1: %2: %3"_s.arg(p.line).arg(
                p.severity == SkinProblem::Error ? "error" : "warning", p.text);
    const QStringList expected = said.replace("{mo}"_L1, "\"Menu Outline\" (RectOutline)"_L1)
                                     .split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(seen.size(), expected.size());
    for (qsizetype i = 0; i < seen.size(); ++i)
        QVERIFY2(seen[i].startsWith(expected[i]), qPrintable(seen[i]));

    const bool drawable = !said.contains(": error: "_L1);
    CommandLine render;
    render.skin = folder.file(u"s.ini"_s);
    render.output = folder.file(u"o.png"_s);
    QCOMPARE(renderSkin(render, factory), drawable ? 0 : 1);
    QCOMPARE(folder.exists(u"o.png"_s), drawable);
}

namespace {

// What --fix said in `err`, mending `in` into `out` over `picture`, holds of the file it
// wrote: each text changed keeps its hue where it has one, each "still reads" is what
// --check finds, and each pair it made look alike is told.
void toldTruly(const ProgramFolder &folder, const QString &in, const QString &out,
               const QString &picture, const QString &err)
{
    static const QRegularExpression changed(u"reads [^:]*: 0xFF(\\w{6}) -> 0xFF(\\w{6})"_s),
        still(u"(\\(\\w+\\)) still (reads \\S+ on the \\w+)"_s),
        alike(u"warning: (with .*) differ by .*they look alike"_s);
    for (auto it = changed.globalMatch(err); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const OkLch from = okLchOf(QRgb(m.captured(1).toUInt(nullptr, 16))),
                    to = okLchOf(QRgb(m.captured(2).toUInt(nullptr, 16)));
        QVERIFY2(from.chroma < 0.03 || std::abs(std::remainder(to.hue - from.hue, 360.0)) < 3,
                 qPrintable(m.captured(0)));
    }
    const auto checked = [&](const QString &skin) {
        return QString::fromUtf8(
            vellox(folder, {u"--check"_s, u"--background"_s, picture, skin}).out);
    };
    const QString after = checked(out), before = checked(in);
    for (auto it = still.globalMatch(err); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        QVERIFY2(after.contains(m.captured(1) + u' ' + m.captured(2)), qPrintable(after));
    }
    for (auto it = alike.globalMatch(after); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        QVERIFY2(before.contains(m.captured(1)) || err.contains(u"once mended, "_s + m.captured(1)),
                 qPrintable(m.captured(0)));
    }
}

} // namespace

// --fix changes the codes of the texts it mends and no other byte, and what it says of
// them holds.
void tst_tasks::mending()
{
    ProgramFolder folder;
    const QByteArray skin = "; my skin\rtextcolor = 0xff203040 = old\r\n" +
                            factoryWith("TextColor = 0xFFDCE3EE\r\n", "") +
                            "MenuTitleColor = 0x80101010";
    folder.write(u"mine.ini"_s, skin);
    folder.write(u"pic.jpg"_s, encodedPicture(qRgb(20, 40, 30), "JPEG", {640, 480}));
    QCOMPARE(vellox(folder, "--fix mine.ini --background pic.jpg -o fixed.ini").status, 0);
    // Only the red, green and blue digits of the two dark texts changed.
    const QByteArray fixed = folder.read(u"fixed.ini"_s);
    QByteArray expected = skin;
    expected.replace(26, 6, fixed.mid(26, 6)).replace(skin.size() - 6, 6, fixed.right(6));
    QCOMPARE(fixed, expected);
    QVERIFY(fixed.mid(26, 6) != skin.mid(26, 6) && fixed.right(6) != skin.right(6));
    QVERIFY(!vellox(folder, "--check --background pic.jpg fixed.ini").out.contains(" reads "));
    // Standard output carries the skin alone, the report goes beside it.
    const Finished toOutput = vellox(folder, "--fix mine.ini --background pic.jpg -o -");
    QVERIFY(toOutput.out == fixed && toOutput.err.count(u" -> "_s) == 2 && toOutput.status == 0);
    // Over white, the gradient dark and the panels at no opacity, what is at odds is named.
    folder.write(u"white.bmp"_s, encodedPicture(qRgb(255, 255, 255), "BMP"));
    folder.write(u"bare.ini"_s, factoryWith("RectBg = 0x99", "RectBg = 0x00"));
    const Finished odds = vellox(folder, "--fix bare.ini --background white.bmp -o -");
    folder.write(u"odds.ini"_s, odds.out);
    toldTruly(folder, u"bare.ini"_s, u"odds.ini"_s, u"white.bmp"_s, odds.err);
    QVERIFY2(odds.status == 1 &&
                 odds.err.contains("(SelectedTextColor) reads 2.0:1 on the picture, and reads "
                                   "well on the gradient or on the picture, not both: raise "
                                   "\"Select Item Color\"'s opacity, or change the gradient\n"_L1),
             qPrintable(odds.err));
    // --panels: each panel at the lowest opacity at which its texts read well, which leaves
    // on a photograph only the texts on the bare picture, and they fail the command. A
    // bare text no colour makes read on the picture reads well on the gradient.
    QVERIFY(QFile::copy(VELLOX_PHOTOS "/astronaut.jpg"_L1, folder.file(u"astronaut.jpg"_s)));
    folder.write(u"black.ini"_s, factoryWith("TitleColor = 0xFFF2F5FA", "TitleColor = 0xFF000000"));
    const Finished raised =
        vellox(folder, "--fix black.ini --background astronaut.jpg --panels -o r.ini");
    for (const char *told :
         {"(TitleColor) reads 1.0:1 on the gradient: 0xFF000000 -> 0xFFFFFFFF, which reads well "
          "on the gradient and as well as its hue can on the picture (no colour reads better than "
          "1.3:1 on the picture: the text lies on the bare picture)\n",
          "(TitleColor) still reads 1.3:1 on the picture\n",
          "(RectBg) at 62 %, the lowest opacity at which its texts can read well: 0x99223A5E -> "
          "0x9E223A5E\n"})
        QVERIFY2(raised.status == 1 && raised.err.contains(QLatin1String(told)),
                 qPrintable(raised.err));
    toldTruly(folder, u"black.ini"_s, u"r.ini"_s, u"astronaut.jpg"_s, raised.err);
    const QByteArray left = vellox(folder, "--check --background astronaut.jpg r.ini").out;
    QVERIFY2(left.count(" wanted; ") == 2 && left.count("the text lies on the bare picture") == 2 &&
                 left.contains("(TitleColor) reads 1.3:1 on the picture (4.5:1 wanted; no colour "
                               "reads better than 1.3:1 there: the text lies on the bare "
                               "picture)\n"),
             left.constData());
    // Panels nearly clear, under texts mended by hue: each raised, never lowered, to where
    // its texts read well in the colours written, and one percent less does not do.
    static const QRegularExpression panels(
        u"(?m)^(RectBg|MenuBgColor|SelectColor|ChangeColor) = 0x.."_s),
        texts(u"(?m)^(TextColor|SelectedTextColor|ChangeTextColor|MenuSelectedColor) = 0x.{8}"_s);
    QString clear = QString::fromLatin1(ProgramFolder::factorySkin());
    clear.replace(panels, u"\\1 = 0x10"_s).replace(texts, u"\\1 = 0xFFC08040"_s);
    folder.write(u"clear.ini"_s, clear.toLatin1());
    const Finished mended =
        vellox(folder, "--fix clear.ini --background astronaut.jpg --panels -o c.ini");
    static const QRegularExpression raise(
        u"\\((\\w+)\\) at (\\d+) %, the lowest [^:]*: 0x(..)\\S* -> 0x(..)"_s);
    toldTruly(folder, u"clear.ini"_s, u"c.ini"_s, u"astronaut.jpg"_s, mended.err);
    const qsizetype hard =
        vellox(folder, "--check --background astronaut.jpg c.ini").out.count(" reads ");
    int raisedPanels = 0;
    for (auto it = raise.globalMatch(mended.err); it.hasNext(); ++raisedPanels) {
        const QRegularExpressionMatch m = it.next();
        QVERIFY2(m.captured(3).toInt(nullptr, 16) < m.captured(4).toInt(nullptr, 16),
                 qPrintable(mended.err));
        QString less = QString::fromLatin1(folder.read(u"c.ini"_s));
        less.replace(QRegularExpression(u"(?m)^"_s + m.captured(1) + u" = 0x.."_s),
                     u"%1 = 0x%2"_s.arg(m.captured(1))
                         .arg(int(opacityByte(std::int16_t(m.captured(2).toInt() - 1))), 2, 16,
                              QChar(u'0')));
        folder.write(u"less.ini"_s, less.toLatin1());
        QVERIFY2(
            vellox(folder, "--check --background astronaut.jpg less.ini").out.count(" reads ") >
                hard,
            qPrintable(m.captured(0)));
    }
    QVERIFY2(raisedPanels == 4, qPrintable(mended.err));
}

// --suggest writes the same skin every time, and it reads well; --vision draws what the
// viewer sees; --check tells busy backgrounds.
void tst_tasks::suggestionsAndVisions()
{
    ProgramFolder folder;
    folder.write(u"pic.jpg"_s, encodedPicture(qRgb(20, 40, 30), "JPEG", {640, 480}));
    const QByteArray suggested = vellox(folder, "--suggest pic.jpg -o - --variant 2").out;
    QCOMPARE(vellox(folder, "--suggest pic.jpg -o - --variant 2").out, suggested);
    folder.write(u"s.ini"_s, suggested);
    QVERIFY(!vellox(folder, "--check --background pic.jpg s.ini").out.contains(" reads "));
    QVERIFY(suggested.endsWith("\r\n\r\nZantho Skin created with Vellox v1.6.1 Beta 1\r\n"));
    QCOMPARE(suggested.count("\r\n"), 22);
    QCOMPARE(vellox(folder, "--render s.ini -o grey.bmp --vision achromatopsia").status, 0);
    const QImage grey(folder.file(u"grey.bmp"_s));
    for (int y = 0; y < grey.height(); ++y)
        for (int x = 0; x < grey.width(); ++x)
            QVERIFY(qRed(grey.pixel(x, y)) == qBlue(grey.pixel(x, y)));
    // Over a finely textured photograph --check tells busy backgrounds beside the figures,
    // and what calms each: the title's shadow, the panel beneath, or nothing.
    QFile::copy(QStringLiteral(VELLOX_PHOTOS "/camera.jpg"), folder.file(u"camera.jpg"_s));
    // A shadow of the title's own tone is a lever; the factory's, opposite, is pulled.
    folder.write(u"same.ini"_s, "Shadow = 0xFFFFFFFF\r\n");
    const QByteArray busy =
        vellox(folder, "--check --background camera.jpg default.ini same.ini").out;
    for (const char *told :
         {"same.ini: warning: \"Title Color\" (TitleColor): busy background on the picture "
          "(RMS contrast 0.97; 0.15 slows reading): give \"Title Shadow\" the tone opposite the "
          "title's\n",
          "default.ini:3: warning: \"Title Color\" (TitleColor): busy background on the picture "
          "(RMS contrast 0.97; 0.15 slows reading): only the picture itself calms it\n",
          "busy background on the picture (RMS contrast 1.04; 0.15 slows reading): raise \"Menu "
          "BG\"'s opacity\n",
          ": busy background on the picture (RMS contrast 0.41; 0.15 slows reading): only the "
          "picture itself calms it\n"})
        QVERIFY2(busy.contains(told), busy.constData());
    // A suggestion calms what a panel can calm, even in the dark look, whose panels calm
    // only near opaque.
    // And the vivid look over a night launch made gaudy, whose bars the parts' search moves
    // after the panels were calmed.
    QImage gaudy(QStringLiteral(VELLOX_PHOTOS "/rocket.jpg"));
    for (int y = 0; y < gaudy.height(); ++y)
        for (int x = 0; x < gaudy.width(); ++x) {
            const QColor c = gaudy.pixelColor(x, y).toHsv();
            gaudy.setPixelColor(x, y,
                                QColor::fromHsv((c.hsvHue() + 252) % 360,
                                                std::min(255, c.hsvSaturation() * 9 / 5),
                                                c.value()));
        }
    QVERIFY(gaudy.save(folder.file(u"gaudy.png"_s)));
    for (const auto &[picture, look] : {std::pair{"camera.jpg", "2"}, {"gaudy.png", "3"}}) {
        QCOMPARE(vellox(folder,
                        QByteArray("--suggest ") + picture + " --variant " + look + " -o calm.ini")
                     .status,
                 0);
        QVERIFY2(!vellox(folder, QByteArray("--check --background ") + picture + " calm.ini")
                      .out.contains("reading): raise"),
                 picture);
    }
    // Between two tenths, the reference simulation's colour (tests/colour keeps its rows),
    // which truncates where we round: 51, 204, 153 is 149, 195, 152 at protanomaly 0.35.
    folder.write(u"g.ini"_s, "BgColor1 = 0xFF33CC99\r\nBgColor2 = 0xFF33CC99\r\n");
    QCOMPARE(vellox(folder, "--render g.ini -o p.bmp --vision protanomaly --severity 0.35").status,
             0);
    const QRgb seen = QImage(folder.file(u"p.bmp"_s)).pixel(2, 2);
    for (const auto &[got, reference] :
         {std::pair{qRed(seen), 149}, {qGreen(seen), 195}, {qBlue(seen), 152}})
        QVERIFY2(got - reference == 0 || got - reference == 1,
                 qPrintable(QString::number(seen, 16)));
}

QTEST_MAIN(tst_tasks)
#include "tst_tasks.moc"
