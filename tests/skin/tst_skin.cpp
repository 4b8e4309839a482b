#include "skin/ColourTable.h"
#include "skin/Conversions.h"
#include "skin/SkinFile.h"
#include "skin/SkinItems.h"

#include "common/ProgramFolder.h"

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

const QString Untouched = u"<untouched>"_s;

} // namespace

class tst_skin : public QObject
{
    Q_OBJECT

private slots:
    void everyPercentageThroughTheByteAndBack();
    void reading_data();
    void reading();
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

void tst_skin::reading_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("code"); // what BgColor1 holds afterwards
    QTest::newRow("lower-case key") << QByteArray("bgcolor1 = 0xff000000") << u"0xff000000"_s;
    QTest::newRow("no spaces") << QByteArray("BgColor1=0xFF000000") << Untouched;
    QTest::newRow("two spaces before =") << QByteArray("BgColor1  = 0xFF000000") << Untouched;
    QTest::newRow("second separator") << QByteArray("BgColor1 = 0xFF000000 = x") << u"0xFF000000"_s;
    QTest::newRow("trailing spaces kept") << QByteArray("BgColor1 = 0xFF  \r\n") << u"0xFF  "_s;
    QTest::newRow("empty code") << QByteArray("BgColor1 = ") << QString();
    QTest::newRow("later line wins") << QByteArray("BgColor1 = 1\r\nbgColor1 = 2") << u"2"_s;
    QTest::newRow("other lines skipped")
        << QByteArray("background = background.bmp\r\nDrawTitle = 1\r\n\r\n") << Untouched;
    QTest::newRow("lone CR ends a line") << QByteArray("BgColor1 = 1\rRectBg = 2\r") << u"1"_s;
    QTest::newRow("lone CR begins a line") << QByteArray("RectBg = 2\rBgColor1 = 1") << u"1"_s;
    QTest::newRow("lone LF stays") << QByteArray("BgColor1 = 1\nRectBg = 2\n") << u"1\nRectBg"_s;
    QTest::newRow("LF CR") << QByteArray("BgColor1 = 1\n\rRectBg = 2") << u"1\n"_s;
    QTest::newRow("8-bit") << QByteArray("BgColor1 = \xe9\x00z", 14)
                           << QString::fromLatin1("\xe9\x00z", 3);
    // Codes as long as a file the reader takes can hold are cut, so that what the table is
    // written as is such a file too.
    const QString cut(ColourTable::LongestCode, u'A');
    QByteArray longCodes;
    for (int row : SkinFileOrder)
        longCodes += SkinItems[size_t(row)].key.toString().toLatin1() + " = " +
                     QByteArray(52000, 'A') + "\r\n";
    QTest::newRow("twenty long codes") << longCodes << cut;
    QTest::newRow("a code of a megabyte")
        << "BgColor1 = " + QByteArray(LargestSkinFile - 11, 'A') << cut;
}

void tst_skin::reading()
{
    QFETCH(QByteArray, bytes);
    ProgramFolder folder;
    folder.write(u"skin.ini"_s, bytes);
    ColourTable table;
    table.set(Row::BgColour1, Untouched);
    readSkinFile(folder.file(u"skin.ini"_s), table);
    QTEST(table.at(Row::BgColour1), "code");
    // Nothing but the rows of the keys read is touched.
    for (int row = 0; row < ItemCount; ++row) {
        if (row != Row::BgColour1 &&
            !bytes.toLower().contains(SkinItems[size_t(row)].key.toString().toLatin1().toLower() +
                                      " ="))
            QCOMPARE(table.at(row), QString());
    }
    // The working skin and a package skin with both its blocks read back as the table.
    writeWorkingSkin(folder.file(u"temp.ini"_s), skinText(table));
    writePackageSkin(folder.file(u"package.ini"_s), skinText(table), {.jpg = true, .bmp = true});
    for (const QString &written : {u"temp.ini"_s, u"package.ini"_s}) {
        ColourTable back;
        QVERIFY_THROWS_NO_EXCEPTION(readSkinFile(folder.file(written), back));
        QCOMPARE(back, table);
    }
}

QTEST_GUILESS_MAIN(tst_skin)
#include "tst_skin.moc"
