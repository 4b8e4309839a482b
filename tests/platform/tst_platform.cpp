#include "platform/Dialogs.h"
#include "platform/DisplayColor.h"
#include "platform/Error.h"
#include "platform/Files.h"
#include "platform/Numeric.h"
#include "platform/Pictures.h"
#include "platform/QtDialogs.h"
#include "platform/Slider.h"

#include "common/ProgramFolder.h"
#include "common/ScriptedDialogs.h"

#include <QBuffer>
#include <QtEndian>
#include <QSignalSpy>
#include <QtTest>

#include <sys/stat.h>

using namespace Qt::Literals::StringLiterals;

namespace {

QImage testPicture(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x * 7 % 256, y * 13 % 256, (x + y) % 256));
    return image;
}

QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

bool runningAsRoot()
{
    return ::geteuid() == 0;
}

} // namespace

class tst_platform : public QObject
{
    Q_OBJECT

private slots:
    void roundsHalfToEven_data();
    void roundsHalfToEven();
    void mid1_data();
    void mid1();
    void displayColorRoundTrip();

    void fileExists();
    void lineRule_data();
    void lineRule();
    void readsHugeAndHostileFiles();
    void readMissingOrUnreadable();
    void writeKeepsEveryByte();
    void createFolderOnlyOne();
    void deleteFailureNamesPath();

    void picturesByContent_data();
    void picturesByContent();
    void pictureSaveIsExactBmp();
    void bitmapVariantsDecodeAsQtDoes_data();
    void bitmapVariantsDecodeAsQtDoes();
    void pictureRefusals_data();
    void pictureRefusals();

    void commonDialogRemembersLastFile();
    void qtFilters();

    void sliderReportsOnlyUserMovement();
};

void tst_platform::roundsHalfToEven_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<qint64>("rounded");
    QTest::newRow("0.5") << 0.5 << qint64(0);
    QTest::newRow("1.5") << 1.5 << qint64(2);
    QTest::newRow("25.5") << 25.5 << qint64(26);
    QTest::newRow("76.5") << 76.5 << qint64(76);
    QTest::newRow("127.5") << 127.5 << qint64(128);
    QTest::newRow("-2.5") << -2.5 << qint64(-2);
    QTest::newRow("just below half") << 127.49999999999999 << qint64(127);
    QTest::newRow("50 * 2.55") << 50 * 2.55 << qint64(127);
}

void tst_platform::roundsHalfToEven()
{
    QFETCH(double, value);
    QFETCH(qint64, rounded);
    QCOMPARE(roundHalfEven(value), rounded);
}

void tst_platform::mid1_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("piece");
    QTest::newRow("inside") << u"0xAABBCCDD"_s << 3 << 2 << u"AA"_s;
    QTest::newRow("last pair") << u"0xAABBCCDD"_s << 9 << 2 << u"DD"_s;
    QTest::newRow("half a pair") << u"0xAABBCCD"_s << 9 << 2 << u"D"_s;
    QTest::newRow("past the end") << u"0xAA"_s << 5 << 2 << QString();
    QTest::newRow("empty text") << QString() << 3 << 2 << QString();
}

void tst_platform::mid1()
{
    QFETCH(QString, text);
    QFETCH(int, start);
    QFETCH(int, length);
    QFETCH(QString, piece);
    QCOMPARE(::mid1(text, start, length).toString(), piece);
}

void tst_platform::displayColorRoundTrip()
{
    QCOMPARE(toQRgb(0x0000FF), qRgb(255, 0, 0));
    QCOMPARE(toQRgb(3153936), qRgb(0x10, 0x20, 0x30));
    for (QRgb rgb : {qRgb(1, 2, 3), qRgb(255, 128, 0), qRgb(0, 0, 255)})
        QCOMPARE(toQRgb(fromQRgb(rgb)), rgb);
}

void tst_platform::fileExists()
{
    ProgramFolder folder(ProgramFolder::Content::Empty);
    folder.write(u"plain.ini"_s, "x");
    folder.write(u".hidden.ini"_s, "x");
    QDir(folder.file(QString())).mkdir(u"folder.ini"_s);
    QVERIFY(FileExists(folder.file(u"plain.ini"_s)));
    QVERIFY(!FileExists(QString()));
    QVERIFY(!FileExists(folder.file(u"missing.ini"_s)));
    QVERIFY(!FileExists(folder.file(u"folder.ini"_s)));
    QVERIFY(!FileExists(folder.file(u".hidden.ini"_s)));
}

