#include "editor/ColorBox.h"
#include "editor/frmMain.h"

#include "preview/DrawingArea.h"
#include "preview/frmPreview.h"

#include "skin/SkinItems.h"

#include "common/EditorSession.h"

#include "platform/Slider.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

// The skin text of the factory skin as the text box shows it.
QString factoryText()
{
    QString text = QString::fromLatin1(ProgramFolder::factorySkin());
    return text.left(text.indexOf("\r\n\r\n"_L1)).replace("\r\n"_L1, "\n"_L1);
}

QByteArray asSkinFile(const QString &text)
{
    return text.toLatin1().replace("\n", "\r\n") +
           "\r\n\r\nZantho Skin created with Vellox v1.6.1 Beta 1\r\n";
}

// What the colour controls show, in one comparable value.
struct Controls
{
    int red, green, blue, opacity;
    bool opacityEnabled;
    DisplayColor box;
    QString code;
    friend bool operator==(const Controls &, const Controls &) = default;
};
const Controls NoColor{0, 0, 0, 100, false, 0xFFFFFF, QString()};

} // namespace

namespace QTest {
template <> char *toString(const Controls &c)
{
    return qstrdup(qPrintable(u"r=%1 g=%2 b=%3 o=%4%5 box=%6 code=\"%7\""_s.arg(c.red)
                                  .arg(c.green)
                                  .arg(c.blue)
                                  .arg(c.opacity)
                                  .arg(c.opacityEnabled ? "" : " (disabled)")
                                  .arg(c.box)
                                  .arg(c.code)));
}
} // namespace QTest

Q_DECLARE_METATYPE(Controls)

namespace {
Controls controls(const Session &s)
{
    return {s.slider(1)->value(), s.slider(2)->value(),     s.slider(3)->value(),
            s.slider(4)->value(), s.slider(4)->isEnabled(), s.get<ColorBox>("Shape1")->color(),
            s.code()->text()};
}
} // namespace
Q_DECLARE_METATYPE(QList<Dialogs::Answer>)

class tst_frmMain : public QObject
{
    Q_OBJECT

private slots:
    void startupShowsFactorySkin();
    void missingDefaultIniEndsProgram();
    void shutdownDeletesWorkingFiles();
    void minimiseHidesPreview();
    void itemSelection_data();
    void itemSelection();
    void typedCode_data();
    void typedCode();
    void slidersCompose();
    void applyStoresAndRedraws();
    void applyOnHeaderRow();
    void applyFailures_data();
    void applyFailures();
    void restoreDefaults();
    void loadSkin();
    void saveSkin();
    void lineBreaksKeepTheirBytes();
    void previewEntry();
};

void tst_frmMain::startupShowsFactorySkin()
{
    Session s;
    QVERIFY(s.editor->open());
    QCOMPARE(s.editor->windowTitle(), u"Vellox v1.6.2 Beta"_s);
    QCOMPARE(s.get<QComboBox>("Combo1")->count(), ItemCount);
    QCOMPARE(s.get<QComboBox>("Combo1")->currentIndex(), 0);
    QCOMPARE(controls(s), NoColor);
    QCOMPARE(s.skinText(), factoryText());
    QCOMPARE(s.folder.read(u"temp.ini"_s), asSkinFile(factoryText()));
    QVERIFY(s.preview() && s.preview()->isVisible());
    QVERIFY(s.get<QAction>("preview")->isChecked());
    QVERIFY(!s.get<QAction>("howto")->isEnabled());
    QCOMPARE(s.dialogs.messages, QStringList());
}

void tst_frmMain::missingDefaultIniEndsProgram()
{
    Session s;
    QFile::remove(s.folder.file(u"default.ini"_s));
    for (auto name : {"temp.ini", "temp.jpg", "temp2.bmp"})
        s.folder.write(QLatin1String(name), "left over");
    QVERIFY(!s.editor->open());
    QCOMPARE(s.dialogs.messages,
             QStringList{u"Default.ini not found. Make sure it is in the Vellox directory."_s});
    QCOMPARE(s.folder.tree(), QStringList());
    for (QWidget *w : QApplication::topLevelWidgets())
        QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
}

