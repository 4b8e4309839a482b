#include "editor/ColorBox.h"
#include "editor/frmMain.h"

#include "preview/DrawingArea.h"
#include "preview/frmPreview.h"

#include "skin/SkinItems.h"

#include "common/ProgramFolder.h"
#include "common/ScriptedDialogs.h"

#include "platform/Slider.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString FactoryText = u"BgColor1 = 0xFF1B2A41\n"
                            "BgColor2 = 0xFF0A111C\n"
                            "TitleColor = 0xFFF2F5FA\n"
                            "Shadow = 0xB2000000\n"
                            "RectBg = 0x99223A5E\n"
                            "RectOutline = 0xFF5B8DEF\n"
                            "TextColor = 0xFFDCE3EE\n"
                            "SelectColor = 0x8C3D7BD9\n"
                            "SelectOutline = 0xFF8FB8FF\n"
                            "ChangeColor = 0x7FE0A030\n"
                            "ChangeOutline = 0xFFF5C26B\n"
                            "ChangeTextColor = 0xFFFFF4DC\n"
                            "SelectedTextColor = 0xFFFFFFFF\n"
                            "BottomTextColor = 0xFF9FB3C8\n"
                            "SectionTextColor = 0xFF8FB8FF\n"
                            "MenuTitleColor = 0xFFFFFFFF\n"
                            "MenuBgColor = 0xCC101B2D\n"
                            "MenuOutlineColor = 0xFF5B8DEF\n"
                            "MenuSelectedColor = 0xFFF5C26B\n"
                            "NotSupported = 0xFF7A8698"_s;

QByteArray asSkinFile(const QString &text)
{
    QByteArray bytes = text.toLatin1();
    bytes.replace("\n", "\r\n");
    return bytes + "\r\n\r\nZantho Skin created with Vellox v1.6.1 Beta 1\r\n";
}

// What the colour controls show, in one comparable line.
struct Controls
{
    int red, green, blue, opacity;
    bool opacityEnabled;
    DisplayColor box;
    QString code;

    friend bool operator==(const Controls &, const Controls &) = default;
};

} // namespace

namespace QTest {
template <> char *toString(const Controls &c)
{
    return qstrdup(QStringLiteral("r=%1 g=%2 b=%3 o=%4%5 box=%6 code=\"%7\"")
                       .arg(c.red)
                       .arg(c.green)
                       .arg(c.blue)
                       .arg(c.opacity)
                       .arg(c.opacityEnabled ? "" : " (disabled)")
                       .arg(c.box)
                       .arg(c.code)
                       .toUtf8());
}
} // namespace QTest

Q_DECLARE_METATYPE(Controls)
Q_DECLARE_METATYPE(QList<Dialogs::Answer>)

// One running editor in its own program directory.
class Session
{
public:
    explicit Session(ProgramFolder::Content content = ProgramFolder::Content::FactorySkin)
        : folder(content)
    {
    }
    ~Session()
    {
        if (editor)
            editor->close();
    }

    bool open()
    {
        editor = std::make_unique<frmMain>(folder.dir(), dialogs);
        return editor->open();
    }

    template <typename T> T *get(const char *name) const
    {
        T *w = editor->findChild<T *>(QLatin1String(name));
        if (!w)
            qFatal("no child %s", name);
        return w;
    }
    QComboBox *combo() const { return get<QComboBox>("Combo1"); }
    QLineEdit *code() const { return get<QLineEdit>("Text7"); }
    Slider *slider(int n) const { return get<Slider>(qPrintable(u"Slider%1"_s.arg(n))); }
    QAction *action(const char *name) const { return get<QAction>(name); }
    QString skinText() const { return get<QPlainTextEdit>("Text5")->toPlainText(); }

    Controls controls() const
    {
        return {slider(1)->value(), slider(2)->value(),     slider(3)->value(),
                slider(4)->value(), slider(4)->isEnabled(), get<ColorBox>("Shape1")->color(),
                code()->text()};
    }

    // As the user choosing a row in the list, the same row included.
    void choose(int row) const
    {
        combo()->setCurrentIndex(row);
        emit combo()->activated(row);
    }
    void press(const char *button) const
    {
        QTest::mouseClick(get<QPushButton>(button), Qt::LeftButton);
    }
    void typeCode(const QString &text) const
    {
        code()->clear();
        QTest::keyClicks(code(), text);
    }

    ProgramFolder folder;
    ScriptedDialogs dialogs;
    std::unique_ptr<frmMain> editor;
};

class tst_frmMain : public QObject
{
    Q_OBJECT

private slots:
    void startupShowsFactorySkin();
    void layout_data();
    void layout();
    void menus();
    void focusOrder();
    void missingDefaultIniEndsProgram();
    void hostileFactorySkin_data();
    void hostileFactorySkin();
    void shutdownDeletesWorkingFiles();
    void closeBoxAndExitAgree();
    void minimiseHidesPreview();

