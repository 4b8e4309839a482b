#include "skin/ColorTable.h"
#include "skin/Conversions.h"
#include "skin/SkinFile.h"
#include "skin/SkinItems.h"

#include "common/ProgramFolder.h"
#include "common/ScriptedDialogs.h"

#include "platform/Error.h"

#include <QtTest>

using namespace Qt::Literals::StringLiterals;

Q_DECLARE_METATYPE(Components)

namespace {

// The opacity digits for 0..100 %, as users of the program have always seen them.
const char *const OpacityDigits[] = {
    "00", "03", "05", "08", "0A", "0D", "0F", "12", "14", "17", "1A", "1C", "1F", "21", "24",
    "26", "29", "2B", "2E", "30", "33", "36", "38", "3B", "3D", "40", "42", "45", "47", "4A",
    "4C", "4F", "52", "54", "57", "59", "5C", "5E", "61", "63", "66", "69", "6B", "6E", "70",
    "73", "75", "78", "7A", "7D", "7F", "82", "85", "87", "8A", "8C", "8F", "91", "94", "96",
    "99", "9C", "9E", "A1", "A3", "A6", "A8", "AB", "AD", "B0", "B2", "B5", "B8", "BA", "BD",
    "BF", "C2", "C4", "C7", "C9", "CC", "CF", "D1", "D4", "D6", "D9", "DB", "DE", "E0", "E3",
    "E5", "E8", "EB", "ED", "F0", "F2", "F5", "F7", "FA", "FC", "FF",
};

const QStringList FileKeys = {
    "BgColor1"_L1,
    "BgColor2"_L1,
    "TitleColor"_L1,
    "Shadow"_L1,
    "RectBg"_L1,
    "RectOutline"_L1,
    "TextColor"_L1,
    "SelectColor"_L1,
    "SelectOutline"_L1,
    "ChangeColor"_L1,
    "ChangeOutline"_L1,
    "ChangeTextColor"_L1,
    "SelectedTextColor"_L1,
    "BottomTextColor"_L1,
    "SectionTextColor"_L1,
    "MenuTitleColor"_L1,
    "MenuBgColor"_L1,
    "MenuOutlineColor"_L1,
    "MenuSelectedColor"_L1,
    "NotSupported"_L1,
};

// A table with a distinct code in every colour row.
ColorTable filledTable()
{
    ColorTable table;
    for (int row = 0; row < ItemCount; ++row) {
        if (SkinItems[static_cast<size_t>(row)].isColor())
            table.set(row, u"0x%1A0B0C0"_s.arg(row, 2, 10, QLatin1Char('0')));
    }
    return table;
}

} // namespace

class tst_skin : public QObject
{
    Q_OBJECT

private slots:
    void itemTable();

    void rgbtohexMapsEveryPercentage();
    void rgbtohex_data();
    void rgbtohex();
    void everyPercentageSurvivesTheByte();

    void hextorgb_data();
    void hextorgb();
    void hextorgbFailures_data();
    void hextorgbFailures();
    void hextodec_data();
    void hextodec();
    void hextodecOverflow();

    void setColorAndTrans_data();
    void setColorAndTrans();
    void setColorFailures_data();
    void setColorFailures();

    void readerLines_data();
    void readerLines();
    void readerKeepsOtherRows();
    void readerLfOnlyFileIsOneLine();
    void readerMissingFileThrows();

    void skinTextOrder();
    void writersBytes();
    void writerReplacesLongerFile();
    void writerEmptyPathWritesNothing();
    void saveINIConfirms();
    void packageWriter_data();
    void packageWriter();
    void writtenFileReadsBack();
    void writerFailureNamesThePath();
};

void tst_skin::itemTable()
{
    QCOMPARE(SkinItems.size(), size_t(31));
    int colors = 0;
    QList<int> translucent;
    for (int row = 0; row < ItemCount; ++row) {
        const SkinItem &item = SkinItems[static_cast<size_t>(row)];
        if (item.isColor()) {
            ++colors;
            QCOMPARE(rowOfKey(item.key.toString()), row);
            QCOMPARE(rowOfKey(item.key.toString().toUpper()), row);
        } else {
            QVERIFY(item.key.isEmpty());
        }
        if (item.isTranslucent())
            translucent << row;
    }
    QCOMPARE(colors, 20);
    QCOMPARE(translucent, (QList<int>{4, 13, 17, 20, 27}));
    QCOMPARE(rowOfKey(u" bgcolor1"), -1);
    QCOMPARE(rowOfKey(u"bgcolor1 "), -1);
    QCOMPARE(rowOfKey(u""), -1);
}