void tst_frmMain::shutdownDeletesWorkingFiles()
{
    Session s;
    QVERIFY(s.editor->open());
    for (auto name : {"temp.jpg", "temp2.bmp", "temp.bmp", "keep.ini"})
        s.folder.write(QLatin1String(name), "x");
    s.trigger("exit");
    QVERIFY(!s.editor->isVisible());
    QVERIFY(!s.preview());
    QVERIFY(!s.get<QAction>("preview")->isChecked());
    QCOMPARE(s.folder.tree(), (QStringList{"default.ini", "keep.ini"}));
}

void tst_frmMain::minimiseHidesPreview()
{
    Session s;
    QVERIFY(s.editor->open());
    QPointer<frmPreview> preview = s.preview();
    s.editor->showMinimized();
    QVERIFY(preview && !preview->isVisible() && s.get<QAction>("preview")->isChecked());
    s.editor->showNormal();
    QVERIFY(preview->isVisible());
    // Closed through the menu, it comes back with the next restore.
    s.trigger("preview");
    QVERIFY(!s.preview() && !s.get<QAction>("preview")->isChecked());
    s.editor->showMinimized();
    s.editor->showNormal();
    QVERIFY(s.preview() && s.preview()->isVisible() && s.get<QAction>("preview")->isChecked());
}

void tst_frmMain::itemSelection_data()
{
    QTest::addColumn<QByteArray>("skin"); // default.ini; empty for the factory skin
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("row");
    QTest::addColumn<Controls>("shown");
    const QByteArray factory;
    QTest::newRow("header after a colour") << factory << Row::RectBg << 0 << NoColor;
    QTest::newRow("separator") << factory << Row::TitleColour << 8 << NoColor;
    QTest::newRow("translucent Menu BG")
        << factory << 0 << Row::RectBg
        << Controls{0x22, 0x3A, 0x5E, 60, true, 0x5E3A22, u"0x99223A5E"_s};
    QTest::newRow("opaque after translucent")
        << factory << Row::RectBg << Row::BgColour1
        << Controls{0x1B, 0x2A, 0x41, 100, false, 0x412A1B, u"0xFF1B2A41"_s};
    const QByteArray one = "BgColor1 = 0xFF102030\r\n";
    const Controls shown{0x10, 0x20, 0x30, 100, false, 0x302010, u"0xFF102030"_s};
    QTest::newRow("empty entry keeps the controls")
        << one << Row::BgColour1 << Row::TextColour << shown;
    Controls enabled = shown;
    enabled.opacityEnabled = true;
    QTest::newRow("empty translucent entry") << one << Row::BgColour1 << Row::RectBg << enabled;
    const QByteArray bad = "RectBg = 0x80GG0000\r\nBgColor1 = oops\r\n";
    Controls none = NoColor;
    none.opacityEnabled = true;
    QTest::newRow("undecodable translucent entry") << bad << Row::BgColour2 << Row::RectBg << none;
    QTest::newRow("undecodable entry") << bad << Row::RectBg << Row::BgColour1 << NoColor;
}

void tst_frmMain::itemSelection()
{
    QFETCH(QByteArray, skin);
    QFETCH(int, before);
    QFETCH(int, row);
    QFETCH(Controls, shown);
    Session s;
    if (!skin.isEmpty())
        s.folder.write(u"default.ini"_s, skin);
    QVERIFY(s.editor->open());
    s.choose(before);
    s.choose(row);
    QCOMPARE(controls(s), shown);
    QCOMPARE(s.dialogs.messages, QStringList());
}

void tst_frmMain::typedCode_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<Controls>("shown");
    QTest::newRow("translucent") << Row::RectBg << u"0x80FF8000"_s
                                 << Controls{255, 128, 0, 50, true, 33023, {}};
    QTest::newRow("opaque keeps opacity")
        << Row::BgColour1 << u"0x80FF8000"_s << Controls{255, 128, 0, 100, false, 33023, {}};
    QTest::newRow("no prefix") << Row::RectBg << u"FF8000"_s << Controls{0, 0, 0, 50, true, 0, {}};
    QTest::newRow("non-hex opacity")
        << Row::RectBg << u"0xGG112233"_s << Controls{17, 34, 51, 0, true, 0x332211, {}};
    QTest::newRow("lower case, long tail")
        << Row::BgColour2 << u"0xff0a0b0czz"_s << Controls{10, 11, 12, 100, false, 0x0C0B0A, {}};
    QTest::newRow("half typed") << Row::MenuBgColour << u"0xFF1"_s
                                << Controls{1, 0, 0, 100, true, 1, {}};
}