    void itemSelection_data();
    void itemSelection();
    void keyboardSelection();
    void emptyEntryKeepsControls();
    void undecodableEntryShowsNoColor();
    void typedCode_data();
    void typedCode();
    void typingOneCharacterAtATime();
    void slidersCompose();

    void applyStoresLowerCase();
    void applyOnHeaderRow();
    void applyFailures_data();
    void applyFailures();
    void restoreDefaults();
    void restoreWithoutDefaultIni();
    void loadSkin();
    void loadSkinIgnoresNonFiles_data();
    void loadSkinIgnoresNonFiles();
    void saveSkin();
    void saveSkinFailure();
    void previewEntry();
    void aboutAsksForTheWindow();

    void applyRedrawsBothScenes();
    void applyUndecodableCode();
    void reopenedPreviewStartsAfresh();
};

void tst_frmMain::startupShowsFactorySkin()
{
    Session s;
    QVERIFY(s.open());
    QCOMPARE(s.editor->windowTitle(), u"Vellox v1.6.2 Beta"_s);
    QVERIFY(s.editor->isVisible());
    QCOMPARE(s.combo()->count(), 31);
    for (int row = 0; row < ItemCount; ++row)
        QCOMPARE(s.combo()->itemText(row), SkinItems[static_cast<size_t>(row)].label.toString());
    QCOMPARE(s.combo()->currentIndex(), 0);
    QCOMPARE(s.controls(), (Controls{0, 0, 0, 100, false, 0xFFFFFF, QString()}));
    QCOMPARE(s.skinText(), FactoryText);
    QCOMPARE(s.folder.read(u"temp.ini"_s), asSkinFile(FactoryText));
    QVERIFY(s.editor->loadedPreview());
    QVERIFY(s.editor->loadedPreview()->isVisible());
    QVERIFY(s.action("preview")->isChecked());
    QCOMPARE(s.dialogs.messages, QStringList());
    // The factory skin names every colour item and nothing else.
    for (int row = 0; row < ItemCount; ++row)
        QCOMPARE(s.editor->colors().at(row).isEmpty(),
                 !SkinItems[static_cast<size_t>(row)].isColor());
}

void tst_frmMain::layout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("caption");
    QTest::newRow("Frame1") << "Frame1"
                            << "client" << QRect(8, 8, 257, 305) << "Backround/Foreground";
    QTest::newRow("Label4") << "Label4"
                            << "Frame1" << QRect(16, 24, 145, 17) << "Select Item:";
    QTest::newRow("Combo1") << "Combo1"
                            << "Frame1" << QRect(16, 40, 201, 21) << "";
    QTest::newRow("Label5") << "Label5"
                            << "Frame1" << QRect(16, 72, 73, 17) << "Preview Color:";
    QTest::newRow("Shape1") << "Shape1"
                            << "Frame1" << QRect(16, 88, 73, 105) << "";
    QTest::newRow("Label1") << "Label1"
                            << "Frame1" << QRect(104, 72, 24, 19) << "Red:";
    QTest::newRow("Slider1") << "Slider1"
                             << "Frame1" << QRect(96, 88, 153, 17) << "";
    QTest::newRow("Label2") << "Label2"
                            << "Frame1" << QRect(104, 112, 33, 17) << "Green:";
    QTest::newRow("Slider2") << "Slider2"
                             << "Frame1" << QRect(96, 128, 153, 17) << "";
    QTest::newRow("Label3") << "Label3"
                            << "Frame1" << QRect(104, 152, 25, 17) << "Blue:";
    QTest::newRow("Slider3") << "Slider3"
                             << "Frame1" << QRect(96, 168, 153, 17) << "";
    QTest::newRow("Label7") << "Label7"
                            << "Frame1" << QRect(16, 208, 41, 17) << "Opacity:";
    QTest::newRow("Slider4") << "Slider4"
                             << "Frame1" << QRect(56, 208, 193, 17) << "";
    QTest::newRow("Label8") << "Label8"
                            << "Frame1" << QRect(16, 240, 65, 17) << "Skin.ini Code:";
    QTest::newRow("Text7") << "Text7"
                           << "Frame1" << QRect(88, 240, 153, 19) << "";
    QTest::newRow("Command2") << "Command2"
                              << "client" << QRect(24, 280, 105, 25) << "Restore Defaults";
    QTest::newRow("Command1") << "Command1"
                              << "client" << QRect(144, 280, 105, 25) << "Apply Change";
    QTest::newRow("Frame2") << "Frame2"
                            << "client" << QRect(272, 8, 241, 305) << "Skin.ini";
    QTest::newRow("Text5") << "Text5"
                           << "Frame2" << QRect(16, 24, 209, 267) << "";
}

