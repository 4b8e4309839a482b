// Every bad input and condition the program has been given, in one table: what the user
// does, what they are told, and that the program carries on with nothing written where it
// should not be.
#include "common/EditorSession.h"

#include "skin/SkinItems.h"

#include "platform/CommandOutput.h"
#include "platform/Error.h"
#include "platform/KeptCopy.h"

#include <QProcess>
#include <QRadioButton>

#include <atomic>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

enum class Act
{
    StartWith,       // `bytes` as default.ini
    RestoreWithout,  // default.ini gone after start-up
    RestoreFromPipe, // default.ini a named pipe after start-up
    LoadSkin,        // `bytes` chosen as a skin file named `name`
    SaveSkinTo,      // the skin saved to `name` in the program directory
    ImportPicture,   // `bytes` chosen as a background named `name`
    WorkingPicture,  // `bytes` as temp.jpg, then "Picture BG"
    Apply,           // a colour applied
    CreatePackage,   // a package named `name`, with `bytes` as temp.jpg if any
};

const QString NoPicture =
    u"No Picture loaded. Please import picture before choosing this option."_s;

} // namespace

class tst_hostile : public QObject
{
    Q_OBJECT

private slots:
    void catalogue_data();
    void catalogue();
    void linksAreNotWrittenThrough_data();
    void linksAreNotWrittenThrough();
    void killedExportLeavesNoPartialPackage();
    void exportsSharingProjects();
    void killedRewriteInPlace();
    void keptCopiesOffered();
    void racedLinksAreNotWrittenThrough_data();
    void racedLinksAreNotWrittenThrough();
};

