#include "skin/ColourTable.h"
#include "skin/Conversions.h"
#include "skin/SkinFile.h"
#include "skin/SkinItems.h"

#include "common/ProgramFolder.h"

#include "platform/Error.h"

#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

// The opacity digits of 0 to 100 %, ten to a line.
const char OpacityDigits[] = "000305080A0D0F121417"
                             "1A1C1F212426292B2E30"
                             "3336383B3D404245474A"
                             "4C4F525457595C5E6163"
                             "66696B6E707375787A7D"
                             "7F8285878A8C8F919496"
                             "999C9EA1A3A6A8ABADB0"
                             "B2B5B8BABDBFC2C4C7C9"
                             "CCCFD1D4D6D9DBDEE0E3"
                             "E5E8EBEDF0F2F5F7FAFC"
                             "FF";

constexpr int NoError = 0;
const QString Untouched = u"<untouched>"_s;
const QByteArray Comment = "\r\nZantho Skin created with Vellox v1.6.1 Beta 1\r\n";

// A distinct code in every colour row.
ColourTable filledTable()
{
    ColourTable table;
    for (int row = 0; row < ItemCount; ++row) {
        if (SkinItems[size_t(row)].isColour())
            table.set(row, u"0x%1A0B0C0"_s.arg(row, 2, 10, QLatin1Char('0')));
    }
    return table;
}

template <typename F> int errorOf(F &&f)
{
    try {
        f();
        return NoError;
    } catch (const Error &e) {
        return e.code();
    }
}

} // namespace

class tst_skin : public QObject
{
    Q_OBJECT

private slots:
    void everyPercentageThroughTheByteAndBack();
    void decoding_data();
    void decoding();
    void lenientHex_data();
    void lenientHex();
    void reader_data();
    void reader();
    void writtenBytesReadBack();
    void packageSkin_data();
    void packageSkin();
};

void tst_skin::everyPercentageThroughTheByteAndBack()
{
    const QString digits = QString::fromLatin1(OpacityDigits);
    for (int o = 0; o <= 100; ++o) {
        for (int c : {0, 15, 16, 128, 255}) {
            const auto u8 = static_cast<std::uint8_t>(c);
            const QString code = codeFromColour(static_cast<std::int16_t>(o), u8, u8, u8);
            QCOMPARE(code.left(4), "0x"_L1 + digits.mid(o * 2, 2));
            QCOMPARE(code.size(), 10);
            QCOMPARE(colourFromCode(code), std::optional<Components>({o, c, c, c}));
        }
    }
    QCOMPARE(codeFromColour(6, 15, 16, 255), u"0x0F0F10FF"_s);
}

void tst_skin::decoding_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QList<int>>("parts"); // opacity, red, green, blue
    QTest::addColumn<int>("error");
    QTest::addColumn<int>("display");
    QTest::addColumn<float>("opacity");
    using L = QList<int>;
    QTest::newRow("upper case") << u"0xFF102030"_s << L{100, 16, 32, 48} << NoError << 3153936
                                << 1.0f;
    QTest::newRow("lower case, 7f")
        << u"0x7fabcdef"_s << L{50, 171, 205, 239} << NoError << 0xEFCDAB << 0.5f;
    QTest::newRow("80 reads 50 %") << u"0x80000000"_s << L{50, 0, 0, 0} << NoError << 0 << 0.5f;
    QTest::newRow("02 reads 1 %") << u"0x02000000"_s << L{1, 0, 0, 0} << NoError << 0 << 0.01f;
    QTest::newRow("30 % is the single 0.3")
        << u"0x4CFF8000"_s << L{30, 255, 128, 0} << NoError << 0x0080FF << 0.3f;
    QTest::newRow("prefix not read") << u"&HFE000000"_s << L{100, 0, 0, 0} << NoError << 0 << 1.0f;
    QTest::newRow("opacity read leniently")
        << u"0xZZ000000"_s << L{0, 0, 0, 0} << NoError << 0 << 0.0f;
    QTest::newRow("one blue digit") << u"0xFF00000"_s << L{100, 0, 0, 0} << NoError << 0 << 1.0f;
    QTest::newRow("tail ignored") << u"0xFF010203  x"_s << L{100, 1, 2, 3} << NoError << 0x030201
                                  << 1.0f;
    QTest::newRow("green not hex") << u"0xFF00GG00"_s << L{} << int(Error::TypeMismatch) << 0
                                   << 0.0f;
    QTest::newRow("no blue digits") << u"0xFF0000"_s << L{} << int(Error::TypeMismatch) << 0
                                    << 0.0f;
    QTest::newRow("space in a pair") << u"0xFF 00000"_s << L{} << int(Error::TypeMismatch) << 0
                                     << 0.0f;
    QTest::newRow("empty code") << QString() << L{} << int(Error::SubscriptOutOfRange) << 0 << 0.0f;
}

void tst_skin::decoding()
{
    QFETCH(QString, code);
    QFETCH(QList<int>, parts);
    QFETCH(int, error);
    QFETCH(int, display);
    QFETCH(float, opacity);
    ColourTable table;
    table.set(Row::RectBg, code);
    if (error == NoError) {
        QCOMPARE(colourFromCode(code),
                 std::optional<Components>({parts[0], parts[1], parts[2], parts[3]}));
        QCOMPARE(displayColourOf(table, Row::RectBg), display);
        QCOMPARE(opacityOf(table, Row::RectBg), opacity);
    } else {
        // The empty code has no components; the lookups fail for want of the first one.
        QCOMPARE(errorOf([&] { QCOMPARE(colourFromCode(code), std::nullopt); }),
                 error == Error::TypeMismatch ? error : NoError);
        QCOMPARE(errorOf([&] { displayColourOf(table, Row::RectBg); }), error);
        QCOMPARE(errorOf([&] { opacityOf(table, Row::RectBg); }), error);
    }
    QCOMPARE(errorOf([&] { displayColourOf(table, ItemCount); }), int(Error::SubscriptOutOfRange));
}