void tst_frmMain::typedCode()
{
    QFETCH(int, row);
    QFETCH(QString, typed);
    QFETCH(Controls, shown);
    Session s;
    QVERIFY(s.editor->open());
    s.choose(row);
    s.typeCode(typed); // a key at a time: every keystroke moves the sliders
    shown.code = typed;
    QCOMPARE(controls(s), shown);
    // Emptying the box reads as all zero; nothing reaches the skin without Apply Change.
    s.code()->clear();
    QCOMPARE(
        controls(s),
        (Controls{0, 0, 0, shown.opacityEnabled ? 0 : shown.opacity, shown.opacityEnabled, 0, {}}));
    s.choose(row);
    QCOMPARE(s.skinText(), factoryText());
}

void tst_frmMain::slidersCompose()
{
    Session s;
    QVERIFY(s.editor->open());
    s.choose(Row::RectBg); // 0x99223A5E
    QTest::keyClick(s.slider(1), Qt::Key_Right);
    QCOMPARE(controls(s), (Controls{0x23, 0x3A, 0x5E, 60, true, 0x5E3A23, u"0x99233A5E"_s}));
    QTest::keyClick(s.slider(4), Qt::Key_PageDown); // the box keeps its colour
    QCOMPARE(controls(s), (Controls{0x23, 0x3A, 0x5E, 55, true, 0x5E3A23, u"0x8C233A5E"_s}));
    QCOMPARE(s.folder.read(u"temp.ini"_s), asSkinFile(factoryText()));

    // An opaque item stored at 80 shows 50 % on the disabled slider; an edit turns the
    // percentage back into the byte 7F.
    s.choose(Row::BgColour2);
    s.typeCode(u"0x80102030"_s);
    s.press("Command1");
    s.choose(Row::BgColour2);
    QCOMPARE(controls(s), (Controls{0x10, 0x20, 0x30, 50, false, 0x302010, u"0x7F102030"_s}));
    QTest::keyClick(s.slider(2), Qt::Key_Left);
    QCOMPARE(s.code()->text(), u"0x7F101F30"_s);
}

void tst_frmMain::applyStoresAndRedraws()
{
    Session s;
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(qRgb(250, 250, 250));
    QVERIFY(picture.save(s.folder.file(u"temp2.bmp"_s), "BMP"));
    QVERIFY(s.editor->open());
    s.choose(Row::RectBg);
    s.typeCode(u"0xFF11CC33"_s);
    s.press("Command1");
    QString expected = factoryText().replace(u"RectBg = 0x99223A5E"_s, u"RectBg = 0xff11cc33"_s);
    QCOMPARE(s.skinText(), expected);
    QCOMPARE(s.folder.read(u"temp.ini"_s), asSkinFile(expected));
    QCOMPARE(s.scenePixel("Picture1", 100, 290), qRgb(0x11, 0xCC, 0x33));
    QCOMPARE(s.scenePixel("Picture2", 100, 290), qRgb(0x11, 0xCC, 0x33));
    s.choose(Row::BgColour1);
    s.choose(Row::RectBg);
    QCOMPARE(s.code()->text(), u"0xFF11CC33"_s);

    // A code the preview cannot read is stored all the same, and the redraw asks.
    s.typeCode(u"0xFFGG0000"_s);
    s.dialogs.answers = {Dialogs::Answer::Yes};
    s.press("Command1");
    QCOMPARE(s.dialogs.questions, QStringList{u"Type mismatch (13)\r\n\r\nContinue?"_s});
    QVERIFY(s.folder.read(u"temp.ini"_s).contains("RectBg = 0xffgg0000\r\n"));
    s.choose(0);
    s.choose(Row::RectBg);
    QCOMPARE(controls(s), (Controls{0, 0, 0, 100, true, 0xFFFFFF, {}}));
}