void tst_hostile::catalogue_data()
{
    QTest::addColumn<Act>("act");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("blocker"); // a file (or, ending in "/x", a folder) in the way
    QTest::addColumn<int>("room");        // bytes a file may grow to during the act; 0: any
    QTest::addColumn<QString>("told");    // the beginnings of messages, then questions
    const QString none;
    const auto row = [](const char *title, Act act, const QString &name, const QByteArray &bytes,
                        const QString &blocker, const QString &told, int room = 0) {
        QTest::newRow(title) << act << name << bytes << blocker << room << told;
    };
    QByteArray binary(70000, '\0');
    for (int i = 0; i < binary.size(); ++i)
        binary[i] = char((i * 7919) % 256);
    const QString notLoaded = u"The skin could not be loaded.\r\nCannot read "_s;
    const QString notSkin = u"The skin could not be loaded.\r\nCannot load the skin \""_s,
                  binaryData = u"\": the file holds binary data, not the text of a skin"_s;
    row("binary factory skin", Act::StartWith, none, binary, none,
        notSkin + u"{prog}/default.ini"_s + binaryData);
    row("10 MB single line", Act::StartWith, none, "BgColor1 = " + QByteArray(10 << 20, 'F'), none,
        notLoaded + u"\"{prog}/default.ini\": the file is 10,485,771 bytes; Vellox reads files "
                    "of up to 1,048,576 bytes"_s);
    row("undecodable codes", Act::StartWith, none,
        "BgColor1 = 0xFFGGGGGG\r\nRectBg = \r\nShadow = x = y\r\n", none, none);
    row("factory skin removed", Act::RestoreWithout, none, {}, none,
        notLoaded + u"\"{prog}/default.ini\": "_s);
    row("factory skin a named pipe", Act::RestoreFromPipe, none, {}, none,
        notLoaded + u"\"{prog}/default.ini\": it is not an ordinary file"_s);
    row("binary skin file", Act::LoadSkin, u"x.ini"_s, binary, none,
        notSkin + u"{chosen}"_s + binaryData);
    const QString notSaved = u"The skin was not saved.\r\nCannot write \"{prog}/"_s;
    row("save into a missing folder", Act::SaveSkinTo, u"no folder/skin.ini"_s, {}, none,
        notSaved + u"no folder/skin.ini\": "_s);
    const QString cannotLoad = u"Cannot load the picture \"{chosen}\": "_s;
    const QString undecodable = cannotLoad + u'|' + NoPicture;
    const QByteArray bmp = encodedPicture(qRgb(0, 128, 128), "BMP");
    const QByteArray jpeg = encodedPicture(qRgb(0, 128, 128), "JPEG");
    const auto import = [&](const char *title, const char *name, const QByteArray &bytes,
                            const QString &told) {
        row(title, Act::ImportPicture, QLatin1String(name), bytes, none, told);
    };
    // Only the endings "bmp" and "jpg", exactly so, are taken.
    import("png", "p.png", encodedPicture(qRgb(0, 128, 128), "PNG"),
           u"Sorry! .png's aren't supported yet for preview. Try saving as .bmp or .jpg.|"_s +
               NoPicture);
    import("png named bmp", "p.bmp", encodedPicture(qRgb(0, 128, 128), "PNG"), undecodable);
    import("damaged jpg", "p.jpg", jpeg.left(100), undecodable);
    const QByteArray photo = contentOf(VELLOX_PHOTOS "/rocket.jpg"_L1);
    import("jpg cut short", "p.jpg", photo.left(photo.size() * 6 / 10),
           cannotLoad + u"the file ends early|"_s + NoPicture);
    import("bmp rows cut short", "p.bmp", bmp.left(300), undecodable);
    import("bmp of no width", "p.bmp", QByteArray(bmp).replace(18, 4, QByteArray(4, '\0')),
           cannotLoad + u"Unable to read image data|"_s + NoPicture);
    QByteArray huge = jpeg;
    huge.replace(huge.indexOf("\xff\xc0") + 5, 4, "\xea\x60\xea\x60"); // 60000 x 60000
    import("jpeg claiming 60000 square", "p.jpg", huge,
           cannotLoad +
               u"the picture is 60000 × 60000 pixels; Vellox takes pictures of up to "
               "200 megapixels|"_s +
               NoPicture);
    row("damaged working picture", Act::WorkingPicture, none, "BM broken", none,
        u"Cannot load the picture \"{prog}/temp.jpg\": "_s);
    for (const QString &name :
         {QString(), u"   "_s, u"."_s, u".."_s, u"../x"_s, u"a/b"_s, u"a\\b"_s, QString(256, u'x'),
          QString(128, QChar(0xE9)), u"a"_s + QChar(0) + u"b"_s})
        QTest::addRow("project name \"%s\"", qPrintable(name.left(12)))
            << Act::CreatePackage << name << QByteArray() << none << 0
            << u"\"%1\" is not a valid project name."_s.arg(name);
    const QString notCreated = u"The package P was not created.\r\nCannot "_s;
    row("My Projects is a file", Act::CreatePackage, u"P"_s, {}, u"My Projects"_s,
        notCreated + u"create the folder \"{prog}/My Projects\": "_s);
    row("skin.ini is a folder", Act::CreatePackage, u"P"_s, {}, u"My Projects/P/skin.ini/x"_s,
        notCreated + u"write \"{prog}/My Projects/P/skin.ini\": |A package named P"_s);

    // A full disk: the old file or package stays whole and nothing claims success.
    const QString tooLarge = u"\": File too large"_s, cannot = u"Cannot write \"{prog}/"_s;
    const QString intoPackage = notCreated + u"write \"{prog}/My Projects/P/"_s;
    const QByteArray picture = encodedPicture(qRgb(50, 60, 70), "BMP", {120, 90});
    row("full disk: save as", Act::SaveSkinTo, u"mine.ini"_s, {}, u"mine.ini"_s,
        notSaved + u"mine.ini"_s + tooLarge, 100);
    row("full disk: apply", Act::Apply, none, {}, none, cannot + u"temp.ini"_s + tooLarge, 100);
    row("full disk: new package's skin", Act::CreatePackage, u"P"_s, picture, none,
        intoPackage + u"skin.ini"_s + tooLarge, 100);
    row("full disk: new package's background", Act::CreatePackage, u"P"_s, picture, none,
        intoPackage + u"background.jpg"_s + tooLarge, 4000);
    row("full disk: replaced package's background", Act::CreatePackage, u"P"_s, picture,
        u"My Projects/P/skin.ini"_s,
        intoPackage + u"background.jpg"_s + tooLarge + u"|A package named P already exists"_s,
        4000);
}

