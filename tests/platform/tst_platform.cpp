#include "platform/Files.h"
#include "platform/KeptCopy.h"
#include "platform/LocalChannel.h"
#include "platform/Pictures.h"
#include "platform/QtDialogs.h"
#include "platform/Translations.h"

#include "common/ProgramFolder.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QSpinBox>
#include <QtEndian>
#include <QtTest>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
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
    void bitmapsPixelExact_data();
    void bitmapsPixelExact();
    void runLengthBitmap();
    void portableIgnoresUserFolder();
    void strangersAreNotHeard();
    void dialogsOfTheAskingWindow_data();
    void dialogsOfTheAskingWindow();
    void keptCopyOnlyOverItsRewrite_data();
    void keptCopyOnlyOverItsRewrite();
    void languagesAsGettextReadsThem_data();
    void languagesAsGettextReadsThem();
};

void tst_platform::bitmapsPixelExact_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QSize>("size");
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
    QTest::newRow("bmp named jpg") << u"a.jpg"_s << encoded(p, "BMP") << p.size();
    QTest::newRow("top-down bmp") << u"a.bmp"_s << topDown << p.size();
    // Written in several batches.
    QTest::newRow("larger than a write")
        << u"a.bmp"_s << encoded(testPicture(160, 150), "BMP") << QSize(160, 150);
}

void tst_platform::bitmapsPixelExact()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QSize, size);
    ProgramFolder folder;
    folder.write(name, bytes);
    const QImage loaded = loadPicture(folder.file(name)).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(loaded, testPicture(size.width(), size.height()));
    // Saved as a bitmap whatever the name, and read back pixel for pixel, by Qt too.
    savePictureBmp(loaded, folder.file(u"out.jpg"_s), Durability::Atomic, AtLink::ReplaceLink);
    QCOMPARE(loadPicture(folder.file(u"out.jpg"_s)), loaded);
    QCOMPARE(
        QImage::fromData(folder.read(u"out.jpg"_s), "BMP").convertToFormat(QImage::Format_RGB32),
        loaded);
}