void tst_frmMain::layout()
{
    QFETCH(QString, name);
    QFETCH(QString, parent);
    QFETCH(QRect, geometry);
    QFETCH(QString, caption);
    Session s;
    QVERIFY(s.open());
    auto *w = s.get<QWidget>(qPrintable(name));
    QCOMPARE(w->parentWidget()->objectName(), parent);
    QCOMPARE(w->geometry(), geometry);
    if (auto *label = qobject_cast<QLabel *>(w))
        QCOMPARE(label->text(), caption);
    if (auto *button = qobject_cast<QPushButton *>(w))
        QCOMPARE(button->text(), caption);
    if (auto *frame = qobject_cast<QGroupBox *>(w))
        QCOMPARE(frame->title(), caption);
    if (auto *slider = qobject_cast<Slider *>(w)) {
        QCOMPARE(slider->minimum(), 0);
        QCOMPARE(slider->maximum(), name == "Slider4"_L1 ? 100 : 255);
        QCOMPARE(slider->singleStep(), 1);
        QCOMPARE(slider->pageStep(), 5);
        QCOMPARE(slider->orientation(), Qt::Horizontal);
    }
    QCOMPARE(s.get<QWidget>("client")->size(), QSize(520, 317));
    QCOMPARE(s.editor->minimumSize(), s.editor->maximumSize());
}

void tst_frmMain::menus()
{
    Session s;
    QVERIFY(s.open());
    QStringList bar;
    for (QAction *menuAction : s.editor->menuBar()->actions()) {
        QMenu *menu = menuAction->menu();
        QStringList entries;
        for (QAction *a : menu->actions())
            entries << a->objectName() + u'=' + a->text();
        bar << menu->objectName() + u'=' + menu->title() + u':' + entries.join(u',');
    }
    QCOMPARE(bar,
             (QStringList{
                 u"File=File:loadskin=Load skin.ini...,saveskin=Save skin.ini As...,exit=Exit"_s,
                 u"menu_preview=Skin Preview:preview=Preview"_s,
                 u"Help=Help:howto=How To Use,about=About"_s,
             }));
    QVERIFY(s.action("preview")->isCheckable());
    QVERIFY(!s.action("howto")->isEnabled());
}

void tst_frmMain::focusOrder()
{
    Session s;
    QVERIFY(s.open());
    QStringList order;
    QWidget *w = s.combo();
    for (int i = 0; i < 9; ++i) {
        order << w->objectName();
        w = w->nextInFocusChain();
        while (w->focusPolicy() == Qt::NoFocus || !w->isVisible() || w->objectName().isEmpty())
            w = w->nextInFocusChain();
    }
    QCOMPARE(order, (QStringList{"Combo1", "Text5", "Command1", "Command2", "Text7", "Slider1",
                                 "Slider2", "Slider3", "Slider4"}));
}

void tst_frmMain::missingDefaultIniEndsProgram()
{
    Session s(ProgramFolder::Content::Empty);
    for (auto name : {"temp.ini", "temp.jpg", "temp2.bmp"})
        s.folder.write(QLatin1String(name), "left over");
    QVERIFY(!s.open());
    QCOMPARE(s.dialogs.messages,
             QStringList{u"Default.ini not found. Make sure it is in the Vellox directory."_s});
    QCOMPARE(s.folder.entries(), QStringList());
    QVERIFY(!s.editor->loadedPreview());
    for (QWidget *w : QApplication::topLevelWidgets())
        QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
}

void tst_frmMain::hostileFactorySkin_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QByteArray binary(70000, '\0');
    for (int i = 0; i < binary.size(); ++i)
        binary[i] = char((i * 7919) % 256);
    QTest::newRow("binary") << binary;
    QTest::newRow("10 MB single line") << "BgColor1 = " + QByteArray(10 * 1024 * 1024, 'F');
    QTest::newRow("only CRs") << QByteArray(100000, '\r');
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("separators only") << QByteArray(" =  =  = \r\n = \r\n");
    QTest::newRow("undecodable codes")
        << asSkinFile(u"BgColor1 = 0xFFGGGGGG\nRectBg = \nShadow = x"_s);
    QTest::newRow("LF line ends") << QByteArray("BgColor1 = 0xFF010203\nBgColor2 = 0xFF040506\n");
}

void tst_frmMain::hostileFactorySkin()
{
    QFETCH(QByteArray, bytes);
    Session s;
    s.folder.write(u"default.ini"_s, bytes);
    QVERIFY(s.open());
    QCOMPARE(s.combo()->currentIndex(), 0);
    // temp.ini holds the table exactly as read, a lone LF inside a code included.
    QVERIFY(
        s.folder.read(u"temp.ini"_s)
            .startsWith("BgColor1 = " + s.editor->colors().at(Row::BgColor1).toLatin1() + "\r\n"));
    for (int row = 0; row < ItemCount; ++row)
        s.choose(row);
}