void tst_hostile::catalogue()
{
    QFETCH(Act, act);
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, blocker);
    QFETCH(int, room);
    QFETCH(QString, told);
    Session s;
    if (act == Act::StartWith)
        s.folder.write(u"default.ini"_s, bytes);
    // A skin is saved only over a skin.
    if (!blocker.isEmpty())
        s.folder.write(blocker, act == Act::SaveSkinTo ? "TextColor = 0xFF000000\r\n" : "x");
    QDir(s.folder.file({})).mkdir(u"My Projects"_s); // as the build lays the program out
    if ((act == Act::WorkingPicture || act == Act::CreatePackage) && !bytes.isEmpty())
        s.folder.write(u"temp.jpg"_s, bytes);
    const QString chosen = s.elsewhere.filePath(name);
    if (act == Act::LoadSkin || act == Act::ImportPicture)
        s.outside(name, bytes);
    QVERIFY(s.editor->open());
    if (act == Act::RestoreWithout || act == Act::RestoreFromPipe)
        QFile::remove(s.folder.file(u"default.ini"_s));
    if (act == Act::RestoreFromPipe)
        QCOMPARE(mkfifo(qPrintable(s.folder.file(u"default.ini"_s)), 0600), 0);
    s.dialogs.answers = {Dialogs::Answer::Yes, Dialogs::Answer::Yes};
    const auto before = s.folder.contents();
    const auto theirs = snapshot(s.elsewhere.path());
    // The act, with the disk as full as the row has it.
    if (const FileSizeLimit limit{room > 0 ? rlim_t(room) : RLIM_INFINITY};
        act == Act::RestoreWithout || act == Act::RestoreFromPipe) {
        s.press("Command2");
    } else if (act == Act::LoadSkin || act == Act::SaveSkinTo) {
        s.dialogs.chosenFiles << (act == Act::LoadSkin ? chosen : s.folder.file(name));
        s.trigger(act == Act::LoadSkin ? "loadskin" : "saveskin");
    } else if (act == Act::ImportPicture) {
        s.importPicture(chosen);
    } else if (act == Act::WorkingPicture) {
        s.click("Option4");
    } else if (act == Act::Apply) {
        s.apply(Row::RectBg, u"0x80102030"_s);
    } else if (act == Act::CreatePackage) {
        s.createPackage(name);
    }
    s.verifyBeginnings(s.dialogs.messages + s.dialogs.questions, told, chosen);
    // Nothing new or changed anywhere but the working skin, and that too on a full disk.
    auto after = s.folder.contents();
    if (room == 0)
        after[u"temp.ini"_s] = before.value(u"temp.ini"_s);
    QCOMPARE(after, before);
    QCOMPARE(snapshot(s.elsewhere.path()), theirs);
    QVERIFY(!s.inPreview<QRadioButton>("Option4")->isChecked());

    // And the program carries on: every row can be chosen and a colour applied.
    for (int row = 0; row < ItemCount; ++row)
        s.choose(row);
    s.apply(Row::RectBg, u"0x80102030"_s);
    QVERIFY(s.folder.read(u"temp.ini"_s).contains("RectBg = 0x80102030\r\n"));
}