void tst_skin::lenientHex_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value"); // -1: overflow
    QTest::newRow("empty") << QString() << 0;
    QTest::newRow("1a") << u"1a"_s << 26;
    QTest::newRow("G1") << u"G1"_s << 1;
    QTest::newRow("largest") << u"7FFFFFFF"_s << 0x7FFFFFFF;
    QTest::newRow("one past") << u"80000000"_s << -1;
}

void tst_skin::lenientHex()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    if (value >= 0)
        QCOMPARE(::lenientHex(text), value);
    else
        QCOMPARE(errorOf([&] { ::lenientHex(text); }), int(Error::Overflow));
}

void tst_skin::reader_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("row2");
    QTest::newRow("lower-case key") << QStringList{u"bgcolor1 = 0xff000000"_s} << u"0xff000000"_s;
    QTest::newRow("upper-case key") << QStringList{u"BGCOLOR1 = 0xFF000000"_s} << u"0xFF000000"_s;
    QTest::newRow("no spaces") << QStringList{u"BgColor1=0xFF000000"_s} << Untouched;
    QTest::newRow("two spaces before =") << QStringList{u"BgColor1  = 0xFF000000"_s} << Untouched;
    QTest::newRow("leading space") << QStringList{u" BgColor1 = 0xFF000000"_s} << Untouched;
    QTest::newRow("second separator")
        << QStringList{u"BgColor1 = 0xFF000000 = x"_s} << u"0xFF000000"_s;
    QTest::newRow("separators back to back") << QStringList{u"BgColor1 = = x"_s} << u"= x"_s;
    QTest::newRow("trailing spaces kept")
        << QStringList{u"BgColor1 = 0xFF0000FF  "_s} << u"0xFF0000FF  "_s;
    QTest::newRow("empty code") << QStringList{u"BgColor1 = "_s} << QString();
    QTest::newRow("key alone") << QStringList{u"BgColor1"_s} << Untouched;
    QTest::newRow("later line wins") << QStringList{u"BgColor1 = 1"_s, u"bgColor1 = 2"_s} << u"2"_s;
    QTest::newRow("other lines skipped")
        << QStringList{u"background = background.bmp"_s, u"DrawTitle = 1"_s, QString()}
        << Untouched;
}

void tst_skin::reader()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, row2);
    ColourTable table = filledTable();
    const ColourTable before = table;
    table.set(Row::BgColour1, Untouched);
    for (const QString &line : lines)
        applySkinLine(line, table);
    for (int row = 0; row < ItemCount; ++row)
        QCOMPARE(table.at(row), row == Row::BgColour1 ? row2 : before.at(row));
}

void tst_skin::writtenBytesReadBack()
{
    ProgramFolder folder(ProgramFolder::Content::Empty);
    ColourTable table = filledTable();
    table.set(Row::BgColour1, u"0xffaabbcc"_s);
    table.set(Row::NotSupported, QString());
    folder.write(u"out.ini"_s, QByteArray(100000, 'x'));
    writeWorkingSkin(folder.file(u"out.ini"_s), skinText(table));

    const QByteArray bytes = folder.read(u"out.ini"_s);
    const QList<QByteArray> lines = bytes.split('\n');
    QCOMPARE(lines.size(), 23); // 22 lines and nothing after the last CR LF
    QCOMPARE(bytes.count('\r'), 22);
    QCOMPARE(bytes.count("\r\n"), 22);
    QCOMPARE(lines[0], "BgColor1 = 0xffaabbcc\r");
    QCOMPARE(lines[3], "Shadow = 0x13A0B0C0\r");
    QVERIFY(bytes.endsWith("NotSupported = \r\n" + Comment));

    ColourTable back;
    readSkinFile(folder.file(u"out.ini"_s), back);
    for (int row = 0; row < ItemCount; ++row)
        QCOMPARE(back.at(row), table.at(row));
}

void tst_skin::packageSkin_data()
{
    QTest::addColumn<bool>("jpg");
    QTest::addColumn<bool>("bmp");
    QTest::addColumn<QByteArray>("expected");
    const QByteArray plain = "k = 1\r\n" + Comment;
    const QByteArray withBg = "k = 1\r\nbackground = background.bmp\r\n" + Comment;
    QTest::newRow("no picture") << false << false << plain;
    QTest::newRow("jpeg picture") << true << false << plain;
    QTest::newRow("bitmap picture") << false << true << withBg;
    QTest::newRow("both pictures") << true << true << plain + withBg;
}

void tst_skin::packageSkin()
{
    QFETCH(bool, jpg);
    QFETCH(bool, bmp);
    QFETCH(QByteArray, expected);
    ProgramFolder folder(ProgramFolder::Content::Empty);
    writePackageSkin(folder.file(u"skin.ini"_s), u"k = 1"_s, {jpg, bmp});
    writePackageSkin(QString(), u"k = 1"_s, {jpg, bmp});
    QCOMPARE(folder.read(u"skin.ini"_s), expected);
    QCOMPARE(folder.tree(), QStringList{u"skin.ini"_s});
}

QTEST_GUILESS_MAIN(tst_skin)
#include "tst_skin.moc"