void tst_platform::lineRule_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("empty") << QByteArray() << QStringList();
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("lone CR") << QByteArray("a\rb\r") << QStringList{"a", "b"};
    QTest::newRow("lone LF stays") << QByteArray("a\nb\n") << QStringList{"a\nb\n"};
    QTest::newRow("last line unterminated") << QByteArray("a\r\nb") << QStringList{"a", "b"};
    QTest::newRow("empty lines kept") << QByteArray("\r\n\r\na") << QStringList{"", "", "a"};
    QTest::newRow("LF CR") << QByteArray("a\n\rb") << QStringList{"a\n", "b"};
    QTest::newRow("only CRs") << QByteArray(3, '\r') << QStringList{"", "", ""};
    QTest::newRow("8-bit bytes") << QByteArray("\xe9\xff\x00z", 4)
                                 << QStringList{QString::fromLatin1("\xe9\xff\x00z", 4)};
}

void tst_platform::lineRule()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QCOMPARE(splitLines8bit(bytes), lines);

    // The same through a file, where a CR LF may straddle two reads.
    ProgramFolder folder(ProgramFolder::Content::Empty);
    folder.write(u"f"_s, bytes);
    QStringList read;
    readLines8bit(folder.file(u"f"_s), [&](const QString &l) { read << l; });
    QCOMPARE(read, lines);
}

void tst_platform::readsHugeAndHostileFiles()
{
    ProgramFolder folder(ProgramFolder::Content::Empty);
    QByteArray straddling(64 * 1024 - 1, 'x');
    straddling += "\r\ny\r";
    folder.write(u"straddle"_s, straddling);
    QStringList read;
    readLines8bit(folder.file(u"straddle"_s), [&](const QString &l) { read << l; });
    QCOMPARE(read.size(), 2);
    QCOMPARE(read[0].size(), 64 * 1024 - 1);
    QCOMPARE(read[1], u"y"_s);

    folder.write(u"long"_s, QByteArray(10 * 1024 * 1024, 'k'));
    qsizetype longest = 0;
    readLines8bit(folder.file(u"long"_s), [&](const QString &l) { longest = l.size(); });
    QCOMPARE(longest, 10 * 1024 * 1024);

    folder.write(u"crs"_s, QByteArray(200000, '\r'));
    int count = 0;
    readLines8bit(folder.file(u"crs"_s), [&](const QString &) { ++count; });
    QCOMPARE(count, 200000);
}

void tst_platform::readMissingOrUnreadable()
{
    ProgramFolder folder(ProgramFolder::Content::Empty);
    const auto noop = [](const QString &) {};
    try {
        readLines8bit(folder.file(u"missing"_s), noop);
        QFAIL("no error");
    } catch (const Error &e) {
        QCOMPARE(e.code(), Error::FileNotFound);
        QVERIFY(e.description().contains(folder.file(u"missing"_s)));
    }
    try {
        readLines8bit(folder.file(QString()), noop);
        QFAIL("a folder read as a file");
    } catch (const Error &) {
    }
    if (runningAsRoot())
        QSKIP("permissions do not bind root");
    folder.write(u"locked"_s, "x");
    QFile::setPermissions(folder.file(u"locked"_s), QFileDevice::Permissions());
    try {
        readLines8bit(folder.file(u"locked"_s), noop);
        QFAIL("no error");
    } catch (const Error &e) {
        QCOMPARE(e.code(), Error::PathFileAccess);
    }
}

void tst_platform::writeKeepsEveryByte()
{
    ProgramFolder folder(ProgramFolder::Content::Empty);
    QString all;
    for (int c = 1; c < 256; ++c) {
        if (c != '\r' && c != '\n')
            all += QChar(c);
    }
    writeLines8bit(folder.file(u"w"_s), {all, QString(), u"end"_s});
    const QByteArray bytes = folder.read(u"w"_s);
    QCOMPARE(bytes, all.toLatin1() + "\r\n\r\nend\r\n");
    QCOMPARE(splitLines8bit(bytes), (QStringList{all, QString(), u"end"_s}));
}

