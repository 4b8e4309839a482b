// Every bad input the program has been given, in one table: what the user does, what
// they are told, and that the program carries on with nothing written where it should
// not be.
#include "common/EditorSession.h"

#include "skin/SkinItems.h"

#include <QRadioButton>

#include <random>
#include <sys/stat.h>
#include <sys/wait.h>
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
    CreatePackage,   // a package named `name`, with `bytes` blocking the path `blocker`
};

QByteArray hugeJpegClaim()
{
    QByteArray jpeg = encodedPicture(qRgb(0, 128, 128), "JPEG");
    const qsizetype sof = jpeg.indexOf("\xff\xc0");
    jpeg.replace(sof + 5, 4, "\xea\x60\xea\x60"); // 60000 x 60000
    return jpeg;
}

QByteArray jpegCutShort()
{
    QImage image(400, 300, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x % 256, y % 256, (x * y) % 256));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG");
    return bytes.left(bytes.size() * 6 / 10);
}

const QString NoPicture =
    u"No Picture loaded. Please import picture before choosing this option."_s;
const QString BadName = u"\"{name}\" is not a valid project name."_s;

} // namespace

Q_DECLARE_METATYPE(Act)

class tst_hostile : public QObject
{
    Q_OBJECT

private slots:
    void catalogue_data();
    void catalogue();
    void fullDisk_data();
    void fullDisk();
    void linksAreNotWrittenThrough_data();
    void linksAreNotWrittenThrough();
    void killedExportLeavesNoPartialPackage();
};

void tst_hostile::catalogue_data()
{
    QTest::addColumn<Act>("act");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("blocker");
    QTest::addColumn<QStringList>(
        "messages"); // each the start of a message, with {prog}, {chosen}, {name}
    QByteArray binary(70000, '\0');
    for (int i = 0; i < binary.size(); ++i)
        binary[i] = char((i * 7919) % 256);
    const QStringList none;
    QTest::newRow("binary factory skin")
        << Act::StartWith << QString() << binary << QString() << none;
    QTest::newRow("10 MB single line")
        << Act::StartWith << QString() << "BgColor1 = " + QByteArray(10 << 20, 'F') << QString()
        << QStringList{u"The skin could not be loaded.\r\nCannot read \"{prog}/default.ini\": the "
                       "file is 10.0 MB; Vellox reads files of up to 1.0 MB"_s};
    QTest::newRow("only CRs") << Act::StartWith << QString() << QByteArray(100000, '\r')
                              << QString() << none;
    QTest::newRow("empty factory skin")
        << Act::StartWith << QString() << QByteArray() << QString() << none;
    QTest::newRow("undecodable codes")
        << Act::StartWith << QString()
        << QByteArray("BgColor1 = 0xFFGGGGGG\r\nRectBg = \r\nShadow = x = y\r\n") << QString()
        << none;
    QTest::newRow("factory skin removed")
        << Act::RestoreWithout << QString() << QByteArray() << QString()
        << QStringList{u"The skin could not be loaded.\r\nCannot read \"{prog}/default.ini\": "_s};
    QTest::newRow("factory skin a named pipe")
        << Act::RestoreFromPipe << QString() << QByteArray() << QString()
        << QStringList{u"The skin could not be loaded.\r\nCannot read \"{prog}/default.ini\": it "
                       "is not an ordinary file"_s};
    QTest::newRow("binary skin file") << Act::LoadSkin << u"x.ini"_s << binary << QString() << none;
    QTest::newRow("save into a missing folder")
        << Act::SaveSkinTo << u"no folder/skin.ini"_s << QByteArray() << QString()
        << QStringList{
               u"The skin was not saved.\r\nCannot write \"{prog}/no folder/skin.ini\": "_s};
    QTest::newRow("save over a folder")
        << Act::SaveSkinTo << u"My Projects"_s << QByteArray() << QString()
        << QStringList{u"The skin was not saved.\r\nCannot write \"{prog}/My Projects\": "_s};
    const QStringList undecodable{u"Cannot load the picture \"{chosen}\": "_s, NoPicture};
    QTest::newRow("png named bmp")
        << Act::ImportPicture << u"p.bmp"_s << encodedPicture(qRgb(0, 128, 128), "PNG") << QString()
        << undecodable;
    QTest::newRow("text named bmp") << Act::ImportPicture << u"p.bmp"_s
                                    << QByteArray("BgColor1 = 1") << QString() << undecodable;
    QTest::newRow("empty jpg") << Act::ImportPicture << u"p.jpg"_s << QByteArray() << QString()
                               << undecodable;
    QTest::newRow("damaged jpg") << Act::ImportPicture << u"p.jpg"_s
                                 << encodedPicture(qRgb(0, 128, 128), "JPEG").left(100) << QString()
                                 << undecodable;
    QTest::newRow("jpg cut short")
        << Act::ImportPicture << u"p.jpg"_s << jpegCutShort() << QString()
        << QStringList{u"Cannot load the picture \"{chosen}\": the file ends early"_s, NoPicture};
    QTest::newRow("bmp header cut short")
        << Act::ImportPicture << u"p.bmp"_s << encodedPicture(qRgb(0, 128, 128), "BMP").left(30)
        << QString() << undecodable;
    QTest::newRow("bmp rows cut short")
        << Act::ImportPicture << u"p.bmp"_s << encodedPicture(qRgb(0, 128, 128), "BMP").left(300)
        << QString() << undecodable;
    QTest::newRow("jpeg claiming 60000 square")
        << Act::ImportPicture << u"p.jpg"_s << hugeJpegClaim() << QString()
        << QStringList{u"Cannot load the picture \"{chosen}\": the picture is 60000 × 60000 "
                       "pixels; Vellox takes pictures of up to 200 megapixels"_s,
                       NoPicture};
    QTest::newRow("damaged working picture")
        << Act::WorkingPicture << QString() << QByteArray("BM broken") << QString()
        << QStringList{u"Cannot load the picture \"{prog}/temp.jpg\": "_s};
    for (const QString &name :
         {QString(), u"   "_s, u"."_s, u".."_s, u"../x"_s, u"a/b"_s, u"a\\b"_s, QString(256, u'x'),
          QString(128, QChar(0xE9)), u"a"_s + QChar(0) + u"b"_s})
        QTest::addRow("project name \"%s\"", qPrintable(name.left(12)))
            << Act::CreatePackage << name << QByteArray() << QString() << QStringList{BadName};
    QTest::newRow("My Projects is a file")
        << Act::CreatePackage << u"P"_s << QByteArray("x") << u"My Projects"_s
        << QStringList{
               u"The package P was not created.\r\nCannot create the folder \"{prog}/My Projects\": "_s};
    QTest::newRow("package name is a file")
        << Act::CreatePackage << u"P"_s << QByteArray("x") << u"My Projects/P"_s
        << QStringList{
               u"The package P was not created.\r\nCannot create the folder \"{prog}/My Projects/P\": "_s};
    QTest::newRow("skin.ini is a folder")
        << Act::CreatePackage << u"P"_s << QByteArray() << u"My Projects/P/skin.ini/x"_s
        << QStringList{
               u"The package P was not created.\r\nCannot write \"{prog}/My Projects/P/skin.ini\": "_s};
}

