#include "shell/AboutWindow.h"

#include "common/EditorSession.h"

#include <QAccessible>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>

using namespace Qt::Literals::StringLiterals;

class tst_shell : public QObject
{
    Q_OBJECT

private slots:
    void oneRunningProgramPerFolder();
    void captionsFit();
    void spokenNames();
    void commandLine_data();
    void commandLine();
    void renderedAsShown_data();
    void renderedAsShown();
    void installedFirstStart();
    void readOnlyFolderSaysSo();
};

namespace {

struct Finished
{
    int status;
    QString out, err;
};

// The real program started in `folder` as from a shell without a display.
Finished vellox(const ProgramFolder &folder, const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (auto name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QLatin1String(name));
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(folder.dir().path());
    process.start(QStringLiteral(VELLOX_EXECUTABLE), arguments);
    if (!process.waitForFinished(30000))
        qFatal("vellox did not finish");
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

// The three windows as the program opens them.
struct AllWindows
{
    AllWindows()
    {
        if (!s.editor->open())
            qFatal("the editor did not open");
        about = new AboutWindow(cycle);
    }
    ~AllWindows() { delete about; }
    QList<QWidget *> windows() const { return {s.editor.get(), s.preview(), about}; }

    Session s;
    ColourCycle cycle;
    AboutWindow *about;
};

// Where a caption's text lies in its parent, or an empty rectangle for a control without
// one. Captions of check boxes are left out: the About window's lies outside the window
// on purpose.
QRect captionArea(QWidget *w)
{
    const QFontMetrics fm(w->font());
    if (auto *label = qobject_cast<QLabel *>(w); label && !label->text().isEmpty()) {
        const int flags = label->wordWrap() ? Qt::TextWordWrap : Qt::TextSingleLine;
        const QRect text = fm.boundingRect(QRect(0, 0, w->width(), 10000), flags, label->text());
        return text.translated(w->pos());
    }
    if (auto *button = qobject_cast<QAbstractButton *>(w);
        button && !qobject_cast<QCheckBox *>(w)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const bool push = qobject_cast<QPushButton *>(w);
        const QRect contents = w->style()->subElementRect(
            push ? QStyle::SE_PushButtonContents : QStyle::SE_RadioButtonContents, &option, w);
        QRect text(contents.topLeft(), QSize(fm.horizontalAdvance(button->text()), fm.height()));
        if (push)
            text.moveCenter(contents.center());
        return text.translated(w->pos());
    }
    if (auto *frame = qobject_cast<QGroupBox *>(w)) {
        QStyleOptionGroupBox option;
        option.initFrom(frame);
        option.text = frame->title();
        option.subControls = QStyle::SC_GroupBoxLabel;
        return w->style()
            ->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, frame)
            .translated(w->pos());
    }
    return {};
}

} // namespace

// Every caption fits its box and runs into no other control.
void tst_shell::captionsFit()
{
    AllWindows all;
    int checked = 0;
    for (QWidget *window : all.windows()) {
        for (QWidget *w : window->findChildren<QWidget *>()) {
            const QRect caption = captionArea(w);
            if (caption.isEmpty() || w->window() != window)
                continue;
            ++checked;
            const QString what = window->objectName() + u'.' + w->objectName();
            QVERIFY2(w->geometry().contains(caption),
                     qPrintable(what + u' ' + QDebug::toString(caption)));
            for (QWidget *other :
                 w->parentWidget()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
                if (other != w && !qobject_cast<QGroupBox *>(other) && other->isVisibleTo(window))
                    QVERIFY2(!other->geometry().intersects(caption),
                             qPrintable(what + " runs into "_L1 + other->objectName()));
            }
        }
    }
    QCOMPARE(checked, 22);
}