void tst_frmMain::shutdownDeletesWorkingFiles()
{
    Session s;
    QVERIFY(s.open());
    for (auto name : {"temp.jpg", "temp2.bmp", "temp.bmp", "keep.ini"})
        s.folder.write(QLatin1String(name), "x");
    s.editor->close();
    QVERIFY(!s.editor->loadedPreview());
    QVERIFY(!s.action("preview")->isChecked());
    QCOMPARE(s.folder.entries(), (QStringList{"default.ini", "keep.ini", "temp.bmp"}));
    QCOMPARE(s.dialogs.messages, QStringList());
}

void tst_frmMain::closeBoxAndExitAgree()
{
    Session s;
    QVERIFY(s.open());
    s.action("exit")->trigger();
    QVERIFY(!s.editor->isVisible());
    QVERIFY(!s.editor->loadedPreview());
    QVERIFY(!s.folder.exists(u"temp.ini"_s));
}

void tst_frmMain::minimiseHidesPreview()
{
    Session s;
    QVERIFY(s.open());
    QPointer<frmPreview> preview = s.editor->loadedPreview();
    s.editor->showMinimized();
    QVERIFY(preview && !preview->isVisible());
    QVERIFY(s.action("preview")->isChecked());
    s.editor->showNormal();
    QVERIFY(preview && preview->isVisible());

    // Closed through the menu, it comes back with the next restore.
    s.action("preview")->trigger();
    QVERIFY(!s.editor->loadedPreview());
    QVERIFY(!s.action("preview")->isChecked());
    s.editor->showMinimized();
    s.editor->showNormal();
    QVERIFY(s.editor->loadedPreview() && s.editor->loadedPreview()->isVisible());
    QVERIFY(s.action("preview")->isChecked());

    s.editor->showMaximized();
    QVERIFY(s.editor->loadedPreview()->isVisible());
}

void tst_frmMain::itemSelection_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("row");
    QTest::addColumn<Controls>("shown");
    const Controls none{0, 0, 0, 100, false, 0xFFFFFF, QString()};
    QTest::newRow("header after a colour") << Row::RectBg << 0 << none;
    QTest::newRow("separator") << Row::TitleColor << 8 << none;
    QTest::newRow("blank") << Row::NotSupported << 23 << none;
    QTest::newRow("translucent Menu BG")
        << 0 << Row::RectBg << Controls{0x22, 0x3A, 0x5E, 60, true, 0x5E3A22, u"0x99223A5E"_s};
    QTest::newRow("opaque after translucent")
        << Row::RectBg << Row::BgColor1
        << Controls{0x1B, 0x2A, 0x41, 100, false, 0x412A1B, u"0xFF1B2A41"_s};
    QTest::newRow("Title Shadow is translucent")
        << 0 << Row::Shadow << Controls{0, 0, 0, 70, true, 0, u"0xB2000000"_s};
}

void tst_frmMain::itemSelection()
{
    QFETCH(int, before);
    QFETCH(int, row);
    QFETCH(Controls, shown);
    Session s;
    QVERIFY(s.open());
    s.choose(before);
    s.choose(row);
    QCOMPARE(s.controls(), shown);
    QCOMPARE(s.skinText(), FactoryText);
}

void tst_frmMain::keyboardSelection()
{
    Session s;
    QVERIFY(s.open());
    s.combo()->setFocus();
    for (int i = 0; i < Row::RectBg; ++i)
        QTest::keyClick(s.combo(), Qt::Key_Down);
    QCOMPARE(s.combo()->currentIndex(), Row::RectBg);
    QCOMPARE(s.code()->text(), u"0x99223A5E"_s);
    QVERIFY(s.slider(4)->isEnabled());
}

void tst_frmMain::emptyEntryKeepsControls()
{
    Session s;
    s.folder.write(u"default.ini"_s, "BgColor1 = 0xFF102030\r\n");
    QVERIFY(s.open());
    s.choose(Row::BgColor1);
    const Controls shown{0x10, 0x20, 0x30, 100, false, 0x302010, u"0xFF102030"_s};
    QCOMPARE(s.controls(), shown);
    s.choose(Row::TextColor);
    QCOMPARE(s.controls(), shown);
    s.choose(Row::RectBg);
    Controls translucent = shown;
    translucent.opacityEnabled = true;
    QCOMPARE(s.controls(), translucent);
}

void tst_frmMain::undecodableEntryShowsNoColor()
{
    Session s;
    s.folder.write(u"default.ini"_s, "RectBg = 0x80GG0000\r\nBgColor1 = oops\r\n");
    QVERIFY(s.open());
    s.choose(Row::BgColor2);
    s.choose(Row::RectBg);
    QCOMPARE(s.controls(), (Controls{0, 0, 0, 100, true, 0xFFFFFF, QString()}));
    s.choose(Row::BgColor1);
    QCOMPARE(s.controls(), (Controls{0, 0, 0, 100, false, 0xFFFFFF, QString()}));
    QCOMPARE(s.editor->colors().at(Row::RectBg), u"0x80GG0000"_s);
}