void tst_frmMain::applyOnHeaderRow()
{
    Session s;
    QVERIFY(s.editor->open());
    s.press("Command1");
    QCOMPARE(s.editor->colors().at(0), QString());
    s.typeCode(u"0x80FF0000"_s);
    s.press("Command1");
    QCOMPARE(s.editor->colors().at(0), u"0x80ff0000"_s);
    QCOMPARE(s.skinText(), factoryText());
    s.choose(0);
    QCOMPARE(controls(s), (Controls{255, 0, 0, 50, false, 0x0000FF, u"0x7FFF0000"_s}));
    QCOMPARE(s.dialogs.questions, QStringList());
}

void tst_frmMain::applyFailures_data()
{
    QTest::addColumn<bool>("noRow");
    QTest::addColumn<bool>("tempIniBlocked");
    QTest::addColumn<QList<Dialogs::Answer>>("answers");
    QTest::addColumn<bool>("refreshed");
    using A = Dialogs::Answer;
    QTest::newRow("no row, continue") << true << false << QList<A>{A::Yes} << true;
    QTest::newRow("no row, stop") << true << false << QList<A>{A::No} << false;
    QTest::newRow("temp.ini blocked") << false << true << QList<A>{A::Yes} << true;
    QTest::newRow("both fail, asked twice") << true << true << QList<A>{A::Yes, A::Yes} << true;
    QTest::newRow("both fail, stop at first") << true << true << QList<A>{A::No} << false;
}

void tst_frmMain::applyFailures()
{
    QFETCH(bool, noRow);
    QFETCH(bool, tempIniBlocked);
    QFETCH(QList<Dialogs::Answer>, answers);
    QFETCH(bool, refreshed);
    Session s;
    QVERIFY(s.editor->open());
    QFile::remove(s.folder.file(u"temp.ini"_s));
    if (tempIniBlocked)
        QDir(s.folder.file({})).mkdir(u"temp.ini"_s);
    s.get<QPlainTextEdit>("Text5")->setPlainText(u"hand edit"_s);
    if (noRow)
        s.get<QComboBox>("Combo1")->setCurrentIndex(-1);
    s.dialogs.answers = answers;
    s.press("Command1");

    QCOMPARE(s.dialogs.questions.size(), answers.size());
    if (noRow)
        QCOMPARE(s.dialogs.questions.first(), u"Subscript out of range (9)\r\n\r\nContinue?"_s);
    if (tempIniBlocked && answers.last() == Dialogs::Answer::Yes)
        QVERIFY(s.dialogs.questions.last().startsWith(u"Cannot write \""_s +
                                                      s.folder.file(u"temp.ini"_s)));
    QCOMPARE(s.skinText(), refreshed ? factoryText() : u"hand edit"_s);
    QCOMPARE(s.folder.exists(u"temp.ini"_s), refreshed || tempIniBlocked);
}

void tst_frmMain::restoreDefaults()
{
    Session s;
    QVERIFY(s.editor->open());
    s.choose(Row::RectBg);
    s.typeCode(u"0x00000000"_s);
    s.press("Command1");
    s.choose(Row::MenuBgColour);
    s.press("Command2");
    QCOMPARE(s.get<QComboBox>("Combo1")->currentIndex(), 0);
    QCOMPARE(controls(s), NoColor);
    QCOMPARE(s.skinText(), factoryText());
    QCOMPARE(s.folder.read(u"temp.ini"_s), asSkinFile(factoryText()));
}

void tst_frmMain::loadSkin()
{
    Session s;
    QVERIFY(s.editor->open());
    s.folder.write(u"mine.ini"_s, "rectbg = 0x4c010203\r\nDrawTitle = 1\r\n");
    s.dialogs.chosenFiles = {s.folder.file(u"mine.ini"_s), QString(), s.folder.file(u"none.ini"_s)};
    s.choose(Row::RectBg);
    s.trigger("loadskin");
    QCOMPARE(s.get<QComboBox>("Combo1")->currentIndex(), 0);
    const QString expected =
        factoryText().replace(u"RectBg = 0x99223A5E"_s, u"RectBg = 0x4c010203"_s);
    QCOMPARE(s.folder.read(u"temp.ini"_s), asSkinFile(expected));
    // Cancelling, or a name that does not exist, changes nothing.
    s.choose(Row::RectBg);
    s.trigger("loadskin");
    s.trigger("loadskin");
    QCOMPARE(s.get<QComboBox>("Combo1")->currentIndex(), Row::RectBg);
    QCOMPARE(s.skinText(), expected);
    QCOMPARE(s.dialogs.fileRequests[1].initialFile, s.folder.file(u"mine.ini"_s));
    QCOMPARE(s.dialogs.fileRequests[2].filter, u"Zantho Skin Files (*.ini)|*.ini"_s);
    QCOMPARE(s.dialogs.messages, QStringList());
}