void tst_skin::rgbtohexMapsEveryPercentage()
{
    for (int o = 0; o <= 100; ++o)
        QCOMPARE(::rgbtohex(static_cast<std::int16_t>(o), 0, 0, 0),
                 "0x"_L1 + QLatin1String(OpacityDigits[o]) + "000000"_L1);
}

void tst_skin::rgbtohex_data()
{
    QTest::addColumn<int>("o");
    QTest::addColumn<int>("r");
    QTest::addColumn<int>("g");
    QTest::addColumn<int>("b");
    QTest::addColumn<QString>("code");
    QTest::newRow("all zero") << 0 << 0 << 0 << 0 << u"0x00000000"_s;
    QTest::newRow("opaque white") << 100 << 255 << 255 << 255 << u"0xFFFFFFFF"_s;
    QTest::newRow("padded single digits") << 6 << 15 << 16 << 255 << u"0x0F0F10FF"_s;
    QTest::newRow("30 % tie goes to even") << 30 << 1 << 2 << 3 << u"0x4C010203"_s;
    QTest::newRow("70 % tie goes to even") << 70 << 0 << 0 << 0 << u"0xB2000000"_s;
    QTest::newRow("10 % tie goes to even") << 10 << 0 << 0 << 0 << u"0x1A000000"_s;
    QTest::newRow("opaque red") << 100 << 255 << 0 << 0 << u"0xFFFF0000"_s;
}

void tst_skin::rgbtohex()
{
    QFETCH(int, o);
    QFETCH(int, r);
    QFETCH(int, g);
    QFETCH(int, b);
    QFETCH(QString, code);
    QCOMPARE(::rgbtohex(static_cast<std::int16_t>(o), static_cast<std::uint8_t>(r),
                        static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(b)),
             code);
}

void tst_skin::everyPercentageSurvivesTheByte()
{
    for (int o = 0; o <= 100; ++o) {
        for (int c : {0, 1, 15, 16, 127, 128, 254, 255}) {
            const auto u8 = static_cast<std::uint8_t>(c);
            const QString code = ::rgbtohex(static_cast<std::int16_t>(o), u8, u8, u8);
            QCOMPARE(code.size(), 10);
            QCOMPARE(::hextorgb(code), std::optional<Components>(Components{o, c, c, c}));
            QCOMPARE(opacityPercent(QStringView(code).mid(2, 2)), o);
        }
    }
}

void tst_skin::hextorgb_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<Components>("parts");
    QTest::newRow("upper case") << u"0xFF102030"_s << Components{100, 16, 32, 48};
    QTest::newRow("lower case, 7f is 50 %") << u"0x7fabcdef"_s << Components{50, 171, 205, 239};
    QTest::newRow("80 is 50 % too") << u"0x80000000"_s << Components{50, 0, 0, 0};
    QTest::newRow("01 is 0 %") << u"0x01000000"_s << Components{0, 0, 0, 0};
    QTest::newRow("02 is 1 %") << u"0x02000000"_s << Components{1, 0, 0, 0};
    QTest::newRow("FE is 100 %") << u"0xFE000000"_s << Components{100, 0, 0, 0};
    QTest::newRow("prefix not examined") << u"&HFF000000"_s << Components{100, 0, 0, 0};
    QTest::newRow("opacity digits lenient") << u"0xZZ000000"_s << Components{0, 0, 0, 0};
    QTest::newRow("single blue digit") << u"0xFF00000"_s << Components{100, 0, 0, 0};
    QTest::newRow("tail ignored") << u"0xFF010203  trailing"_s << Components{100, 1, 2, 3};
}

void tst_skin::hextorgb()
{
    QFETCH(QString, code);
    QFETCH(Components, parts);
    QCOMPARE(::hextorgb(code), std::optional<Components>(parts));
}

void tst_skin::hextorgbFailures_data()
{
    QTest::addColumn<QString>("code");
    QTest::newRow("green not hex") << u"0xFF00GG00"_s;
    QTest::newRow("no blue digits") << u"0xFF0000"_s;
    QTest::newRow("prefix only") << u"0x"_s;
    QTest::newRow("space inside a pair") << u"0xFF 00000"_s;
    QTest::newRow("sign inside a pair") << u"0xFF-1FFFF"_s;
}

