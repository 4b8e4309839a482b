#include "platform/Error.h"
#include "platform/Files.h"
#include "platform/Pictures.h"
#include "platform/Slider.h"

#include "common/ProgramFolder.h"

#include <QtEndian>
#include <QtTest>

#include <sys/wait.h>
#include <unistd.h>

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
    void picturesByContent_data();
    void picturesByContent();
    void rewritesInPlaceInReadOnlyFolder();
    void sliderReportsOnlyUserMovement();
};

void tst_platform::picturesByContent_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("exact");
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
    QTest::newRow("bmp named jpg") << u"a.jpg"_s << encoded(p, "BMP") << true;
    QTest::newRow("top-down bmp") << u"a.bmp"_s << topDown << true;
    // Phones append data after the end of the picture; it is still whole.
    QTest::newRow("jpeg with data after its end")
        << u"a.jpg"_s << encoded(p, "JPEG") + QByteArray(5000, '\xff') << false;
}

void tst_platform::picturesByContent()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, exact);
    ProgramFolder folder(ProgramFolder::Content::Empty);
    folder.write(name, bytes);
    const QImage loaded = loadPicture(folder.file(name)).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(loaded.size(), QSize(33, 5));
    if (exact)
        QCOMPARE(loaded, testPicture(33, 5));
    // Saved as a bitmap whatever the name, and read back pixel for pixel, by Qt too.
    savePictureBmp(loaded, folder.file(u"out.jpg"_s), Durability::Atomic, AtLink::ReplaceLink);
    QCOMPARE(loadPicture(folder.file(u"out.jpg"_s)), loaded);
    QCOMPARE(QImage::fromData(folder.read(u"out.jpg"_s), "BMP").convertToFormat(QImage::Format_RGB32),
             loaded);
}

void tst_platform::rewritesInPlaceInReadOnlyFolder()
{
    // Root writes everywhere, so a child process gives up root for an ordinary user.
    QTemporaryDir root;
    const QString folder = root.filePath(u"read-only"_s), path = folder + u"/skin.ini"_s;
    QDir().mkdir(folder);
    QFile(root.path()).setPermissions(QFile::Permissions(0x7777));
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(QByteArray(500, 'o')) == 500);
        f.setPermissions(QFile::Permissions(0x6666));
    }
    QFile(folder).setPermissions(QFile::Permissions(0x5555));
    const pid_t child = fork();
    if (child == 0) {
        if (getuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(2);
        try {
            writeLines8bit(path, {u"new"_s}, AtLink::ReplaceLink);
        } catch (const Error &) {
            _exit(1);
        }
        _exit(0);
    }
    int status = -1;
    waitpid(child, &status, 0);
    QCOMPARE(WEXITSTATUS(status), 0);
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("new\r\n"));
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{u"skin.ini"_s});
}

void tst_platform::sliderReportsOnlyUserMovement()
{
    Slider slider(100);
    slider.resize(200, 17);
    slider.show();
    QVERIFY(QTest::qWaitForWindowExposed(&slider));
    QList<int> seen;
    connect(&slider, &Slider::moved, &slider, [&] { seen << slider.value(); });
    slider.setValue(40);
    QTest::keyClick(&slider, Qt::Key_Right);
    QTest::keyClick(&slider, Qt::Key_PageUp);
    QCOMPARE(seen, (QList<int>{41, 46}));
    // A key at the end moves nothing; the next change from code still stays silent.
    slider.setValue(100);
    QTest::keyClick(&slider, Qt::Key_Right);
    slider.setValue(10);
    QCOMPARE(seen.size(), 2);
    QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(190, 8));
    QCOMPARE(seen.size(), 3);
    QVERIFY(seen.last() > 10);
}

QTEST_MAIN(tst_platform)
#include "tst_platform.moc"