void tst_frmMain::typedCode_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<Controls>("shown");
    QTest::newRow("translucent") << Row::RectBg << u"0x80FF8000"_s
                                 << Controls{255, 128, 0, 50, true, 33023, u"0x80FF8000"_s};
    QTest::newRow("opaque keeps opacity")
        << Row::BgColor1 << u"0x80FF8000"_s
        << Controls{255, 128, 0, 100, false, 33023, u"0x80FF8000"_s};
    QTest::newRow("no prefix") << Row::RectBg << u"FF8000"_s
                               << Controls{0, 0, 0, 50, true, 0, u"FF8000"_s};
    QTest::newRow("non-hex opacity, lower case")
        << Row::RectBg << u"0xGG112233"_s
        << Controls{0x11, 0x22, 0x33, 0, true, 0x332211, u"0xGG112233"_s};
    QTest::newRow("lower case digits")
        << Row::RectBg << u"0xff0a0b0c"_s
        << Controls{10, 11, 12, 100, true, 0x0C0B0A, u"0xff0a0b0c"_s};
    QTest::newRow("long tail ignored")
        << Row::BgColor2 << u"0xFF010203zzzz"_s
        << Controls{1, 2, 3, 100, false, 0x030201, u"0xFF010203zzzz"_s};
}

void tst_frmMain::typedCode()
{
    QFETCH(int, row);
    QFETCH(QString, typed);
    QFETCH(Controls, shown);
    Session s;
    QVERIFY(s.open());
    s.choose(row);
    s.typeCode(typed);
    QCOMPARE(s.controls(), shown);

    // Emptying the box reads as all zero.
    s.code()->clear();
    shown.red = shown.green = shown.blue = 0;
    shown.box = 0;
    shown.code.clear();
    if (shown.opacityEnabled)
        shown.opacity = 0;
    QCOMPARE(s.controls(), shown);
    // Nothing reaches the table without Apply Change.
    s.choose(row);
    QCOMPARE(s.skinText(), FactoryText);
}

void tst_frmMain::typingOneCharacterAtATime()
{
    Session s;
    QVERIFY(s.open());
    s.choose(Row::MenuBgColor);
    s.code()->clear();
    QTest::keyClicks(s.code(), u"0xFF"_s);
    QCOMPARE(s.controls(), (Controls{0, 0, 0, 100, true, 0, u"0xFF"_s}));
    QTest::keyClicks(s.code(), u"1"_s);
    QCOMPARE(s.slider(1)->value(), 1);
    QTest::keyClicks(s.code(), u"2"_s);
    QCOMPARE(s.slider(1)->value(), 18);
    QTest::keyClick(s.code(), Qt::Key_Backspace);
    QCOMPARE(s.slider(1)->value(), 1);
}

void tst_frmMain::slidersCompose()
{
    Session s;
    QVERIFY(s.open());
    s.choose(Row::RectBg); // 0x99223A5E
    s.slider(1)->setFocus();
    QTest::keyClick(s.slider(1), Qt::Key_Right);
    QCOMPARE(s.controls(), (Controls{0x23, 0x3A, 0x5E, 60, true, 0x5E3A23, u"0x99233A5E"_s}));
    QTest::keyClick(s.slider(4), Qt::Key_PageDown);
    QCOMPARE(s.controls(), (Controls{0x23, 0x3A, 0x5E, 55, true, 0x5E3A23, u"0x8C233A5E"_s}));
    QTest::keyClick(s.slider(3), Qt::Key_End);
    QCOMPARE(s.code()->text(), u"0x8C233AFF"_s);
    QCOMPARE(s.get<ColorBox>("Shape1")->color(), 0xFF3A23);

    // Moving a slider never touches the skin.
    QCOMPARE(s.skinText(), FactoryText);
    QCOMPARE(s.folder.read(u"temp.ini"_s), asSkinFile(FactoryText));

    // An opaque item stored at 80 shows 50 % on the disabled slider; an edit turns the
    // percentage back into the byte 7F.
    s.choose(Row::BgColor2);
    s.typeCode(u"0x80102030"_s);
    s.press("Command1");
    s.choose(Row::BgColor1);
    s.choose(Row::BgColor2);
    QCOMPARE(s.controls(), (Controls{0x10, 0x20, 0x30, 50, false, 0x302010, u"0x7F102030"_s}));
    QTest::keyClick(s.slider(2), Qt::Key_Left);
    QCOMPARE(s.code()->text(), u"0x7F101F30"_s);
}