void tst_skin::hextorgbFailures()
{
    QFETCH(QString, code);
    try {
        ::hextorgb(code);
        QFAIL("no error");
    } catch (const Error &e) {
        QCOMPARE(e.code(), Error::TypeMismatch);
    }
    QCOMPARE(::hextorgb(u""), std::nullopt);
}

void tst_skin::hextodec_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");
    QTest::newRow("empty") << QString() << 0;
    QTest::newRow("FF") << u"FF"_s << 255;
    QTest::newRow("1a") << u"1a"_s << 26;
    QTest::newRow("G1") << u"G1"_s << 1;
    QTest::newRow("Z") << u"Z"_s << 0;
    QTest::newRow("seven digits") << u"FFFFFFF"_s << 0xFFFFFFF;
    QTest::newRow("largest") << u"7FFFFFFF"_s << 0x7FFFFFFF;
    QTest::newRow("non-hex letters count 0") << u"xyz"_s << 0;
}

void tst_skin::hextodec()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    QCOMPARE(::hextodec(text), value);
}

void tst_skin::hextodecOverflow()
{
    for (const QString &text : {u"80000000"_s, u"FFFFFFFF"_s, QString(4000, u'F')}) {
        try {
            ::hextodec(text);
            QFAIL(qPrintable(text.left(20)));
        } catch (const Error &e) {
            QCOMPARE(e.code(), Error::Overflow);
        }
    }
}

void tst_skin::setColorAndTrans_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("color");
    QTest::addColumn<float>("trans");
    QTest::newRow("opaque") << u"0xFF102030"_s << 3153936 << 1.0f;
    QTest::newRow("80 is half") << u"0x80000000"_s << 0 << 0.5f;
    QTest::newRow("7F is half") << u"0x7F000000"_s << 0 << 0.5f;
    QTest::newRow("30 % is the single 0.3") << u"0x4CFF8000"_s << 0x0080FF << 0.3f;
    QTest::newRow("transparent white") << u"0x00FFFFFF"_s << 0xFFFFFF << 0.0f;
}

void tst_skin::setColorAndTrans()
{
    QFETCH(QString, code);
    QFETCH(int, color);
    QFETCH(float, trans);
    ColorTable table;
    table.set(Row::RectBg, code);
    QCOMPARE(SetColor(table, Row::RectBg), color);
    QCOMPARE(SetTrans(table, Row::RectBg), trans);
}

void tst_skin::setColorFailures_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("error");
    QTest::newRow("empty code") << 2 << QString() << int(Error::SubscriptOutOfRange);
    QTest::newRow("row -1") << -1 << QString() << int(Error::SubscriptOutOfRange);
    QTest::newRow("row 31") << 31 << QString() << int(Error::SubscriptOutOfRange);
    QTest::newRow("bad red") << 2 << u"0xFFXX0000"_s << int(Error::TypeMismatch);
}

void tst_skin::setColorFailures()
{
    QFETCH(int, row);
    QFETCH(QString, code);
    QFETCH(int, error);
    ColorTable table;
    if (row >= 0 && row < ItemCount)
        table.set(row, code);
    for (int call = 0; call < 2; ++call) {
        try {
            if (call == 0)
                SetColor(table, row);
            else
                SetTrans(table, row);
            QFAIL("no error");
        } catch (const Error &e) {
            QCOMPARE(int(e.code()), error);
        }
    }
}

