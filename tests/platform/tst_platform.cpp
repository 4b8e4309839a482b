#include "platform/Files.h"
#include "platform/Pictures.h"

#include "common/ProgramFolder.h"

#include <QtEndian>
#include <QtTest>

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

} // namespace

class tst_platform : public QObject
{
    Q_OBJECT

private slots:
    void bitmapsPixelExact_data();
    void bitmapsPixelExact();
    void portableIgnoresUserFolder();
};

void tst_platform::bitmapsPixelExact_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    const QImage p = testPicture(33, 5);
    QByteArray topDown = encoded(p, "BMP");
    {
        // The same rows stored top first, announced by a negative height.
        const qsizetype stride = (33 * 3 + 3) & ~3;
        QByteArray rows;
        for (int row = 4; row >= 0; --row)
            rows += topDown.mid(54 + row * stride, stride);
        topDown = topDown.left(54) + rows;
        qToLittleEndian<qint32>(-5, topDown.data() + 22);
    }
    QTest::newRow("bmp named jpg") << u"a.jpg"_s << encoded(p, "BMP");
    QTest::newRow("top-down bmp") << u"a.bmp"_s << topDown;
}

void tst_platform::bitmapsPixelExact()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    ProgramFolder folder;
    folder.write(name, bytes);
    const QImage loaded = loadPicture(folder.file(name)).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(loaded, testPicture(33, 5));
    // Saved as a bitmap whatever the name, and read back pixel for pixel, by Qt too.
    savePictureBmp(loaded, folder.file(u"out.jpg"_s), Durability::Atomic, AtLink::ReplaceLink);
    QCOMPARE(loadPicture(folder.file(u"out.jpg"_s)), loaded);
    QCOMPARE(
        QImage::fromData(folder.read(u"out.jpg"_s), "BMP").convertToFormat(QImage::Format_RGB32),
        loaded);
}

// A portable program works beside its executable, factory skin or not, whatever the
// user's data folder holds, and sets nothing up there.
void tst_platform::portableIgnoresUserFolder()
{
    ProgramFolder data;
    data.write(u"vellox/default.ini"_s, ProgramFolder::factorySkin());
    qputenv("XDG_DATA_HOME", QFile::encodeName(data.dir().path()));
    QCoreApplication::setApplicationName(u"vellox"_s);
    const auto before = data.contents();
    const QString beside = QCoreApplication::applicationDirPath();
    QCOMPARE(ProgramDirectory::locate(ProgramDirectory::Layout::Portable).path(), beside);
    QCOMPARE(ProgramDirectory::factorySkinToRead(ProgramDirectory::Layout::Portable),
             beside + u"/default.ini"_s);
    QCOMPARE(ProgramDirectory::factorySkinToRead(ProgramDirectory::Layout::System),
             data.file(u"vellox/default.ini"_s));
    QCOMPARE(data.contents(), before);
}

QTEST_MAIN(tst_platform)
#include "tst_platform.moc"