void tst_platform::createFolderOnlyOne()
{
    ProgramFolder folder(ProgramFolder::Content::Empty);
    createFolder(folder.file(u"one"_s));
    QVERIFY(QFileInfo(folder.file(u"one"_s)).isDir());
    try {
        createFolder(folder.file(u"one"_s));
        QFAIL("created twice");
    } catch (const Error &e) {
        QVERIFY(e.description().contains(folder.file(u"one"_s)));
    }
    try {
        createFolder(folder.file(u"two/three"_s));
        QFAIL("created a parent");
    } catch (const Error &e) {
        QCOMPARE(e.code(), Error::PathNotFound);
    }
    QVERIFY(!folder.exists(u"two"_s));
}

void tst_platform::deleteFailureNamesPath()
{
    ProgramFolder folder(ProgramFolder::Content::Empty);
    folder.write(u"gone"_s, "x");
    deleteFile(folder.file(u"gone"_s));
    QVERIFY(!folder.exists(u"gone"_s));
    try {
        deleteFile(folder.file(u"gone"_s));
        QFAIL("no error");
    } catch (const Error &e) {
        QVERIFY(e.description().contains(folder.file(u"gone"_s)));
    }
}

void tst_platform::picturesByContent_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("format");
    QTest::newRow("bmp named bmp") << u"a.bmp"_s << QByteArray("BMP");
    QTest::newRow("bmp named jpg") << u"a.jpg"_s << QByteArray("BMP");
    QTest::newRow("jpeg named jpg") << u"a.jpg"_s << QByteArray("JPEG");
    QTest::newRow("jpeg named bmp") << u"a.bmp"_s << QByteArray("JPEG");
    QTest::newRow("jpeg without ending") << u"picture"_s << QByteArray("JPEG");
}

void tst_platform::picturesByContent()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, format);
    ProgramFolder folder(ProgramFolder::Content::Empty);
    const QImage original = testPicture(64, 48);
    folder.write(name, encoded(original, format.constData()));
    const QImage loaded = loadPicture(folder.file(name));
    QCOMPARE(loaded.size(), original.size());
    if (format == "BMP")
        QCOMPARE(loaded.convertToFormat(QImage::Format_RGB32), original);
}

void tst_platform::pictureSaveIsExactBmp()
{
    ProgramFolder folder(ProgramFolder::Content::Empty);
    const QImage original = testPicture(33, 17);
    savePictureBmp(original, folder.file(u"out.jpg"_s));
    QVERIFY(folder.read(u"out.jpg"_s).startsWith("BM"));
    QCOMPARE(loadPicture(folder.file(u"out.jpg"_s)).convertToFormat(QImage::Format_RGB32),
             original);
    try {
        savePictureBmp(original, folder.file(u"missing/out.bmp"_s));
        QFAIL("no error");
    } catch (const Error &e) {
        QVERIFY(e.description().contains(folder.file(u"missing/out.bmp"_s)));
    }
}

void tst_platform::bitmapVariantsDecodeAsQtDoes_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("topDown");
    for (int w : {1, 2, 3, 4, 33})
        for (bool topDown : {false, true})
            QTest::addRow("width %d%s", w, topDown ? ", top-down" : "") << w << topDown;
}

void tst_platform::bitmapVariantsDecodeAsQtDoes()
{
    QFETCH(int, width);
    QFETCH(bool, topDown);
    ProgramFolder folder(ProgramFolder::Content::Empty);
    const QImage original = testPicture(width, 5);
    savePictureBmp(original, folder.file(u"a.bmp"_s), Durability::Scratch);
    QByteArray bytes = folder.read(u"a.bmp"_s);
    if (topDown) {
        // The same rows stored top first, announced by a negative height.
        const qsizetype stride = (width * 3 + 3) & ~3;
        QByteArray flipped = bytes.left(54);
        for (int row = 4; row >= 0; --row)
            flipped += bytes.mid(54 + row * stride, stride);
        qToLittleEndian<qint32>(-5, flipped.data() + 22);
        bytes = flipped;
    }
    folder.write(u"b.bmp"_s, bytes);
    const QImage byQt = QImage::fromData(bytes, "BMP").convertToFormat(QImage::Format_RGB32);
    QCOMPARE(byQt, original);
    QCOMPARE(loadPicture(folder.file(u"b.bmp"_s)), original);
}