void tst_frmMain::applyStoresLowerCase()
{
    Session s;
    QVERIFY(s.open());
    s.choose(Row::RectBg);
    s.typeCode(u"0xAB11CC33"_s);
    s.press("Command1");
    QString expected = FactoryText;
    expected.replace(u"RectBg = 0x99223A5E"_s, u"RectBg = 0xab11cc33"_s);
    QCOMPARE(s.editor->colors().at(Row::RectBg), u"0xab11cc33"_s);
    QCOMPARE(s.skinText(), expected);
    QCOMPARE(s.folder.read(u"temp.ini"_s), asSkinFile(expected));
    s.choose(Row::BgColor1);
    s.choose(Row::RectBg);
    QCOMPARE(s.controls(), (Controls{0x11, 0xCC, 0x33, 67, true, 0x33CC11, u"0xAB11CC33"_s}));
    QCOMPARE(s.dialogs.questions, QStringList());
}

void tst_frmMain::applyOnHeaderRow()
{
    Session s;
    QVERIFY(s.open());
    s.press("Command1");
    QCOMPARE(s.editor->colors().at(0), QString());
    s.typeCode(u"0x80FF0000"_s);
    s.press("Command1");
    QCOMPARE(s.editor->colors().at(0), u"0x80ff0000"_s);
    QCOMPARE(s.skinText(), FactoryText);
    // A stored entry on a header row shows like a colour, its opacity on the disabled slider.
    s.choose(Row::BgColor1);
    s.choose(0);
    QCOMPARE(s.controls(), (Controls{255, 0, 0, 50, false, 0x0000FF, u"0x7FFF0000"_s}));
    QCOMPARE(s.dialogs.questions, QStringList());
}

void tst_frmMain::applyFailures_data()
{
    QTest::addColumn<bool>("noRow");
    QTest::addColumn<bool>("tempIniBlocked");
    QTest::addColumn<QList<Dialogs::Answer>>("answers");
    QTest::addColumn<int>("questions");
    QTest::addColumn<bool>("textRefreshed");
    using A = Dialogs::Answer;
    QTest::newRow("no row, continue") << true << false << QList<A>{A::Yes} << 1 << true;
    QTest::newRow("no row, stop") << true << false << QList<A>{A::No} << 1 << false;
    QTest::newRow("temp.ini blocked, continue") << false << true << QList<A>{A::Yes} << 1 << true;
    QTest::newRow("both fail, asked twice")
        << true << true << QList<A>{A::Yes, A::Yes} << 2 << true;
    QTest::newRow("both fail, stop at first") << true << true << QList<A>{A::No} << 1 << false;
}

void tst_frmMain::applyFailures()
{
    QFETCH(bool, noRow);
    QFETCH(bool, tempIniBlocked);
    QFETCH(QList<Dialogs::Answer>, answers);
    QFETCH(int, questions);
    QFETCH(bool, textRefreshed);
    Session s;
    QVERIFY(s.open());
    if (tempIniBlocked) {
        QFile::remove(s.folder.file(u"temp.ini"_s));
        QDir(s.folder.file(QString())).mkdir(u"temp.ini"_s);
    } else {
        s.folder.write(u"temp.ini"_s, "stale");
    }
    s.get<QPlainTextEdit>("Text5")->setPlainText(u"hand edit"_s);
    s.choose(0);
    if (noRow)
        s.combo()->setCurrentIndex(-1);
    s.dialogs.answers = answers;
    s.press("Command1");

    QCOMPARE(s.dialogs.questions.size(), questions);
    QCOMPARE(s.dialogs.unscripted, 0);
    if (noRow)
        QCOMPARE(s.dialogs.questions.first(), u"Subscript out of range (9)\r\n\r\nContinue?"_s);
    if (tempIniBlocked && questions == (noRow ? 2 : 1)) {
        const QString &last = s.dialogs.questions.last();
        QVERIFY2(last.startsWith(u"Cannot write \""_s + s.folder.file(u"temp.ini"_s)),
                 qPrintable(last));
        QVERIFY(last.endsWith(u" (75)\r\n\r\nContinue?"_s));
    }
    QCOMPARE(s.skinText(), textRefreshed ? FactoryText : u"hand edit"_s);
    if (!tempIniBlocked)
        QCOMPARE(s.folder.read(u"temp.ini"_s), textRefreshed ? asSkinFile(FactoryText) : "stale");
}

void tst_frmMain::restoreDefaults()
{
    Session s;
    QVERIFY(s.open());
    s.choose(Row::RectBg);
    s.typeCode(u"0x00000000"_s);
    s.press("Command1");
    s.choose(Row::MenuBgColor);
    s.folder.write(u"temp.ini"_s, "stale");
    s.press("Command2");
    QCOMPARE(s.combo()->currentIndex(), 0);
    QCOMPARE(s.controls(), (Controls{0, 0, 0, 100, false, 0xFFFFFF, QString()}));
    QCOMPARE(s.editor->colors().at(Row::RectBg), u"0x99223A5E"_s);
    QCOMPARE(s.skinText(), FactoryText);
    QCOMPARE(s.folder.read(u"temp.ini"_s), asSkinFile(FactoryText));
    QCOMPARE(s.dialogs.messages, QStringList());
}