void tst_skin::readerLines_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("row2");
    const QString untouched = u"<untouched>"_s;
    QTest::newRow("lower case key") << QStringList{u"bgcolor1 = 0xff000000"_s} << u"0xff000000"_s;
    QTest::newRow("upper case key") << QStringList{u"BGCOLOR1 = 0xFF000000"_s} << u"0xFF000000"_s;
    QTest::newRow("no spaces") << QStringList{u"BgColor1=0xFF000000"_s} << untouched;
    QTest::newRow("two spaces before =") << QStringList{u"BgColor1  = 0xFF000000"_s} << untouched;
    QTest::newRow("leading space") << QStringList{u" BgColor1 = 0xFF000000"_s} << untouched;
    QTest::newRow("second separator ends the code")
        << QStringList{u"BgColor1 = 0xFF000000 = x"_s} << u"0xFF000000"_s;
    QTest::newRow("trailing spaces kept")
        << QStringList{u"BgColor1 = 0xFF000000  "_s} << u"0xFF000000  "_s;
    QTest::newRow("empty code") << QStringList{u"BgColor1 = "_s} << QString();
    QTest::newRow("key alone") << QStringList{u"BgColor1"_s} << untouched;
    QTest::newRow("later line wins")
        << QStringList{u"BgColor1 = 0xFF111111"_s, u"bgColor1 = 0xFF222222"_s} << u"0xFF222222"_s;
    QTest::newRow("code stored unvalidated") << QStringList{u"BgColor1 = hello"_s} << u"hello"_s;
    QTest::newRow("separator right after separator")
        << QStringList{u"BgColor1 = = x"_s} << u"= x"_s;
    QTest::newRow("comment and background lines skipped")
        << QStringList{u"background = background.bmp"_s,
                       u"Zantho Skin created with Vellox v1.6.1 Beta 1"_s, QString()}
        << untouched;
}

void tst_skin::readerLines()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, row2);
    ColorTable table;
    table.set(Row::BgColor1, u"<untouched>"_s);
    for (const QString &line : lines)
        applySkinLine(line, table);
    QCOMPARE(table.at(Row::BgColor1), row2);
    for (int row = 0; row < ItemCount; ++row) {
        if (row != Row::BgColor1)
            QVERIFY(table.at(row).isEmpty());
    }
}

void tst_skin::readerKeepsOtherRows()
{
    ColorTable table = filledTable();
    const ColorTable before = table;
    applySkinLine(u"BgColor1 = 0xFF000000", table);
    for (int row = 0; row < ItemCount; ++row)
        QCOMPARE(table.at(row), row == Row::BgColor1 ? u"0xFF000000"_s : before.at(row));
}

void tst_skin::readerLfOnlyFileIsOneLine()
{
    ProgramFolder folder(ProgramFolder::Content::Empty);
    folder.write(u"lf.ini"_s, "BgColor1 = 0xFF010203\nBgColor2 = 0xFF040506\n");
    ColorTable table;
    readSkinFile(folder.file(u"lf.ini"_s), table);
    QCOMPARE(table.at(Row::BgColor1), u"0xFF010203\nBgColor2"_s);
    QCOMPARE(table.at(Row::BgColor2), QString());
    QCOMPARE(SetColor(table, Row::BgColor1), 0x030201);
    // Written back, the LF stays a character of the code.
    SaveINItemp(folder.file(u"back.ini"_s), skinText(table));
    QVERIFY(folder.read(u"back.ini"_s)
                .startsWith("BgColor1 = 0xFF010203\nBgColor2\r\nBgColor2 = \r\n"));
    ColorTable back;
    readSkinFile(folder.file(u"back.ini"_s), back);
    QCOMPARE(back.at(Row::BgColor1), table.at(Row::BgColor1));
}

void tst_skin::readerMissingFileThrows()
{
    ProgramFolder folder(ProgramFolder::Content::Empty);
    ColorTable table;
    try {
        readSkinFile(folder.file(u"missing.ini"_s), table);
        QFAIL("no error");
    } catch (const Error &e) {
        QCOMPARE(e.code(), Error::FileNotFound);
        QVERIFY(e.description().contains(u"missing.ini"_s));
    }
}

void tst_skin::skinTextOrder()
{
    const ColorTable table = filledTable();
    const QStringList lines = skinText(table).split(u"\r\n"_s);
    QCOMPARE(lines.size(), 20);
    for (int i = 0; i < 20; ++i) {
        const int row = rowOfKey(FileKeys[i]);
        QCOMPARE(lines[i], FileKeys[i] + " = "_L1 + table.at(row));
    }
    QCOMPARE(skinText(ColorTable()).split(u"\r\n"_s).first(), u"BgColor1 = "_s);
}

