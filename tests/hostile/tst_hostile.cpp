// Every bad input the program has been given, in one table: what the user does, what
// they are told, and that the program carries on with nothing written where it should
// not be.
#include "common/EditorSession.h"

#include "skin/SkinItems.h"

#include <QRadioButton>

using namespace Qt::Literals::StringLiterals;

namespace {

enum class Act
{
    StartWith,      // `bytes` as default.ini
    RestoreWithout, // default.ini gone after start-up
    LoadSkin,       // `bytes` chosen as a skin file named `name`
    SaveSkinTo,     // the skin saved to `name` in the program directory
    ImportPicture,  // `bytes` chosen as a background named `name`
    WorkingPicture, // `bytes` as temp.jpg, then "Picture BG"
    CreatePackage,  // a package named `name`, with `bytes` blocking the path `blocker`
};

QByteArray hugeJpegClaim()
{
    QByteArray jpeg = encodedPicture(qRgb(0, 128, 128), "JPEG");
    const qsizetype sof = jpeg.indexOf("\xff\xc0");
    jpeg.replace(sof + 5, 4, "\xea\x60\xea\x60"); // 60000 x 60000
    return jpeg;
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
        << none;
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
    QTest::newRow("bmp header cut short")
        << Act::ImportPicture << u"p.bmp"_s << encodedPicture(qRgb(0, 128, 128), "BMP").left(30)
        << QString() << undecodable;
    QTest::newRow("bmp rows cut short")
        << Act::ImportPicture << u"p.bmp"_s << encodedPicture(qRgb(0, 128, 128), "BMP").left(300)
        << QString() << undecodable;
    QTest::newRow("jpeg claiming 60000 square")
        << Act::ImportPicture << u"p.jpg"_s << hugeJpegClaim() << QString() << undecodable;
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
    QTemporaryDir elsewhere;
    s.dialogs.answers = {Dialogs::Answer::Yes};
    const QString chosen = elsewhere.filePath(name);
    if (act == Act::StartWith)
        s.folder.write(u"default.ini"_s, bytes);
    if (act == Act::WorkingPicture)
        s.folder.write(u"temp.jpg"_s, bytes);
    if (!blocker.isEmpty())
        s.folder.write(blocker, bytes);
    QDir(s.folder.file({})).mkdir(u"My Projects"_s); // as the build lays the program out
    const bool choseFile = act == Act::LoadSkin || act == Act::ImportPicture;
    if (choseFile) {
        QFile f(chosen);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
    }
    QVERIFY(s.editor->open());
    QStringList before = s.folder.tree();
    before.removeAll(u"temp.ini"_s);
    frmPreview *preview = s.preview();
    const auto click = [&](const char *button) {
        preview->findChild<QAbstractButton *>(QLatin1String(button))->click();
    };

    switch (act) {
    case Act::StartWith:
        break;
    case Act::RestoreWithout:
        QFile::remove(s.folder.file(u"default.ini"_s));
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
        s.dialogs.chosenFiles << chosen;
        click("Command1");
        break;
    case Act::WorkingPicture:
        click("Option4");
        break;
    case Act::CreatePackage:
        preview->findChild<QLineEdit *>(u"Text1"_s)->setText(name);
        click("Command2");
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
    QCOMPARE(QDir(elsewhere.path()).entryList(QDir::Files | QDir::Hidden),
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

QTEST_MAIN(tst_hostile)
#include "tst_hostile.moc"