void tst_frmMain::restoreWithoutDefaultIni()
{
    Session s;
    QVERIFY(s.open());
    s.choose(Row::RectBg);
    s.typeCode(u"0x11223344"_s);
    s.press("Command1");
    QFile::remove(s.folder.file(u"default.ini"_s));
    s.choose(Row::RectBg);
    s.press("Command2");
    QCOMPARE(s.dialogs.messages.size(), 1);
    QVERIFY2(s.dialogs.messages.first().contains(s.folder.file(u"default.ini"_s)),
             qPrintable(s.dialogs.messages.first()));
    // The table keeps what it had; everything after the reading still happens.
    QCOMPARE(s.editor->colors().at(Row::RectBg), u"0x11223344"_s);
    QCOMPARE(s.controls(), (Controls{0, 0, 0, 100, false, 0xFFFFFF, QString()}));
    QVERIFY(s.skinText().contains(u"RectBg = 0x11223344"_s));
    QVERIFY(s.folder.read(u"temp.ini"_s).contains("RectBg = 0x11223344\r\n"));
}

void tst_frmMain::loadSkin()
{
    Session s;
    QVERIFY(s.open());
    s.folder.write(u"mine.ini"_s, "rectbg = 0x4c010203\r\nDrawTitle = 1\r\n");
    s.dialogs.chosenFiles = {s.folder.file(u"mine.ini"_s), QString()};
    s.choose(Row::RectBg);
    s.action("loadskin")->trigger();
    QCOMPARE(s.combo()->currentIndex(), 0);
    QString expected = FactoryText;
    expected.replace(u"RectBg = 0x99223A5E"_s, u"RectBg = 0x4c010203"_s);
    QCOMPARE(s.skinText(), expected);
    QCOMPARE(s.folder.read(u"temp.ini"_s), asSkinFile(expected));

    // Cancelling changes nothing, and the dialog opens on the file chosen before.
    s.action("loadskin")->trigger();
    QCOMPARE(s.skinText(), expected);
    QCOMPARE(s.dialogs.fileRequests.size(), 2);
    for (const auto &request : s.dialogs.fileRequests) {
        QCOMPARE(request.kind, ScriptedDialogs::FileRequest::Open);
        QCOMPARE(request.filter, u"Zantho Skin Files (*.ini)|*.ini"_s);
    }
    QCOMPARE(s.dialogs.fileRequests[1].initialFile, s.folder.file(u"mine.ini"_s));
}

void tst_frmMain::loadSkinIgnoresNonFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("missing") << u"nothing.ini"_s;
    QTest::newRow("folder") << u"folder.ini"_s;
    QTest::newRow("hidden") << u".hidden.ini"_s;
}

void tst_frmMain::loadSkinIgnoresNonFiles()
{
    QFETCH(QString, name);
    Session s;
    QVERIFY(s.open());
    QDir(s.folder.file(QString())).mkdir(u"folder.ini"_s);
    s.folder.write(u".hidden.ini"_s, "RectBg = 0x00000000\r\n");
    s.folder.write(u"temp.ini"_s, "untouched");
    s.choose(Row::RectBg);
    s.dialogs.chosenFiles = {s.folder.file(name)};
    s.action("loadskin")->trigger();
    QCOMPARE(s.combo()->currentIndex(), Row::RectBg);
    QCOMPARE(s.folder.read(u"temp.ini"_s), "untouched");
    QCOMPARE(s.dialogs.messages, QStringList());
}

void tst_frmMain::saveSkin()
{
    Session s;
    QVERIFY(s.open());
    auto *text5 = s.get<QPlainTextEdit>("Text5");
    text5->setFocus();
    text5->moveCursor(QTextCursor::End);
    QTest::keyClick(text5, Qt::Key_Return);
    QTest::keyClicks(text5, u"; mine"_s);
    // Composed but not applied: not saved.
    s.choose(Row::BgColor1);
    s.typeCode(u"0xFF000000"_s);

    const QString path = s.folder.file(u"my skin"_s);
    s.dialogs.chosenFiles = {path, QString()};
    s.action("saveskin")->trigger();
    QCOMPARE(s.folder.read(u"my skin"_s), asSkinFile(FactoryText + u"\n; mine"_s));
    QCOMPARE(s.dialogs.messages, QStringList{u"Skin.ini saved to "_s + path});
    QCOMPARE(s.dialogs.fileRequests.last().kind, ScriptedDialogs::FileRequest::Save);
    QCOMPARE(s.dialogs.fileRequests.last().filter, u"Zantho Skin Files (*.ini)|*.ini"_s);

    s.action("saveskin")->trigger();
    QCOMPARE(s.dialogs.fileRequests.last().initialFile, path);
    QCOMPARE(s.dialogs.messages.size(), 1);
    QCOMPARE(s.folder.entries(), (QStringList{"default.ini", "my skin", "temp.ini"}));
}