// What a screen reader hears for a control; and every control is heard by some name.
void tst_shell::spokenNames()
{
    AllWindows all;
    // A list speaks its entry as its name and is named by the label it is labelled by.
    const auto name = [](QWidget *w) {
        QAccessibleInterface *face = QAccessible::queryAccessibleInterface(w);
        if (!face)
            return QString();
        const auto labels = face->relations(QAccessible::Label);
        if (face->role() == QAccessible::ComboBox && !labels.isEmpty())
            return labels.first().first->text(QAccessible::Name);
        return face->text(QAccessible::Name);
    };
    QStringList heard;
    for (QWidget *window : all.windows()) {
        for (QWidget *w : window->findChildren<QWidget *>()) {
            // Menus are spoken by their entries in the menu bar.
            if (w->window() != window || w->objectName().isEmpty() || qobject_cast<QMenu *>(w) ||
                w->objectName().startsWith("qt_"_L1) || w->objectName() == "client"_L1)
                continue;
            heard << window->objectName() + u'.' + w->objectName() + u'=' + name(w);
            QVERIFY2(!name(w).isEmpty(), qPrintable(heard.last()));
        }
    }
    for (auto expected :
         {"frmMain.Slider1=Red", "frmMain.Slider4=Opacity", "frmMain.Text7=Colour code",
          "frmMain.Text5=Skin text", "frmMain.Shape1=Colour preview", "frmMain.Combo1=Select Item:",
          "frmMain.Command1=Apply Change", "frmPreview.Picture1=Colour background preview",
          "frmPreview.Picture2=Picture background preview", "frmPreview.Text1=Project name",
          "frmPreview.Frame2=Background", "frmAbout.Picture1=Vellox banner"})
        QVERIFY2(heard.contains(QLatin1String(expected)), expected);
}

void tst_shell::oneRunningProgramPerFolder()
{
    ProgramFolder folder;
    const QString program = folder.file(u"vellox"_s);
    QVERIFY(QFile::copy(QStringLiteral(VELLOX_EXECUTABLE), program));
    ProgramFolder elsewhere;
    QByteArray dark = ProgramFolder::factorySkin();
    dark.replace("TextColor = 0xFFDCE3EE", "TextColor = 0xFF203040");
    elsewhere.write(u"dark.ini"_s, dark);
    const auto start = [&](QProcess &process, const QStringList &arguments) {
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        // A skin is named from where it is given, not from where the first one runs.
        process.setWorkingDirectory((arguments.isEmpty() ? folder : elsewhere).dir().path());
        process.start(program, arguments);
        QVERIFY(process.waitForStarted());
    };
    QProcess first, second, third;
    start(first, {});
    QTRY_VERIFY_WITH_TIMEOUT(folder.exists(u"temp.ini"_s), 20000);
    auto before = folder.contents();

    // A second start hands its skin, named from where it was started, to the first.
    start(second, {u"dark.ini"_s});
    QVERIFY(second.waitForFinished(20000));
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(first.state(), QProcess::Running);
    QTRY_VERIFY_WITH_TIMEOUT(folder.read(u"temp.ini"_s).contains("0xFF203040"), 20000);
    auto after = folder.contents();
    after.remove(u"temp.ini"_s);
    before.remove(u"temp.ini"_s);
    QCOMPARE(after, before);

    // A crash leaves the lock behind; the next start takes it over.
    first.kill();
    first.waitForFinished();
    QFile::remove(folder.file(u"temp.ini"_s));
    start(third, {});
    QTRY_VERIFY_WITH_TIMEOUT(folder.exists(u"temp.ini"_s), 20000);
    QCOMPARE(third.state(), QProcess::Running);
    third.kill();
    third.waitForFinished();
}