// A bitmap compressed by runs, as older tools save them, is read whole: the headers of a
// 2 × 2 picture of 8 bits by runs, a palette of teal and red, a run of two a row (teal
// stored first, at the bottom), then the picture's end.
void tst_platform::runLengthBitmap()
{
    const QByteArray runs = QByteArray::fromHex(
        "424d48000000000000003e00000028000000020000000200000001000800010000000a000000000000000000"
        "00000200000000000000808000000000ff0002000000020100000001");
    ProgramFolder folder;
    folder.write(u"r.bmp"_s, runs);
    const QImage read = loadPicture(folder.file(u"r.bmp"_s));
    QCOMPARE(read.pixel(0, 0), qRgb(0xFF, 0, 0));
    QCOMPARE(read.pixel(1, 1), qRgb(0, 0x80, 0x80));
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

// Another user's process is never told a line, nor heard, nor given the channel's folder.
void tst_platform::strangersAreNotHeard()
{
    if (geteuid() != 0)
        QSKIP("only root can act as another user");
    QTemporaryDir shared;
    chmod(QFile::encodeName(shared.path()).constData(), 0777);
    const auto asNobody = [](const std::function<int()> &act) {
        const pid_t child = fork();
        if (child == 0)
            _exit(setgid(65534) == 0 && setuid(65534) == 0 ? act() : 99);
        return child;
    };
    // A stranger listens, or writes itself: nothing is told, nothing heard.
    const auto address = [&shared](const QString &name) {
        sockaddr_un address{AF_UNIX, {}};
        qstrncpy(address.sun_path, QFile::encodeName(shared.filePath(name)),
                 sizeof address.sun_path);
        return address;
    };
    int status = -1;
    const pid_t listener = asNobody([&] {
        const sockaddr_un theirs = address(u"theirs"_s);
        const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
        char byte;
        if (bind(fd, reinterpret_cast<const sockaddr *>(&theirs), sizeof theirs) || listen(fd, 1))
            return 98;
        return int(read(accept(fd, nullptr, nullptr), &byte, 1));
    });
    QString why;
    const auto send = [&](const QString &name) {
        return LocalChannel::send(shared.filePath(name), "mine\n", QDeadlineTimer(500), why);
    };
    auto sent = LocalChannel::Sent::Nobody;
    for (int tries = 0; tries < 50 && sent == LocalChannel::Sent::Nobody; ++tries)
        sent = (QTest::qWait(100), send(u"theirs"_s)); // once it listens
    QCOMPARE(sent, LocalChannel::Sent::Stranger);

    waitpid(listener, &status, 0);
    QCOMPARE(WEXITSTATUS(status), 0);
    LocalChannel channel;
    QVERIFY(channel.listen(shared.filePath(u"mine"_s)));
    QSignalSpy lines(&channel, &LocalChannel::lineReceived);
    chmod(QFile::encodeName(shared.filePath(u"mine"_s)).constData(), 0777);
    const pid_t writer = asNobody([&] {
        const sockaddr_un mine = address(u"mine"_s);
        const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
        return ::connect(fd, reinterpret_cast<const sockaddr *>(&mine), sizeof mine) == 0 &&
                       write(fd, "stranger\n", 9) == 9
                   ? 0
                   : 97;
    });
    waitpid(writer, &status, 0);
    QCOMPARE(WEXITSTATUS(status), 0);
    // Sent from another process of the user's, while this one's event loop greets.
    const auto sentAside = [&](const QString &path) -> LocalChannel::Sent {
        const pid_t child = fork();
        if (child == 0)
            _exit(int(LocalChannel::send(path, "mine\n", QDeadlineTimer(5000), why)));
        if (!QTest::qWaitFor([&] { return waitpid(child, &status, WNOHANG) == child; }))
            return LocalChannel::Sent::Nobody;
        return LocalChannel::Sent(WEXITSTATUS(status));
    };
    QCOMPARE(sentAside(shared.filePath(u"mine"_s)), LocalChannel::Sent::Delivered);
    QTRY_COMPARE(lines.size(), 1);
    QCOMPARE(lines[0][0].toByteArray(), QByteArray("mine"));
    // A listener that never greets (a stopped program) holds the caller no longer than
    // asked; one that is gone is said in the system's words.
    const int silent = socket(AF_UNIX, SOCK_STREAM, 0);
    const sockaddr_un stopped = address(u"stopped"_s);
    QVERIFY(!bind(silent, reinterpret_cast<const sockaddr *>(&stopped), sizeof stopped) &&
            !listen(silent, 1));
    QCOMPARE(send(u"stopped"_s), LocalChannel::Sent::Silent);
    QCOMPARE((send(u"gone"_s), why), u"No such file or directory"_s);
    close(silent);
    // Without a runtime folder, names in the temporary folder that another user took first
    // change nothing: the channel listens in a fresh folder of the user's alone, gone with it.
    qunsetenv("XDG_RUNTIME_DIR");
    qputenv("TMPDIR", QFile::encodeName(shared.path()));
    waitpid(
        asNobody([&] { return mkdir(QFile::encodeName(shared.filePath(u"vellox-0"_s)), 0700); }),
        &status, 0);
    const auto names = [&] {
        return QDir(shared.path())
            .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    };
    const QStringList before = names();
    {
        LocalChannel own;
        const QString path = own.listenPrivately(u"x"_s);
        struct stat st;
        QVERIFY(stat(QFile::encodeName(QFileInfo(path).path()), &st) == 0 && st.st_uid == 0 &&
                (st.st_mode & 0777) == 0700);
        QCOMPARE(sentAside(path), LocalChannel::Sent::Delivered);
        QCOMPARE(names().size(), before.size() + 1);
    }
    QCOMPARE(names(), before);
}

void tst_platform::dialogsOfTheAskingWindow_data()
{
    QTest::addColumn<QString>("kind");
    for (const char *kind : {"message", "question", "open", "save", "colour"})
        QTest::newRow(kind) << QString::fromLatin1(kind);
}

// Every dialog a window asks for is that window's child, though another window is active,
// and when it closes the asking window is active again with its control focused. Qt's
// colour dialog, titled by the caller, shows the alpha channel as the opacity in percent,
// converted by the caller's rule both ways.
void tst_platform::dialogsOfTheAskingWindow()
{
    QFETCH(QString, kind);
    QWidget asking, other;
    auto *control = new QLineEdit(&asking);
    new QLineEdit(&other);
    for (QWidget *w : {&asking, &other})
        w->show();
    control->setFocus();
    QApplication::setActiveWindow(&other);
    QtDialogs shown(u"Vellox"_s);
    WindowDialogs dialogs(shown, &asking);
    QWidget *parent = nullptr;
    QString title, startedIn;
    int percent = -1;
    QTemporaryDir elsewhere;
    const auto answer = [&] {
        QWidget *dialog = QApplication::activeModalWidget();
        parent = dialog ? dialog->parentWidget() : nullptr;
        // A file saved elsewhere is where Qt would start the next dialog; ours start where
        // they are told, or in the working folder.
        if (auto *files = qobject_cast<QFileDialog *>(dialog);
            files && files->acceptMode() == QFileDialog::AcceptSave) {
            startedIn = files->directory().absolutePath();
            files->selectFile(elsewhere.filePath(u"chosen"_s));
            QMetaObject::invokeMethod(files, "accept");
            return;
        }
        auto *colours = qobject_cast<QColorDialog *>(dialog);
        if (!colours)
            return dialog ? void(dialog->close()) : void();
        title = colours->windowTitle();
        for (QSpinBox *box : colours->findChildren<QSpinBox *>())
            if (box->suffix() == " %"_L1 && box->isVisibleTo(colours))
                percent = box->value(), box->setValue(50);
        colours->accept();
    };
    QTimer::singleShot(0, answer);
    if (kind == "message"_L1) {
        dialogs.message(u"Told"_s);
    } else if (kind == "question"_L1) {
        dialogs.question(u"Asked?"_s);
    } else if (kind == "open"_L1) {
        dialogs.openFileName(u"All|*"_s, {});
    } else if (kind == "save"_L1) {
        dialogs.saveFileName(u"All|*"_s, {});
        QTimer::singleShot(0, answer);
        QCOMPARE(dialogs.saveFileName(u"All|*"_s, {}), elsewhere.filePath(u"chosen"_s));
        QCOMPARE(startedIn, QDir::currentPath());
    } else {
        const Dialogs::ColourRequest request{u"Colour of Menu BG"_s,
                                             [](int alpha) { return alpha * 100 / 255; },
                                             [](int percent) { return percent * 255 / 100; }};
        const std::optional<QColor> chosen = dialogs.colour(QColor(0x12, 0x34, 0x56, 153), request);
        QVERIFY(chosen);
        QCOMPARE(title, request.title);
        QCOMPARE(percent, 60);
        QCOMPARE(chosen->alpha(), 127);
        QCOMPARE(chosen->rgb() & 0xFFFFFF, 0x123456u);
    }
    QCOMPARE(parent, &asking);
    QVERIFY(QTest::qWaitForWindowActive(&asking));
    QCOMPARE(QApplication::focusWidget(), control);
}

// A copy kept for a rewrite in place that was cut short is offered back only over what that
// rewrite provably left, never over what was written after it; a later save of the file
// lets it go.
void tst_platform::keptCopyOnlyOverItsRewrite_data()
{
    QTest::addColumn<int>("state"); // KeptCopy::FileState, or -1: no copy left
    const auto row = [](const char *after, int state) { QTest::newRow(after) << state; };
    row("cut short in the middle of a write", int(KeptCopy::FileState::Damaged));
    row("cut short between two writes", int(KeptCopy::FileState::Damaged));
    row("cut short, then the same bytes by another program", int(KeptCopy::FileState::Changed));
    row("rewritten where it stands by another program", int(KeptCopy::FileState::Changed));
    row("grown", int(KeptCopy::FileState::Changed));
    row("another file put in its place", int(KeptCopy::FileState::Changed));
    row("gone", int(KeptCopy::FileState::Gone));
    row("saved again", -1);
    row("written again as scratch", -1);
}

void tst_platform::keptCopyOnlyOverItsRewrite()
{
    QFETCH(int, state);
    const QByteArray after = QTest::currentDataTag(), earlier = "earlier content\r\n";
    KeptCopy::guardRewrites();
    ProgramFolder folder;
    const QString file = folder.file(u"mine.ini"_s);
    folder.write(u"mine.ini"_s, earlier);
    const auto identity = [&file] { return identityOf(file); };
    const KeptEarlier kept = KeptCopy::keepWhileRewriting(file, identity(), earlier, "next\r\n");
    const auto tidy = qScopeGuard([&kept] { kept.release(); });
    QCOMPARE(modeOf(QFileInfo(kept.copy).path()), 0700);
    QCOMPARE(modeOf(kept.copy), 0600);
    // Another program's write comes a clock tick later at least.
    const auto otherProgram = [&](QIODevice::OpenMode mode, const QByteArray &bytes) {
        QTest::qSleep(30);
        QFile open(file);
        QVERIFY(open.open(mode) && open.write(bytes) == bytes.size());
    };
    if (after.startsWith("cut short")) {
        kept.changing();
        otherProgram(QIODevice::ReadWrite, "next");
        if (!after.endsWith("middle of a write")) {
            const FileIdentity now = identity();
            kept.changed(now.changedAt, now.size);
        }
        if (after.endsWith("another program"))
            otherProgram(QIODevice::ReadWrite, "next");
    } else if (after == "grown") {
        otherProgram(QIODevice::Append, earlier);
    } else if (after.endsWith("another program")) { // the same file, a size in between
        otherProgram(QIODevice::ReadWrite | QIODevice::Truncate, "0123456789");
    } else if (after == "gone") {
        QVERIFY(QFile::remove(file));
    } else if (after.startsWith("saved again") || after.endsWith("as scratch")) {
        QVERIFY(
            QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        writeFile(file, after == "saved again" ? Durability::Atomic : Durability::Scratch,
                  AtLink::ReplaceLink, [](auto &sink) { sink("new", 3); });
        QCOMPARE(modeOf(file), 0640); // kept, as any editor's save keeps it
    } else {
        folder.write(u"new"_s, "elsewhere\r\n");
        QVERIFY(std::rename(QFile::encodeName(folder.file(u"new"_s)), QFile::encodeName(file)) ==
                0);
    }
    const QList<KeptCopy> found = KeptCopy::found();
    QCOMPARE(found.size(), state < 0 ? 0 : 1);
    QCOMPARE(QFileInfo::exists(kept.copy), state >= 0);
    if (state >= 0)
        QCOMPARE(int(found[0].fileState()), state);
}

void tst_platform::languagesAsGettextReadsThem_data()
{
    QTest::addColumn<QStringList>("environment"); // NAME=VALUE
    QTest::addColumn<QStringList>("wanted");
    const auto row = [](const char *name, const char *environment, const char *wanted) {
        QTest::newRow(name) << QString::fromLatin1(environment).split(u' ', Qt::SkipEmptyParts)
                            << QString::fromLatin1(wanted).split(u' ', Qt::SkipEmptyParts);
    };
    row("nothing set is the C locale", "", "");
    row("the locale's language", "LANG=de_DE.UTF-8", "de_DE");
    row("a modifier dropped", "LANG=de_DE@euro", "de_DE");
    row("LC_ALL before LANG", "LC_ALL=fr_FR.UTF-8 LANG=de_DE.UTF-8", "fr_FR");
    row("LC_MESSAGES before LANG", "LC_MESSAGES=fr_FR LANG=de_DE", "fr_FR");
    row("an empty LC_ALL is unset", "LC_ALL= LANG=de_DE", "de_DE");
    row("LANGUAGE before the locale", "LANGUAGE=pt_BR:de LANG=fr_FR.UTF-8", "pt_BR de");
    row("LANGUAGE's empty entries skipped", "LANGUAGE=:de_AT.UTF-8::fr: LANG=it_IT", "de_AT fr");
    row("LANGUAGE ignored in the C locale", "LANGUAGE=de LANG=C", "");
    row("LANGUAGE ignored in POSIX", "LANGUAGE=de LC_ALL=POSIX LANG=de_DE", "");
    row("LANGUAGE ignored in C.UTF-8", "LANGUAGE=de LANG=C.UTF-8", "");
    row("LC_ALL=C over a German LANG", "LC_ALL=C LANG=de_DE.UTF-8", "");
    row("a locale of a codeset alone", "LANGUAGE=de LANG=.UTF-8", "");
}

void tst_platform::languagesAsGettextReadsThem()
{
    QFETCH(QStringList, environment);
    const auto variable = [&environment](const char *name) {
        for (const QString &setting : environment) {
            if (setting.section(u'=', 0, 0) == QLatin1String(name))
                return setting.section(u'=', 1);
        }
        return QString();
    };
    QTEST(Translations::wantedLanguages(variable), "wanted");
}

QTEST_MAIN(tst_platform)
#include "tst_platform.moc"