void tst_hostile::catalogue()
{
    QFETCH(Act, act);
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, blocker);
    QFETCH(QStringList, messages);
    Session s;
    s.dialogs.answers = {Dialogs::Answer::Yes};
    const QString chosen = s.elsewhere.filePath(name);
    if (act == Act::StartWith)
        s.folder.write(u"default.ini"_s, bytes);
    if (act == Act::WorkingPicture)
        s.folder.write(u"temp.jpg"_s, bytes);
    if (!blocker.isEmpty())
        s.folder.write(blocker, bytes);
    QDir(s.folder.file({})).mkdir(u"My Projects"_s); // as the build lays the program out
    const bool choseFile = act == Act::LoadSkin || act == Act::ImportPicture;
    if (choseFile)
        s.outside(name, bytes);
    QVERIFY(s.editor->open());
    QStringList before = s.folder.tree();
    before.removeAll(u"temp.ini"_s);
    frmPreview *preview = s.preview();

    switch (act) {
    case Act::StartWith:
        break;
    case Act::RestoreWithout:
    case Act::RestoreFromPipe:
        QFile::remove(s.folder.file(u"default.ini"_s));
        if (act == Act::RestoreFromPipe)
            QCOMPARE(mkfifo(qPrintable(s.folder.file(u"default.ini"_s)), 0600), 0);
        else
            before.removeAll(u"default.ini"_s);
        s.press("Command2");
        break;
    case Act::LoadSkin:
        s.dialogs.chosenFiles << chosen;
        s.trigger("loadskin");
        break;
    case Act::SaveSkinTo:
        s.dialogs.chosenFiles << s.folder.file(name);
        s.trigger("saveskin");
        break;
    case Act::ImportPicture:
        s.importPicture(chosen);
        break;
    case Act::WorkingPicture:
        preview->findChild<QAbstractButton *>(u"Option4"_s)->click();
        break;
    case Act::CreatePackage:
        s.createPackage(name);
        break;
    }

    QCOMPARE(s.dialogs.messages.size(), messages.size());
    for (qsizetype i = 0; i < messages.size(); ++i) {
        const QString start = QString(messages[i])
                                  .replace(u"{prog}"_s, s.folder.dir().path())
                                  .replace(u"{chosen}"_s, chosen)
                                  .replace(u"{name}"_s, name);
        QVERIFY2(s.dialogs.messages[i].startsWith(start), qPrintable(s.dialogs.messages[i]));
    }
    // Nothing new anywhere but the working skin; the chosen file untouched.
    QStringList after = s.folder.tree();
    after.removeAll(u"temp.ini"_s);
    QCOMPARE(after, before);
    QCOMPARE(QDir(s.elsewhere.path()).entryList(QDir::Files | QDir::Hidden),
             choseFile ? QStringList{name} : QStringList());
    QVERIFY(!preview->findChild<QRadioButton *>(u"Option4"_s)->isChecked());

    // And the program carries on: every row can be chosen and a colour applied.
    for (int row = 0; row < ItemCount; ++row)
        s.choose(row);
    s.choose(Row::RectBg);
    s.typeCode(u"0x80102030"_s);
    s.press("Command1");
    QVERIFY(s.folder.read(u"temp.ini"_s).contains("RectBg = 0x80102030\r\n"));
}