void tst_shell::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments"); // in a folder with default.ini
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out"); // the beginning of standard output
    QTest::addColumn<QString>("err"); // all of standard error, or its beginning with "..."
    const auto row = [](const char *name, const char *args, int status, const char *out,
                        const char *err) {
        QTest::newRow(name) << QString::fromLatin1(args).split(u' ', Qt::SkipEmptyParts) << status
                            << QString::fromLatin1(out) << QString::fromLatin1(err);
    };
    row("help", "--help", 0, "Usage: vellox [options] [SKIN...]\n", "");
    row("version", "-v", 0, "vellox 1.6.2\n", "");
    row("unknown option", "--bogus", 2, "", "vellox: Unknown option 'bogus'.\nUsage: vellox...");
    row("unknown text mode", "--render default.ini -o o.png --text loud", 2, "",
        "vellox: --text is skinning or actual, not \"loud\".\n...");
    row("render a missing skin", "--render gone.ini -o o.png", 1, "",
        "vellox: gone.ini: Cannot read \"gone.ini\": No such file or directory\n");
    row("render into no folder", "--render default.ini -o no/o.png", 1, "",
        "vellox: no/o.png: Cannot write \"no/o.png\": No such file or directory\n");
    row("background that is no picture", "--render default.ini -o o.png --background bad.ini", 1,
        "", "vellox: bad.ini: Cannot load the picture \"bad.ini\": Unsupported image format\n");
    row("render an undrawable skin", "--render bad.ini -o o.png", 1, "",
        "vellox: bad.ini: Type mismatch\n");
    row("check", "--check bad.ini default.ini gone.ini", 1,
        "bad.ini:1: warning: line skipped: \"BG Color 1\" (BgColor1) is read only with one space "
        "either side of \"=\", as in \"BgColor1 = 0xFF000000\"\n"
        "bad.ini:2: warning: line skipped: \"RectBgg\" is no item of a skin; did you mean "
        "\"RectBg\"?\n"
        "bad.ini:3: warning: line skipped: \"Colour\" is no item of a skin\n"
        "bad.ini:4: error: \"Title Color\" (TitleColor): the code \"0xFFGG0000\" cannot be read: "
        "Type mismatch\n"
        "gone.ini:0: error: Cannot read \"gone.ini\": No such file or directory\n",
        "");
    row("check dark text", "--check dark.ini", 0,
        "dark.ini:7: warning: \"Text Color\" (TextColor) as \"text color\" at (56, 41) has a "
        "contrast of 1.04:1",
        "");
}

void tst_shell::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, err);
    ProgramFolder folder;
    QByteArray dark = ProgramFolder::factorySkin(), rest = dark;
    folder.write(u"dark.ini"_s, dark.replace("TextColor = 0xFFDCE3EE", "TextColor = 0xFF203040"));
    rest.remove(rest.indexOf("TitleColor"), 25);
    folder.write(u"bad.ini"_s, "BgColor1=0xFF000000\r\nRectBgg = 0x80102030\r\nColour = 0x1\r\n"
                               "TitleColor = 0xFFGG0000\r\n" +
                                   rest);
    const auto before = folder.contents();
    const Finished run = vellox(folder, arguments);

    QCOMPARE(run.status, status);
    QVERIFY2(run.out.left(out.size()) == out, qPrintable(run.out));
    if (err.endsWith("..."_L1))
        QVERIFY2(run.err.startsWith(err.chopped(3)), qPrintable(run.err));
    else
        QCOMPARE(run.err, err);
    // Only --render writes, and only its picture.
    QMap<QString, QByteArray> after = folder.contents();
    after.remove(u"o.png"_s);
    QCOMPARE(after, before);
}

void tst_shell::renderedAsShown_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("format"); // of the background picture; empty for none
    QTest::newRow("colour scene, skinning text") << u"skinning"_s << QByteArray();
    QTest::newRow("over a bitmap") << u"skinning"_s << QByteArray("BMP");
    QTest::newRow("over a JPEG") << u"actual"_s << QByteArray("JPEG");
}