void tst_skin::writersBytes()
{
    ProgramFolder folder(ProgramFolder::Content::Empty);
    ColorTable table = filledTable();
    table.set(Row::BgColor1, u"0xffaabbcc"_s);
    table.set(Row::NotSupported, QString());
    const QString path = folder.file(u"out.ini"_s);
    SaveINItemp(path, skinText(table));

    const QByteArray bytes = folder.read(u"out.ini"_s);
    QVERIFY(bytes.endsWith("\r\n"));
    QCOMPARE(bytes.count("\r\n"), 22);
    QCOMPARE(bytes.count('\r'), 22);
    QCOMPARE(bytes.count('\n'), 22);
    const QList<QByteArray> lines = bytes.chopped(2).split('\n');
    QCOMPARE(lines.size(), 22);
    QCOMPARE(lines[0], "BgColor1 = 0xffaabbcc\r");
    QCOMPARE(lines[19], "NotSupported = \r");
    QCOMPARE(lines[20], "\r");
    QCOMPARE(lines[21], "Zantho Skin created with Vellox v1.6.1 Beta 1");
}

void tst_skin::writerReplacesLongerFile()
{
    ProgramFolder folder(ProgramFolder::Content::Empty);
    folder.write(u"out.ini"_s, QByteArray(100000, 'x'));
    SaveINItemp(folder.file(u"out.ini"_s), u"a\r\nb"_s);
    QCOMPARE(folder.read(u"out.ini"_s),
             "a\r\nb\r\n\r\nZantho Skin created with Vellox v1.6.1 Beta 1\r\n");
}

void tst_skin::writerEmptyPathWritesNothing()
{
    ProgramFolder folder(ProgramFolder::Content::Empty);
    ScriptedDialogs dialogs;
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(folder.file(QString()));
    SaveINItemp(QString(), u"x"_s);
    SaveINI(QString(), u"x"_s, dialogs);
    SaveINItemp2(QString(), u"x"_s, {true, true});
    QDir::setCurrent(cwd);
    QCOMPARE(folder.entries(), QStringList());
    QCOMPARE(dialogs.messages, QStringList());
}

void tst_skin::saveINIConfirms()
{
    ProgramFolder folder(ProgramFolder::Content::Empty);
    ScriptedDialogs dialogs;
    const QString path = folder.file(u"my skin"_s);
    SaveINI(path, skinText(filledTable()), dialogs);
    QCOMPARE(dialogs.messages, QStringList{u"Skin.ini saved to "_s + path});
    QCOMPARE(folder.read(u"my skin"_s).count("\r\n"), 22);
}

void tst_skin::packageWriter_data()
{
    QTest::addColumn<bool>("jpg");
    QTest::addColumn<bool>("bmp");
    QTest::addColumn<QByteArray>("expected");
    const QByteArray plain = "k = 1\r\n\r\nZantho Skin created with Vellox v1.6.1 Beta 1\r\n";
    const QByteArray withBg = "k = 1\r\nbackground = background.bmp\r\n\r\nZantho Skin created "
                              "with Vellox v1.6.1 Beta 1\r\n";
    QTest::newRow("no picture") << false << false << plain;
    QTest::newRow("jpeg picture") << true << false << plain;
    QTest::newRow("bitmap picture") << false << true << withBg;
    QTest::newRow("both pictures") << true << true << plain + withBg;
}

void tst_skin::packageWriter()
{
    QFETCH(bool, jpg);
    QFETCH(bool, bmp);
    QFETCH(QByteArray, expected);
    ProgramFolder folder(ProgramFolder::Content::Empty);
    SaveINItemp2(folder.file(u"skin.ini"_s), u"k = 1"_s, {jpg, bmp});
    QCOMPARE(folder.read(u"skin.ini"_s), expected);
}

void tst_skin::writtenFileReadsBack()
{
    ProgramFolder folder(ProgramFolder::Content::Empty);
    ColorTable table = filledTable();
    table.set(Row::Shadow, u"0xb2000000"_s);
    table.set(Row::TextColor, QString());
    SaveINItemp(folder.file(u"t.ini"_s), skinText(table));
    ColorTable back;
    readSkinFile(folder.file(u"t.ini"_s), back);
    for (int row = 0; row < ItemCount; ++row)
        QCOMPARE(back.at(row), table.at(row));
}

void tst_skin::writerFailureNamesThePath()
{
    ProgramFolder folder(ProgramFolder::Content::Empty);
    const QString path = folder.file(u"no such folder/skin.ini"_s);
    try {
        SaveINItemp(path, u"x"_s);
        QFAIL("no error");
    } catch (const Error &e) {
        QVERIFY2(e.description().contains(path), qPrintable(e.description()));
    }
}

QTEST_GUILESS_MAIN(tst_skin)
#include "tst_skin.moc"