void tst_hostile::linksAreNotWrittenThrough_data()
{
    QTest::addColumn<QString>("link");   // in the program folder
    QTest::addColumn<QString>("target"); // outside it; a dangling link when it is not there
    QTest::addColumn<QString>("act");    // "start", "package" or "import"
    QTest::addColumn<QString>("told");   // the beginnings of the messages
    const QString saved = u"Package P saved"_s;
    QTest::newRow("package folder") << u"My Projects/P"_s << u"theirs"_s << u"package"_s
                                    << u"The package P was not created.\r\nCannot replace "
                                       "\"{prog}/My Projects/P\": it is a link to"_s;
    QTest::newRow("skin.ini in a package")
        << u"My Projects/P/skin.ini"_s << u"theirs/skin.ini"_s << u"package"_s << saved;
    QTest::newRow("background.bmp in a package")
        << u"My Projects/P/background.bmp"_s << u"theirs/file"_s << u"package"_s << saved;
    QTest::newRow("temp.ini") << u"temp.ini"_s << u"theirs/file"_s << u"start"_s << QString();
    QTest::newRow("dangling temp.jpg")
        << u"temp.jpg"_s << u"theirs/nothing yet"_s << u"import"_s << QString();
}

// What lies outside the program folder is byte for byte the same afterwards, whatever
// links inside it point there.
void tst_hostile::linksAreNotWrittenThrough()
{
    QFETCH(QString, link);
    QFETCH(QString, target);
    QFETCH(QString, act);
    QFETCH(QString, told);
    Session s;
    QDir(s.elsewhere.path()).mkdir(u"theirs"_s);
    for (const QString &name : {u"theirs/skin.ini"_s, u"theirs/file"_s})
        s.outside(name, "theirs");
    const QString picture = s.outside(u"p.jpg"_s, encodedPicture(qRgb(9, 9, 9), "JPEG"));
    QDir().mkpath(QFileInfo(s.folder.file(link)).path());
    QVERIFY(QFile::link(s.elsewhere.filePath(target), s.folder.file(link)));
    // A picture background, so that a package holds background.bmp.
    s.folder.write(u"temp2.bmp"_s, encodedPicture(qRgb(1, 2, 3), "BMP"));
    const auto theirs = snapshot(s.elsewhere.path());
    QVERIFY(s.editor->open());
    s.dialogs.answers = {Dialogs::Answer::Yes};
    if (act == u"package"_s)
        s.createPackage(u"P"_s);
    if (act == u"import"_s)
        s.importPicture(picture);
    s.verifyBeginnings(s.dialogs.messages, told);
    s.editor->close();
    QCOMPARE(snapshot(s.elsewhere.path()), theirs);
}

// Exports killed at random moments, new ones and replacing ones, with the two kinds of
// background alternately: there is no package or a whole one, and the user's own file in
// a replaced package stays.
void tst_hostile::killedExportLeavesNoPartialPackage()
{
    Opened s;
    const QString working[] = {u"temp.jpg"_s, u"temp2.bmp"_s};
    const QSize sizes[] = {{300, 200}, {200, 300}};
    const auto exportWith = [&](int kind) {
        QFile::remove(s.folder.file(working[1 - kind]));
        s.folder.write(working[kind], encodedPicture(qRgb(200, 0, 0), "BMP", sizes[kind]));
        s.dialogs.answers = {Dialogs::Answer::Yes};
        s.createPackage(u"P"_s);
    };
    const QString package = s.folder.file(u"My Projects/P/"_s);
    std::minstd_rand random(7);
    for (int round = 0; round < 60; ++round) {
        // Every other round starts without the package, so the first export is a new one.
        if (round % 2 == 0)
            QDir(package).removeRecursively();
        const bool fresh = !QFileInfo::exists(package);
        const pid_t child = fork();
        if (child == 0) {
            for (int kind = round % 2;; kind = 1 - kind)
                exportWith(kind);
        }
        usleep(useconds_t(random() % 25000));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        // Only a new package may be gone: a replaced one fails the next line.
        if (fresh && !QFileInfo::exists(package))
            continue;
        const QByteArray skin = s.folder.read(u"My Projects/P/skin.ini"_s);
        QVERIFY(skin.endsWith("Zantho Skin created with Vellox v1.6.1 Beta 1\r\n"));
        const int kind = skin.contains("background = background.bmp") ? 1 : 0;
        const QString background = kind ? u"background.bmp"_s : u"background.jpg"_s;
        const QStringList files{background, u"notes.txt"_s, u"skin.ini"_s};
        QCOMPARE(QDir(package).entryList(QDir::Files | QDir::Hidden, QDir::Name),
                 fresh ? (QStringList{files[0], files[2]}) : files);
        QCOMPARE(QImage(package + background, "BMP").size(), sizes[kind]);
        if (!fresh)
            QCOMPARE(s.folder.read(u"My Projects/P/notes.txt"_s), QByteArray("mine"));
        s.folder.write(u"My Projects/P/notes.txt"_s, "mine");
    }
    // What the killed exports left behind goes with the next one.
    exportWith(1);
    QCOMPARE(QDir(s.folder.file(u"My Projects"_s))
                 .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{u"P"_s});
}