void tst_frmMain::saveSkin()
{
    Session s;
    QVERIFY(s.editor->open());
    auto *text5 = s.get<QPlainTextEdit>("Text5");
    text5->moveCursor(QTextCursor::End);
    QTest::keyClick(text5, Qt::Key_Return);
    QTest::keyClicks(text5, u"; mine"_s);
    s.choose(Row::BgColour1);
    s.typeCode(u"0xFF000000"_s); // composed, not applied: not saved

    const QString path = s.folder.file(u"my skin"_s);
    s.dialogs.chosenFiles = {path, QString()};
    s.trigger("saveskin");
    s.trigger("saveskin");
    QCOMPARE(s.folder.read(u"my skin"_s), asSkinFile(factoryText() + u"\n; mine"_s));
    QCOMPARE(s.dialogs.messages, QStringList{u"Skin.ini saved to "_s + path});
    QVERIFY(s.dialogs.fileRequests[1].save);
    QCOMPARE(s.dialogs.fileRequests[1].initialFile, path);
    QCOMPARE(s.folder.tree(), (QStringList{"default.ini", "my skin", "temp.ini"}));
}

void tst_frmMain::lineBreaksKeepTheirBytes()
{
    Session s;
    s.folder.write(u"lf.ini"_s, "RectBg = 0x80102030\nShadow = 1\r\n");
    QVERIFY(s.editor->open());
    s.dialogs.chosenFiles << s.folder.file(u"lf.ini"_s);
    s.trigger("loadskin");
    s.choose(Row::TextColour);
    s.code()->setText(u"0xff0102\r03"_s); // as pasted
    s.press("Command1");
    auto *text5 = s.get<QPlainTextEdit>("Text5");
    text5->moveCursor(QTextCursor::End);
    QTest::keyClick(text5, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(text5, u"; shifted"_s);
    QApplication::clipboard()->setText(QChar(QChar::LineSeparator) + u"; pasted"_s);
    text5->paste();
    const QString path = s.folder.file(u"out.ini"_s);
    s.dialogs.chosenFiles << path;
    s.trigger("saveskin");
    const QByteArray saved = s.folder.read(u"out.ini"_s);
    QVERIFY(saved.contains("\r\nRectBg = 0x80102030\nShadow\r\n"));
    QVERIFY(saved.contains("\r\nTextColor = 0xff0102\r03\r\n"));
    QVERIFY(saved.contains("\r\n; shifted\r\n; pasted\r\n\r\nZantho"));

    // A character 8-bit text cannot hold is named, and the saved file stays as it was.
    QTest::sendKeyEvent(QTest::Click, text5, Qt::Key_unknown, u"\u20ac"_s, Qt::NoModifier);
    s.dialogs.chosenFiles << path;
    s.trigger("saveskin");
    QCOMPARE(s.folder.read(u"out.ini"_s), saved);
    QCOMPARE(s.dialogs.messages.last(),
             u"The skin was not saved.\r\nCannot write \"%1\": 8-bit text cannot hold the "
             "character \"\u20ac\""_s.arg(path));
}

void tst_frmMain::previewEntry()
{
    Session s;
    QVERIFY(s.editor->open());
    auto *entry = s.get<QAction>("preview");
    entry->trigger();
    QVERIFY(!s.preview() && !entry->isChecked());
    // Apply Change loads it again unseen; the next choice closes the hidden window.
    s.press("Command1");
    QVERIFY(s.preview() && !s.preview()->isVisible() && entry->isChecked());
    entry->trigger();
    QVERIFY(!s.preview() && !entry->isChecked());
    entry->trigger();
    QVERIFY(s.preview() && s.preview()->isVisible() && entry->isChecked());
}

QTEST_MAIN(tst_frmMain)
#include "tst_frmMain.moc"