void tst_frmMain::saveSkinFailure()
{
    Session s;
    QVERIFY(s.open());
    const QString path = s.folder.file(u"missing folder/skin.ini"_s);
    s.dialogs.chosenFiles = {path};
    s.action("saveskin")->trigger();
    QCOMPARE(s.dialogs.messages.size(), 1);
    const QString &message = s.dialogs.messages.first();
    QVERIFY2(message.contains(path) && message.contains(u"not saved"_s), qPrintable(message));
    QVERIFY(!s.folder.exists(u"missing folder"_s));
}

void tst_frmMain::previewEntry()
{
    Session s;
    QVERIFY(s.open());
    QAction *entry = s.action("preview");
    entry->trigger();
    QVERIFY(!s.editor->loadedPreview());
    QVERIFY(!entry->isChecked());

    // Apply Change loads it again unseen; the next choice closes the hidden window.
    s.press("Command1");
    QVERIFY(s.editor->loadedPreview());
    QVERIFY(!s.editor->loadedPreview()->isVisible());
    QVERIFY(entry->isChecked());
    entry->trigger();
    QVERIFY(!s.editor->loadedPreview());
    QVERIFY(!entry->isChecked());
    entry->trigger();
    QVERIFY(s.editor->loadedPreview() && s.editor->loadedPreview()->isVisible());
    QVERIFY(entry->isChecked());
}

void tst_frmMain::aboutAsksForTheWindow()
{
    Session s;
    QVERIFY(s.open());
    QSignalSpy asked(s.editor.get(), &frmMain::aboutRequested);
    s.action("about")->trigger();
    QCOMPARE(asked.count(), 1);
    s.action("howto")->trigger();
    QCOMPARE(s.dialogs.messages, QStringList());
}

void tst_frmMain::applyRedrawsBothScenes()
{
    Session s;
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(qRgb(250, 250, 250));
    QVERIFY(picture.save(s.folder.file(u"temp2.bmp"_s), "BMP"));
    QVERIFY(s.open());
    const auto panelPixel = [&](const char *scene) {
        return s.editor->loadedPreview()
            ->findChild<DrawingArea *>(QLatin1String(scene))
            ->image()
            .pixel(100, 290);
    };
    s.choose(Row::RectBg);
    s.typeCode(u"0xFF102030"_s);
    s.press("Command1");
    QCOMPARE(panelPixel("Picture1"), qRgb(0x10, 0x20, 0x30));
    QCOMPARE(panelPixel("Picture2"), qRgb(0x10, 0x20, 0x30));
    s.typeCode(u"0x00102030"_s);
    s.press("Command1");
    QCOMPARE(panelPixel("Picture2"), qRgb(250, 250, 250));
}

void tst_frmMain::applyUndecodableCode()
{
    Session s;
    QVERIFY(s.open());
    s.choose(Row::BgColor1);
    s.typeCode(u"0xFFGG0000"_s);
    s.dialogs.answers = {Dialogs::Answer::Yes};
    s.press("Command1");
    QCOMPARE(s.dialogs.questions, QStringList{u"Type mismatch (13)\r\n\r\nContinue?"_s});
    QCOMPARE(s.editor->colors().at(Row::BgColor1), u"0xffgg0000"_s);
    QVERIFY(s.folder.read(u"temp.ini"_s).startsWith("BgColor1 = 0xffgg0000\r\n"));
    // Shown as a row without a colour, and nothing else breaks.
    s.choose(Row::BgColor2);
    s.choose(Row::BgColor1);
    QCOMPARE(s.controls(), (Controls{0, 0, 0, 100, false, 0xFFFFFF, QString()}));
    s.action("preview")->trigger();
    s.action("preview")->trigger();
    QVERIFY(s.editor->loadedPreview() && s.editor->loadedPreview()->isVisible());
}

void tst_frmMain::reopenedPreviewStartsAfresh()
{
    Session s;
    QVERIFY(s.open());
    frmPreview *preview = s.editor->loadedPreview();
    preview->findChild<QRadioButton *>(u"Option2"_s)->click();
    preview->findChild<QLineEdit *>(u"Text1"_s)->setText(u"Other"_s);
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(qRgb(1, 2, 3));
    QVERIFY(picture.save(s.folder.file(u"temp.jpg"_s), "BMP"));
    s.action("preview")->trigger();
    s.action("preview")->trigger();

    preview = s.editor->loadedPreview();
    QVERIFY(preview->findChild<QRadioButton *>(u"Option1"_s)->isChecked());
    QVERIFY(preview->findChild<QRadioButton *>(u"Option3"_s)->isChecked());
    QCOMPARE(preview->findChild<QLineEdit *>(u"Text1"_s)->text(), u"Project1"_s);
    preview->findChild<QRadioButton *>(u"Option4"_s)->click();
    QVERIFY(preview->findChild<QRadioButton *>(u"Option4"_s)->isChecked());
    QCOMPARE(s.dialogs.messages, QStringList());
}

QTEST_MAIN(tst_frmMain)
#include "tst_frmMain.moc"