// Two programs exporting into one projects folder at once never take each other's package.
void tst_hostile::exportsSharingProjects()
{
    Opened s;
    const pid_t child = fork();
    int failed = 0;
    for (int round = 0; round < 50; ++round) {
        s.dialogs.answers = {Dialogs::Answer::Yes};
        s.createPackage(child == 0 ? u"P1"_s : u"P0"_s);
        failed += !s.dialogs.messages.takeLast().startsWith("Package P"_L1);
    }
    if (child == 0)
        _exit(failed);
    int status = -1;
    waitpid(child, &status, 0);
    QCOMPARE(failed + WEXITSTATUS(status), 0);
}

// A file rewritten where it stands (its folder may not be written to) and the program
// killed at every moment of it: the file is old, new, or damaged with its old content kept.
void tst_hostile::killedRewriteInPlace()
{
    QTemporaryDir root;
    const QString output = root.filePath(u"out.png"_s), cache = root.filePath(u"cache"_s);
    const QStringList args{u"--render"_s, QStringLiteral(VELLOX_DEFAULT_INI), u"-o"_s, output};
    QProcess render;
    render.start(QStringLiteral(VELLOX_EXECUTABLE), args.mid(0, 3) << u"-"_s);
    QVERIFY(render.waitForFinished(20000) && QDir().mkdir(cache));
    const QByteArray earlier(40000, 'o'), next = render.readAllStandardOutput();
    // Root writes anywhere, so the program runs as nobody, in a folder that is root's.
    const uid_t user = geteuid() == 0 ? 65534 : geteuid();
    const QStringList command =
        (user == geteuid() ? QString() : u"setpriv --reuid=65534 --regid=65534 --clear-groups "_s)
            .split(u' ', Qt::SkipEmptyParts) +
        QStringList{QStringLiteral(VELLOX_EXECUTABLE)} + args;
    const auto owner = [&](uid_t uid) {
        for (const QString &path : {cache, cache + u"/vellox"_s, output})
            chown(QFile::encodeName(path).constData(), uid, uid);
    };
    chmod(QFile::encodeName(root.path()).constData(), user == geteuid() ? 0555 : 0755);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const auto &[name, value] :
         {std::pair{u"LD_PRELOAD"_s, QStringLiteral(SLOW_WRITES)},
          {u"SLOW_WRITES_MARK"_s, cache + u"/writing"_s},
          {u"SLOW_WRITES_FILE"_s, QFileInfo(root.path()).canonicalFilePath() + u"/out.png"_s},
          {u"XDG_CACHE_HOME"_s, cache},
          {u"ASAN_OPTIONS"_s, u"verify_asan_link_order=0"_s}})
        env.insert(name, value);
    render.setProcessEnvironment(env);
    qputenv("XDG_CACHE_HOME", QFile::encodeName(cache));
    int damaged = 0;
    // Writing takes 3 ms for each 256 bytes, about 280 ms in all; the last round ends.
    for (int killedAfter = 0; killedAfter <= 300; killedAfter += 25) {
        QFile file(output);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(earlier) > 0);
        file.close();
        QFile::remove(cache + u"/writing"_s);
        owner(user);
        render.start(command[0], command.mid(1));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(cache + u"/writing"_s), 20000);
        if (killedAfter < 300) {
            QTest::qWait(killedAfter);
            render.kill();
        }
        render.waitForFinished(20000);
        QCOMPARE(render.state(), QProcess::NotRunning);
        owner(geteuid());
        const QList<KeptCopy> kept = KeptCopy::found();
        const bool whole = contentOf(output) == earlier || contentOf(output) == next;
        damaged += !whole;
        QVERIFY(kept.size() == 1 || (whole && kept.isEmpty()));
        if (!kept.isEmpty()) {
            QCOMPARE(kept[0].fileState(), !whole ? KeptCopy::FileState::Damaged
                                          : contentOf(output) == next
                                              ? KeptCopy::FileState::New
                                              : KeptCopy::FileState::Earlier);
            QCOMPARE(contentOf(kept[0].copy()), earlier);
            if (!whole && damaged % 2 == 1) {
                // The same command again, to its end: the file is new and whole, and the
                // copy of its content before the first try is no longer offered.
                owner(user);
                render.start(command[0], command.mid(1));
                QVERIFY(render.waitForFinished(20000) && render.exitCode() == 0);
                owner(geteuid());
                QCOMPARE(contentOf(output), next);
                QVERIFY(KeptCopy::found().isEmpty());
            } else {
                kept[0].putBack();
                QCOMPARE(contentOf(output), earlier);
            }
        }
        // A kill between removing a record and its copy leaves the copy for the next
        // start to tidy once it is old: nothing else stays.
        const QDir folder(cache + u"/vellox"_s);
        for (const QString &name : folder.entryList(QDir::Files | QDir::Hidden)) {
            QFile left(folder.filePath(name));
            if (left.open(QIODevice::ReadWrite))
                left.setFileTime(QDateTime::currentDateTime().addDays(-1),
                                 QFile::FileModificationTime);
        }
        QVERIFY(KeptCopy::found().isEmpty());
        QCOMPARE(folder.entryList(QDir::Files | QDir::Hidden), QStringList());
        QVERIFY(killedAfter < 300 || contentOf(output) == next);
    }
    QVERIFY(damaged >= 6);
}