enum class Write
{
    SaveAs,  // Save As over a skin of the user's
    Apply,   // "Apply Change": temp.ini, then the snapshots
    Package, // Create Package, new or replacing one whose background was a BMP
};
Q_DECLARE_METATYPE(Write)

void tst_hostile::fullDisk_data()
{
    QTest::addColumn<Write>("write");
    QTest::addColumn<bool>("replacing");
    QTest::addColumn<int>("room");         // bytes a file may grow to
    QTest::addColumn<QStringList>("told"); // each the start of a message or question
    const QString tooLarge = u"File too large"_s;
    QTest::newRow("save as") << Write::SaveAs << false << 100
                             << QStringList{u"The skin was not saved.\r\nCannot write "
                                            "\"{prog}/mine.ini\": File too large"_s};
    QTest::newRow("apply") << Write::Apply << false << 100
                           << QStringList{u"Cannot write \"{prog}/temp.ini\": File too large"_s,
                                          u"Cannot write \"{prog}/temp.bmp\": File too large"_s};
    const QString notCreated = u"The package P was not created.\r\nCannot write "
                               "\"{prog}/My Projects/P/"_s;
    QTest::newRow("new package, skin")
        << Write::Package << false << 100 << QStringList{notCreated + u"skin.ini\": "_s + tooLarge};
    QTest::newRow("new package, background")
        << Write::Package << false << 4000
        << QStringList{notCreated + u"background.jpg\": "_s + tooLarge};
    QTest::newRow("replaced package, background")
        << Write::Package << true << 4000
        << QStringList{notCreated + u"background.jpg\": "_s + tooLarge};
}

// Every write that fails for want of room leaves the old file or package as it was, and
// says so with the system's reason; nothing claims success.
void tst_hostile::fullDisk()
{
    QFETCH(Write, write);
    QFETCH(bool, replacing);
    QFETCH(int, room);
    QFETCH(QStringList, told);
    Session s;
    s.folder.write(u"mine.ini"_s, QByteArray(3000, 'm'));
    QDir(s.folder.file({})).mkdir(u"My Projects"_s);
    QVERIFY(s.editor->open());
    const auto import = [&](const QString &name, QSize size) {
        s.importPicture(s.outside(name, encodedPicture(qRgb(50, 60, 70), "BMP", size)));
    };
    if (replacing) {
        import(u"old.bmp"_s, {90, 60});
        s.dialogs.answers << Dialogs::Answer::Yes;
        s.createPackage(u"P"_s);
    }
    if (write == Write::Package)
        import(u"new.jpg"_s, {120, 90});
    s.choose(Row::RectBg);
    s.typeCode(u"0x80102030"_s);
    const auto before = s.folder.contents();
    s.dialogs.messages.clear();
    s.dialogs.questions.clear();
    s.dialogs.answers = {Dialogs::Answer::Yes, Dialogs::Answer::Yes};
    {
        const FileSizeLimit limit{rlim_t(room)};
        switch (write) {
        case Write::SaveAs:
            s.dialogs.chosenFiles << s.folder.file(u"mine.ini"_s);
            s.trigger("saveskin");
            break;
        case Write::Apply:
            s.press("Command1");
            break;
        case Write::Package:
            s.createPackage(u"P"_s);
            break;
        }
    }
    const QStringList seen = write == Write::Apply ? s.dialogs.questions : s.dialogs.messages;
    QCOMPARE(seen.size(), told.size());
    for (qsizetype i = 0; i < told.size(); ++i)
        QVERIFY2(seen[i].startsWith(QString(told[i]).replace(u"{prog}"_s, s.folder.dir().path())),
                 qPrintable(seen[i]));
    QCOMPARE(s.folder.contents(), before);
}