// --render draws what the preview window shows, pixel for pixel, beside a running
// program whose working files it leaves alone.
void tst_shell::renderedAsShown()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, format);
    QImage picture(300, 200, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb(x % 256, y, (x * y) % 256));
    Session s;
    QVERIFY(s.editor->open());
    const QString skin =
        s.outside(u"my.ini"_s, ProgramFolder::factorySkin().replace("0x99", "0x4C"));
    s.dialogs.chosenFiles << skin;
    s.trigger("loadskin");
    QStringList arguments{u"--render"_s, skin, u"-o"_s, s.elsewhere.filePath(u"o.png"_s),
                          u"--text"_s,   text};
    if (!format.isEmpty()) {
        const QByteArray bytes = encoded(picture, format);
        arguments << u"--background"_s << s.outside(u"picture.data"_s, bytes);
        s.importPicture(s.outside(format == "BMP" ? u"p.bmp"_s : u"p.jpg"_s, bytes));
    }
    s.click(text == "actual"_L1 ? "Option2" : "Option1");
    const auto before = s.folder.contents();
    const Finished run = vellox(s.folder, arguments);
    QCOMPARE(run.err, QString());
    QCOMPARE(run.status, 0);
    QCOMPARE(s.folder.contents(), before);
    QWidget *shown = s.inPreview(format.isEmpty() ? "Picture1" : "Picture2");
    QVERIFY(shown->isVisibleTo(s.preview()));
    QCOMPARE(QImage(s.elsewhere.filePath(u"o.png"_s)).convertToFormat(QImage::Format_RGB32),
             shown->grab().toImage().convertToFormat(QImage::Format_RGB32));
}

// Installed, the program works in the user's data folder, set up on the first start.
void tst_shell::installedFirstStart()
{
    ProgramFolder root;
    root.write(u"usr/share/vellox/default.ini"_s, ProgramFolder::factorySkin());
    QDir().mkpath(root.file(u"usr/bin"_s));
    QVERIFY(QFile::copy(QStringLiteral(VELLOX_EXECUTABLE), root.file(u"usr/bin/vellox"_s)));
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"HOME"_s, root.file(u"home"_s));
    env.insert(u"XDG_DATA_HOME"_s, root.file(u"home/data"_s));
    process.setProcessEnvironment(env);
    process.start(root.file(u"usr/bin/vellox"_s), {});
    QTRY_VERIFY_WITH_TIMEOUT(root.exists(u"home/data/vellox/temp.ini"_s), 20000);
    process.kill();
    process.waitForFinished();
    QCOMPARE(root.read(u"home/data/vellox/default.ini"_s), ProgramFolder::factorySkin());
    QCOMPARE(root.read(u"home/data/vellox/My Projects"_s), QByteArray("/"));
    QVERIFY(!root.exists(u"usr/bin/temp.ini"_s));
}

// A portable folder the user may not write to is said once, before anything is drawn.
void tst_shell::readOnlyFolderSaysSo()
{
    ProgramFolder folder;
    QVERIFY(QFile::copy(QStringLiteral(VELLOX_EXECUTABLE), folder.file(u"vellox"_s)));
    QFile(folder.dir().path())
        .setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther |
                        QFileDevice::ExeOther);
    const auto before = folder.contents();
    QProcess process;
    // Root writes anywhere: the program runs as nobody then.
    if (geteuid() == 0)
        process.start(u"setpriv"_s, {u"--reuid=65534"_s, u"--regid=65534"_s, u"--clear-groups"_s,
                                     folder.file(u"vellox"_s)});
    else
        process.start(folder.file(u"vellox"_s), {});
    QString err;
    QTRY_VERIFY_WITH_TIMEOUT(
        (err += QString::fromLocal8Bit(process.readAllStandardError()))
            .contains(u"vellox: Vellox cannot write to its folder \""_s + folder.dir().path()),
        20000);
    process.kill();
    process.waitForFinished();
    QFile(folder.dir().path())
        .setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QCOMPARE(folder.contents(), before);
}

QTEST_MAIN(tst_shell)
#include "tst_shell.moc"