// A rewrite in place cut short: the next start says what the file holds, and puts its
// earlier content back when asked, but only over what the rewrite provably left; over
// anything else it only shows where the copy is.
void tst_hostile::keptCopiesOffered()
{
    using A = Dialogs::Answer;
    const QByteArray earlier = "earlier\r\n", next = "next\r\n", damaged = "nexlier\r\n";
    // What the run left, the answer, the file then, the copy kept, the words, the copy shown.
    for (const auto &[left, answer, after, copyStays, said, shown] :
         {std::tuple{"cut"_L1, A::Yes, earlier, false, ", and the file is not whole.", false},
          {"cut"_L1, A::No, damaged, true, ", and the file is not whole.", false},
          {"since"_L1, A::Yes, damaged, true, ", and the file was changed since.", true},
          {"since"_L1, A::No, damaged, true, ", and the file was changed since.", false},
          {"gone"_L1, A::Yes, QByteArray(), true, ", and the file is gone since.", true},
          {"next"_L1, A::Yes, next, false, ". The file is whole and holds its new content", false},
          {"earlier"_L1, A::Yes, earlier, false, ". The file is whole and holds its earlier",
           false}}) {
        Session s;
        const QString file = s.outside(u"mine.ini"_s, earlier);
        const KeptEarlier kept =
            KeptCopy::keepWhileRewriting(file, identityOf(file), earlier, next);
        // Written where it stands, as a rewrite does, and then perhaps by another program.
        const auto inPlace = [&file](const QByteArray &bytes) {
            QFile open(file);
            QVERIFY(open.open(QIODevice::ReadWrite) && open.write(bytes) == bytes.size());
        };
        kept.changing();
        if (left == "cut"_L1 || left == "since"_L1)
            inPlace("nex");
        if (left == "since"_L1) {
            kept.changed(0, 0);
            QTest::qSleep(30);
            inPlace("nex");
        }
        if (left == "gone"_L1)
            QFile::remove(file);
        if (left == "next"_L1)
            s.outside(u"mine.ini"_s, next);
        s.dialogs.answers = {answer};
        // Until the answer, a run that ends loses nothing: the copy is still there.
        s.dialogs.whileAsked = [&] { QVERIFY(QFileInfo::exists(kept.copy)); };
        QVERIFY(s.editor->open());
        s.verifyBeginnings(s.dialogs.questions + s.dialogs.messages,
                           u"Vellox ended while saving \"%1\"%2"_s.arg(file, QLatin1String(said)));
        QCOMPARE(contentOf(file), after);
        QCOMPARE(s.dialogs.shownFiles, shown ? QStringList(kept.copy) : QStringList());
        // A copy kept at the user's word outlives the tidying of old leftovers.
        QFile copy(kept.copy);
        if (copy.open(QIODevice::ReadWrite))
            copy.setFileTime(QDateTime::currentDateTime().addDays(-1), QFile::FileModificationTime);
        QVERIFY(KeptCopy::found().isEmpty());
        QCOMPARE(QFileInfo::exists(kept.copy), copyStays);
        QDir(QFileInfo(kept.copy).path()).removeRecursively();
    }
}