void tst_hostile::linksAreNotWrittenThrough_data()
{
    QTest::addColumn<QString>("link");   // in the program folder
    QTest::addColumn<QString>("target"); // outside it; a dangling link when it is not there
    QTest::addColumn<QString>("act");    // "start", "package" or "import"
    QTest::addColumn<QString>("told");   // the start of the last message
    const QString created = u"Package P saved"_s;
    QTest::newRow("package folder") << u"My Projects/P"_s << u"theirs"_s << u"package"_s
                                    << u"The package P was not created.\r\nCannot replace "
                                       "\"{prog}/My Projects/P\": it is a link to"_s;
    QTest::newRow("skin.ini in a package")
        << u"My Projects/P/skin.ini"_s << u"theirs/skin.ini"_s << u"package"_s << created;
    QTest::newRow("background.bmp in a package")
        << u"My Projects/P/background.bmp"_s << u"theirs/picture.bmp"_s << u"package"_s << created;
    QTest::newRow("temp.ini") << u"temp.ini"_s << u"theirs/file"_s << u"start"_s << QString();
    QTest::newRow("temp.bmp") << u"temp.bmp"_s << u"theirs/file"_s << u"start"_s << QString();
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
    QTemporaryDir outside;
    QDir(outside.path()).mkpath(u"theirs"_s);
    for (auto name : {"theirs/skin.ini", "theirs/picture.bmp", "theirs/file"}) {
        QFile f(outside.filePath(QLatin1String(name)));
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write("theirs") == 6);
    }
    QDir(s.folder.file({})).mkpath(QFileInfo(s.folder.file(link)).path());
    QVERIFY(QFile::link(outside.filePath(target), s.folder.file(link)));
    // A picture background, so that a package holds background.bmp.
    s.folder.write(u"temp2.bmp"_s, encodedPicture(qRgb(1, 2, 3), "BMP"));
    const auto theirs = snapshot(outside.path());
    QVERIFY(s.editor->open());
    s.dialogs.answers = {Dialogs::Answer::Yes};
    if (act == u"package"_s) {
        s.createPackage(u"P"_s);
    } else if (act == u"import"_s) {
        s.importPicture(s.outside(u"p.jpg"_s, encodedPicture(qRgb(9, 9, 9), "JPEG")));
        QVERIFY(!QFileInfo(s.folder.file(link)).isSymLink());
    }
    if (!told.isEmpty())
        QVERIFY2(s.dialogs.messages.last().startsWith(
                     QString(told).replace(u"{prog}"_s, s.folder.dir().path())),
                 qPrintable(s.dialogs.messages.join(u"|"_s)));
    s.editor->close();
    QCOMPARE(snapshot(outside.path()), theirs);
}

// Exports killed at random moments, new ones and replacing ones, with the two kinds of
// background alternately: there is no package or a whole one, and the user's own file in
// a replaced package stays.
void tst_hostile::killedExportLeavesNoPartialPackage()
{
    Session s;
    QVERIFY(s.editor->open());
    const QByteArray pictures[] = {encodedPicture(qRgb(200, 0, 0), "BMP", {300, 200}),
                                   encodedPicture(qRgb(0, 0, 200), "BMP", {200, 300})};
    const QString working[] = {s.folder.file(u"temp.jpg"_s), s.folder.file(u"temp2.bmp"_s)};
    const auto exportWith = [&](int kind) {
        QFile::remove(working[1 - kind]);
        s.folder.write(QFileInfo(working[kind]).fileName(), pictures[kind]);
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

        if (!QFileInfo::exists(package)) {
            QVERIFY(fresh);
            continue;
        }
        const QByteArray skin = s.folder.read(u"My Projects/P/skin.ini"_s);
        QVERIFY(skin.endsWith("Zantho Skin created with Vellox v1.6.1 Beta 1\r\n"));
        const bool bmp = skin.contains("background = background.bmp");
        const QString background = bmp ? u"background.bmp"_s : u"background.jpg"_s;
        QStringList expected{background, u"skin.ini"_s};
        if (!fresh)
            expected.insert(1, u"notes.txt"_s);
        QCOMPARE(QDir(package).entryList(QDir::Files | QDir::Hidden, QDir::Name), expected);
        QCOMPARE(QImage(package + background, "BMP").size(),
                 bmp ? QSize(200, 300) : QSize(300, 200));
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

QTEST_MAIN(tst_hostile)
#include "tst_hostile.moc"