void tst_platform::pictureRefusals_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("png content") << encoded(testPicture(8, 8), "PNG");
    QTest::newRow("text") << QByteArray("BgColor1 = 0xFF000000\r\n");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("bmp header cut short") << encoded(testPicture(64, 64), "BMP").left(30);
    QTest::newRow("truncated jpeg") << encoded(testPicture(64, 64), "JPEG").left(200);
    QByteArray huge = encoded(testPicture(8, 8), "JPEG");
    // Claim 60000 x 60000 in the start-of-frame header.
    const qsizetype sof = huge.indexOf("\xff\xc0");
    huge[sof + 5] = char(0xEA);
    huge[sof + 6] = char(0x60);
    huge[sof + 7] = char(0xEA);
    huge[sof + 8] = char(0x60);
    QTest::newRow("jpeg claiming 60000 square") << huge;
}

void tst_platform::pictureRefusals()
{
    QFETCH(QByteArray, bytes);
    ProgramFolder folder(ProgramFolder::Content::Empty);
    folder.write(u"bad.bmp"_s, bytes);
    try {
        loadPicture(folder.file(u"bad.bmp"_s));
        QFAIL("loaded");
    } catch (const Error &e) {
        QCOMPARE(e.code(), Error::InvalidPicture);
        QVERIFY2(e.description().contains(folder.file(u"bad.bmp"_s)), qPrintable(e.description()));
    }
}

void tst_platform::commonDialogRemembersLastFile()
{
    ScriptedDialogs dialogs;
    CommonDialog CD(dialogs);
    dialogs.chosenFiles = {u"/a/one.ini"_s, QString(), u"/b/two.bmp"_s};
    CD.setFilter(u"Skins|*.ini"_s);
    QCOMPARE(CD.showOpen(), u"/a/one.ini"_s);
    QCOMPARE(CD.showSave(), QString());
    CD.setFilter(u"Pictures|*.bmp"_s);
    QCOMPARE(CD.showOpen(), u"/b/two.bmp"_s);
    QCOMPARE(dialogs.fileRequests.size(), 3);
    QCOMPARE(dialogs.fileRequests[0].initialFile, QString());
    QCOMPARE(dialogs.fileRequests[1].initialFile, u"/a/one.ini"_s);
    QCOMPARE(dialogs.fileRequests[1].kind, ScriptedDialogs::FileRequest::Save);
    QCOMPARE(dialogs.fileRequests[2].initialFile, u"/a/one.ini"_s);
    QCOMPARE(dialogs.fileRequests[2].filter, u"Pictures|*.bmp"_s);
    QCOMPARE(CD.fileName(), u"/b/two.bmp"_s);
}

void tst_platform::qtFilters()
{
    QCOMPARE(qtNameFilters(u"Zantho Skin Files (*.ini)|*.ini"_s),
             QStringList{u"Zantho Skin Files (*.ini) (*.ini)"_s});
    QCOMPARE(qtNameFilters(u"Zantho Backrounds (*.jpg,*.bmp,*.png)|*.jpg;*.bmp;*.png"_s),
             QStringList{u"Zantho Backrounds (*.jpg,*.bmp,*.png) (*.jpg *.bmp *.png)"_s});
    QCOMPARE(qtNameFilters(u"A|*.a|B|*.b"_s), (QStringList{u"A (*.a)"_s, u"B (*.b)"_s}));
}

void tst_platform::sliderReportsOnlyUserMovement()
{
    Slider slider(100);
    slider.resize(200, 17);
    slider.show();
    QVERIFY(QTest::qWaitForWindowExposed(&slider));
    QSignalSpy moved(&slider, &Slider::moved);
    QList<int> valuesSeen;
    connect(&slider, &Slider::moved, &slider, [&] { valuesSeen << slider.value(); });

    slider.setValue(40);
    QCOMPARE(moved.count(), 0);
    QTest::keyClick(&slider, Qt::Key_Right);
    QTest::keyClick(&slider, Qt::Key_PageUp);
    QCOMPARE(valuesSeen, (QList<int>{41, 46}));

    // At the end a key moves nothing; the next change from code must still stay silent.
    slider.setValue(100);
    QTest::keyClick(&slider, Qt::Key_Right);
    slider.setValue(10);
    QCOMPARE(valuesSeen.size(), 2);

    QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(190, 8));
    QCOMPARE(valuesSeen.size(), 3);
    QCOMPARE(valuesSeen.last(), slider.value());
    QVERIFY(slider.value() > 10);

    slider.setEnabled(false);
    QTest::keyClick(&slider, Qt::Key_Right);
    QCOMPARE(valuesSeen.size(), 3);
}

QTEST_MAIN(tst_platform)
#include "tst_platform.moc"