void tst_hostile::racedLinksAreNotWrittenThrough_data()
{
    QTest::addColumn<bool>("command"); // a command's output in a folder open to all, or
                                       // the program's own file in its folder
    QTest::newRow("another user's link swapped in for a command's output") << true;
    QTest::newRow("a link swapped in for a working file") << false;
}

// A racer swaps a link in and out at the name being written, as fast as it can, during
// hundreds of writes: none goes through the link, and nothing appears where it leads.
void tst_hostile::racedLinksAreNotWrittenThrough()
{
    QFETCH(bool, command);
    QTemporaryDir root;
    const QString folder = root.filePath(u"shared"_s), victim = root.filePath(u"victim"_s),
                  dangling = root.filePath(u"nothing yet"_s), name = folder + u"/x.png"_s;
    QVERIFY(QDir().mkdir(folder));
    if (command) // as /tmp is
        chmod(QFile::encodeName(folder).constData(), 01777);
    {
        QFile mine(victim);
        QVERIFY(mine.open(QIODevice::WriteOnly) && mine.write("the victim's") > 0);
    }
    std::atomic<bool> racing = true;
    std::thread racer([&] {
        const QByteArray at = QFile::encodeName(name), link = at + ".link", file = at + ".file";
        for (int round = 0; racing; ++round) {
            const QByteArray target = QFile::encodeName(round % 2 ? victim : dangling);
            ::unlink(link.constData());
            if (::symlink(target.constData(), link.constData()) != 0)
                continue;
            if (command && geteuid() == 0)
                ::lchown(link.constData(), 65534, 65534);
            ::rename(link.constData(), at.constData()); // in
            // and out again: a file in its place, or nothing
            if (round % 3 == 0)
                ::unlink(at.constData());
            else if (::close(::open(file.constData(), O_WRONLY | O_CREAT, 0644)) == 0)
                ::rename(file.constData(), at.constData());
        }
    });
    const QByteArray bytes(5000, 'w');
    int written = 0;
    for (int i = 0; i < 600; ++i) {
        try {
            if (command)
                writeOutput(name, bytes);
            else
                writeFile(name, Durability::Atomic, AtLink::ReplaceLink,
                          [&](const ByteSink &sink) { sink(bytes.constData(), bytes.size()); });
            ++written;
        } catch (const Error &) {
        }
    }
    racing = false;
    racer.join();
    QCOMPARE(contentOf(victim), QByteArray("the victim's"));
    QVERIFY(!QFileInfo::exists(dangling) && !QFileInfo(dangling).isSymLink());
    QVERIFY2(written > 0, "the race left no write through at all");
}

QTEST_MAIN(tst_hostile)
#include "tst_hostile.moc"
