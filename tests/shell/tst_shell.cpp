#include "cli/CommandLine.h"
#include "cli/Gallery.h"
#include "cli/OutputFiles.h"
#include "cli/Render.h"
#include "cli/SkinCheck.h"

#include "shell/AboutWindow.h"
#include "shell/Looks.h"
#include "shell/SingleInstance.h"

#include "scene/SceneRenderer.h"

#include "skin/Conversions.h"

#include "colour/OkLab.h"

#include "platform/FittingStyle.h"

#include "common/EditorSession.h"

#include <QAccessible>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMimeDatabase>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QTranslator>
#include <QtEndian>

#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>

using namespace Qt::Literals::StringLiterals;

class tst_shell : public QObject
{
    Q_OBJECT

private slots:
    void oneRunningProgramPerFolder_data();
    void oneRunningProgramPerFolder();
    void lockFiles();
    void captionsFitAndAreSpoken();
    void aboutWindow();
    void inGerman();
    void looks();
    void completion_data();
    void completion();
    void skinFileType();
    void commandLine_data();
    void commandLine();
    void checks_data();
    void checks();
    void renderedAsShown_data();
    void renderedAsShown();
    void batches_data();
    void batches();
    void installedFirstStart();
    void refusedStarts_data();
    void refusedStarts();
    void mending();
    void suggestionsAndVisions();
};

namespace {

// `png` with a header claiming `side` × `side` pixels, its checksum made good, so that
// only the size is wrong with it.
QByteArray pngClaiming(QByteArray png, quint32 side)
{
    constexpr int Width = 16, Height = 20, Checksum = 29, ChunkType = 12;
    qToBigEndian(side, png.data() + Width);
    qToBigEndian(side, png.data() + Height);
    quint32 crc = 0xFFFFFFFF;
    for (int i = ChunkType; i < Checksum; ++i) {
        crc ^= uchar(png[i]);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    qToBigEndian(~crc, png.data() + Checksum);
    return png;
}

struct Finished
{
    int status;
    QByteArray out;
    QString err;
};

// The real program started in `folder` as from a shell without a display. An argument
// "printf:BYTES" is the bytes printf makes of BYTES, which need not be UTF-8. First
// arguments may set the scene: "limit:N" keeps every file the program writes below N
// blocks, as a full disk; "env:NAME=VALUE" sets a variable; "stdin:FILE" reads FILE.
Finished vellox(const ProgramFolder &folder, QStringList arguments)
{
    QProcess process;
    process.setWorkingDirectory(folder.dir().path());
    QString script = u"exec \"$0\""_s, program = QStringLiteral(VELLOX_EXECUTABLE);
    // "copied:" runs a copy of the program alone in a folder of its own.
    QTemporaryDir elsewhere;
    for (QString scene;
         !(scene = arguments.value(0).section(u':', 0, 0)).isEmpty() &&
         QStringList{u"limit"_s, u"env"_s, u"stdin"_s, u"copied"_s}.contains(scene);) {
        const QString value = arguments.takeFirst().section(u':', 1);
        if (scene == "copied"_L1) {
            program = elsewhere.filePath(u"vellox"_s);
            if (!QFile::copy(QStringLiteral(VELLOX_EXECUTABLE), program))
                qFatal("vellox could not be copied");
            continue;
        }
        script.prepend(scene == "limit"_L1 ? u"ulimit -f "_s + value + u"; "_s
                       : scene == "env"_L1 ? u"export '"_s + value + u"'; "_s
                                           : u"exec < '"_s + value + u"'; "_s);
    }
    script.prepend(u"unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM; "_s);
    for (const QString &a : arguments)
        script += a.startsWith("printf:"_L1) ? u" \"$(printf '"_s + a.mid(7) + u"')\""_s
                                             : u" '"_s + a + u'\'';
    process.start(u"/bin/sh"_s, {u"-c"_s, script, program});
    if (!process.waitForFinished(30000))
        qFatal("vellox did not finish");
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

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

// Every caption fits its box and runs into no other control; what a screen reader hears
// for a control, and every control is heard by some name.
void tst_shell::captionsFitAndAreSpoken()
{
    // The three windows as the program opens them.
    Opened s;
    ColourCycle cycle;
    AboutWindow about(cycle);
    int checked = 0;
    FittingStyle style;
    // A list speaks its entry as its name and is named by the label it is labelled by.
    const auto name = [](QWidget *w) {
        QAccessibleInterface *face = QAccessible::queryAccessibleInterface(w);
        const auto labels = face->relations(QAccessible::Label);
        if (face->role() == QAccessible::ComboBox && !labels.isEmpty())
            return labels.first().first->text(QAccessible::Name);
        return face->text(QAccessible::Name);
    };
    QStringList heard;
    for (QWidget *window : QList<QWidget *>{s.editor.get(), s.preview(), &about}) {
        for (QWidget *w : window->findChildren<QWidget *>()) {
            const QString what = window->objectName() + u'.' + w->objectName();
            // Menus are spoken by their entries in the menu bar.
            if (w->window() == window && !w->objectName().isEmpty() && !qobject_cast<QMenu *>(w) &&
                !w->objectName().startsWith("qt_"_L1) && w->objectName() != "client"_L1) {
                heard << what + u'=' + name(w);
                QVERIFY2(!name(w).isEmpty(), qPrintable(heard.last()));
            }
            // The circle of an option lies whole in its row, at every scale.
            if (auto *option = qobject_cast<QRadioButton *>(w)) {
                QStyleOptionButton o;
                o.initFrom(option);
                QVERIFY(option->rect().contains(
                    style.subElementRect(QStyle::SE_RadioButtonIndicator, &o, option)));
            }
            const QRect caption = captionArea(w);
            if (caption.isEmpty() || w->window() != window)
                continue;
            ++checked;
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
    for (auto expected :
         {"frmMain.Slider1=Red", "frmMain.Slider4=Opacity", "frmMain.Text7=Skin.ini Code",
          "frmMain.Text5=Skin.ini", "frmMain.Shape1=Preview Color", "frmMain.Combo1=Select Item:",
          "frmMain.Command1=Apply Change", "frmPreview.Picture1=Colour background preview",
          "frmPreview.Picture2=Picture background preview", "frmPreview.Text1=Project Name",
          "frmPreview.Frame2=Background", "frmAbout.Picture1=Vellox banner",
          "frmPreview.Command1=Import Backround", "frmMain.Frame1=Backround/Foreground"})
        QVERIFY2(heard.contains(QLatin1String(expected)), expected);
}

// With the German catalogue the windows, menus, item list, spoken names and messages are
// German; without it, exactly the English of the sources.
void tst_shell::inGerman()
{
    QTranslator german;
    QVERIFY(german.load(u"vellox_de"_s, u":/translations"_s));
    for (const bool translated : {true, false}) {
        if (translated)
            QCoreApplication::installTranslator(&german);
        Opened s;
        ColourCycle cycle;
        AboutWindow about(cycle);
        s.editor->openSkin(s.outside(u"picture.ini"_s, "\x89PNG\r\n\x1a\n"));
        QCoreApplication::removeTranslator(&german);
        const QString told = s.dialogs.messages.value(0);
        QStringList seen{s.preview()->windowTitle(), about.windowTitle()};
        seen << s.get<QMenu>("File")->title() << s.get<QMenu>("File")->actions().value(0)->text()
             << s.get<QComboBox>("Combo1")->itemText(2) << s.get("Slider1")->accessibleName()
             << told.section(u'\r', 0, 0) << told.section(u": "_s, -1);
        const QString german = u"Vellox-Vorschau|Über|Datei|Skin.ini laden...|HG-Farbe 1|Rot|Der "
                               "Skin konnte nicht geladen werden.|die Datei ist ein PNG-Bild, "
                               "kein Skin"_s,
                      english = u"Vellox Preview|About|File|Load skin.ini...|BG Color 1|Red|The "
                                "skin could not be loaded.|the file is a PNG picture, not a skin"_s;
        QCOMPARE(seen.join(u'|'), translated ? german : english);
    }
}

// Escape closes the About window, as it closes a dialog; other keys do not; the window it
// was asked from is active again.
void tst_shell::aboutWindow()
{
    ColourCycle cycle;
    QPointer<AboutWindow> about;
    QWidget asking;
    asking.show();
    QApplication::setActiveWindow(&asking);
    showAbout(about, cycle);
    QVERIFY(QTest::qWaitForWindowActive(about));
    for (const auto key : {Qt::Key_Return, Qt::Key_Space, Qt::Key_Escape}) {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : about.data(),
                        key);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(about.isNull(), key == Qt::Key_Escape);
        // The keys never reach the hidden switch that starts the window flashing.
        QVERIFY(about.isNull() || !about->findChild<QTimer *>(u"Timer1"_s)->isActive());
    }
    QVERIFY(QTest::qWaitForWindowActive(&asking));
}

// The style the user names wins; without one, the windows' own, which their layouts fit.
void tst_shell::looks()
{
    // The arguments, QT_STYLE_OVERRIDE, and the style set ("" for the windows' own).
    for (const QString &row :
         {u"||"_s, u"-style windows||windows"_s, u"-style=windows||windows"_s,
          u"--style windows s.ini||windows"_s, u"|windows|windows"_s,
          u"-style fusion|windows|fusion"_s, u"-style bogus||"_s, u"-- -style||"_s}) {
        const QString arguments = row.section(u'|', 0, 0), over = row.section(u'|', 1, 1),
                      style = row.section(u'|', 2);
        qputenv("QT_STYLE_OVERRIDE", over.toLatin1());
        const CommandLine command =
            parseCommandLine(QStringList{u"vellox"_s} + arguments.split(u' ', Qt::SkipEmptyParts));
        qunsetenv("QT_STYLE_OVERRIDE");
        QCOMPARE(command.mode, CommandLine::Mode::Window);
        QCOMPARE(command.skin, arguments.endsWith("ini"_L1)    ? u"s.ini"_s
                               : arguments.startsWith("--"_L1) ? u"-style"_s
                                                               : QString());
        setUpLooks(command.style);
        const bool fitting = dynamic_cast<FittingStyle *>(QApplication::style());
        const QString set = QApplication::style()->name().toLower();
        setUpLooks({});
        QVERIFY2((fitting ? QString() : set) == style, qPrintable(arguments + u'|' + over));
    }
}

void tst_shell::completion_data()
{
    QTest::addColumn<QString>("typed");   // before the Tab
    QTest::addColumn<QString>("offered"); // sorted; "help": every option --help lists
    QTest::newRow("options, as the help lists them") << u"-"_s << u"help"_s;
    QTest::newRow("an option begun") << u"--vi"_s << u"--vision"_s;
    QTest::newRow("visions") << u"--render dark.ini --vision "_s
                             << u"achromatopsia deuteranomaly deuteranopia protanomaly protanopia "
                                "tritanomaly tritanopia"_s;
    QTest::newRow("variants") << u"--suggest pic.bmp --variant "_s << u"1 2 3 4"_s;
    QTest::newRow("shells") << u"--completion "_s << u"bash zsh"_s;
    QTest::newRow("severities") << u"--check dark.ini --severity 0.3"_s << u"0.3"_s;
    QTest::newRow("texts") << u"--render dark.ini --text a"_s << u"actual"_s;
    QTest::newRow("skins and folders") << u""_s << u"dark.ini default.ini sub"_s;
    QTest::newRow("a skin to fix") << u"--fix "_s << u"dark.ini default.ini sub"_s;
    QTest::newRow("pictures") << u"--check --background "_s << u"pic.bmp pic.png sub"_s;
    QTest::newRow("any output") << u"--render dark.ini -o "_s
                                << u"dark.ini default.ini notes.txt pic.bmp pic.png sub"_s;
}

// Tab in bash offers the options, the values and the files each takes, as the program
// lists them; zsh gets the same options.
void tst_shell::completion()
{
    QFETCH(QString, typed);
    QFETCH(QString, offered);
    ProgramFolder folder;
    for (auto name : {"dark.ini", "pic.bmp", "pic.png", "notes.txt", "sub/x"})
        folder.write(QString::fromLatin1(name), "x");
    const auto shell = [&](const QString &program, const QString &script) {
        QProcess process;
        process.setWorkingDirectory(folder.dir().path());
        process.start(program, {u"-c"_s, script, QStringLiteral(VELLOX_EXECUTABLE)});
        process.waitForFinished();
        return QString::fromUtf8(process.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    };
    const QStringList words = QStringList{u"vellox"_s} + typed.split(u' ');
    const QStringList seen =
        shell(u"bash"_s, u"eval \"$(\"$0\" --completion bash)\"; COMP_WORDS=('%1'); "
                         "COMP_CWORD=%2; _vellox; printf '%s\\n' \"${COMPREPLY[@]}\" | sort"_s
                             .arg(words.join("' '"_L1))
                             .arg(words.size() - 1));
    if (offered != "help"_L1) {
        QCOMPARE(seen.join(u' '), offered);
        return;
    }
    QStringList options;
    static const QRegularExpression names(u"^  (?:(-[a-z]), )?(--[a-z]+)"_s);
    for (const QString &line : shell(u"sh"_s, u"\"$0\" --help"_s))
        options << names.match(line).capturedTexts().mid(1).filter(u"-"_s);
    options.sort();
    QCOMPARE(seen, options);
    // The manual page tells of every option too, and of what a user looks there for.
    QFile page(QFileInfo(QStringLiteral(VELLOX_DEFAULT_INI)).dir().filePath(u"vellox.1"_s));
    QVERIFY(page.open(QIODevice::ReadOnly));
    const QString manual = QString::fromUtf8(page.readAll()).replace("\\-"_L1, "-"_L1);
    for (const QString &needed :
         options + QStringList{u".SH EXIT STATUS"_s, u".SH ENVIRONMENT"_s, u".SH FILES"_s,
                               u".SH SEE ALSO"_s, u".SH WINDOW KEYS AND GESTURES"_s})
        QVERIFY2(manual.contains(needed), qPrintable(needed));
    QCOMPARE(shell(u"zsh"_s, u"\"$0\" --completion zsh > _vellox && zsh -n _vellox && "
                             "grep -o \"^    '-[-a-z]*\" _vellox | cut -c6- | sort"_s),
             options);
}

// Desktops offer Vellox for files the skin file type's magic knows by their first bytes.
void tst_shell::skinFileType()
{
    QTemporaryDir data;
    QDir().mkpath(data.filePath(u"mime/packages"_s));
    QFile::copy(QFileInfo(QStringLiteral(VELLOX_DEFAULT_INI)).dir().filePath(u"vellox-mime.xml"_s),
                data.filePath(u"mime/packages/vellox.xml"_s));
    qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
    const QByteArray mark = "\xEF\xBB\xBF", key = "BgColor1 = 0xFF1B2A41\r\n";
    // The start of the file: as Vellox writes it, after a byte order mark; a mark alone,
    // half a mark, another first key.
    const QByteArrayList starts{key, mark + key, mark + "[General]\r\n", mark.left(2) + key,
                                "RectBg = 0x80102030\r\n"};
    for (qsizetype i = 0; i < starts.size(); ++i) // the first two are skins
        QVERIFY2(
            (QMimeDatabase().mimeTypeForData(starts[i] + ProgramFolder::factorySkin()).name() ==
             "application/x-vellox-skin"_L1) == (i < 2),
            starts[i].constData());
}

void tst_shell::oneRunningProgramPerFolder_data()
{
    QTest::addColumn<int>("signal"); // that ends the first start
    for (int signal : {SIGTERM, SIGHUP, SIGINT, SIGKILL})
        QTest::newRow(sigabbrev_np(signal)) << signal;
}

void tst_shell::oneRunningProgramPerFolder()
{
    QFETCH(int, signal);
    ProgramFolder folder;
    const QString program = folder.file(u"vellox"_s);
    QVERIFY(QFile::copy(QStringLiteral(VELLOX_EXECUTABLE), program));
    ProgramFolder elsewhere;
    // Named with a line break, which the hand-over carries whole: "da" is another file.
    const QString dark = u"da\nrk.ini"_s;
    for (const auto &[name, code] :
         {std::pair{dark, "203040"}, {u"da"_s, "000000"}, {u"light.ini"_s, "102030"}})
        elsewhere.write(name, factoryWith("TextColor = 0xFFDCE3EE", "TextColor = 0xFF"_ba + code));
    // The hand-over socket lives in the user's runtime folder, one for the folder; or, with
    // none, in a fresh folder in the temporary one, where another user took the old name.
    QTemporaryDir runtime;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(signal == SIGHUP ? u"TMPDIR"_s : u"XDG_RUNTIME_DIR"_s, runtime.path());
    if (signal == SIGHUP) {
        env.remove(u"XDG_RUNTIME_DIR"_s);
        chmod(QFile::encodeName(runtime.path()).constData(), 01777);
        QVERIFY(QDir(runtime.path()).mkdir(u"vellox-0"_s));
        chown(QFile::encodeName(runtime.filePath(u"vellox-0"_s)).constData(), 65534, 65534);
    }
    // Sockets are what a snapshot leaves unread.
    const auto sockets = [&runtime] { return snapshot(runtime.path()).keys("?").size(); };
    const auto start = [&](QProcess &process, const QStringList &arguments) {
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        // A skin is named from where it is given, not from where the first one runs.
        process.setWorkingDirectory((arguments.isEmpty() ? folder : elsewhere).dir().path());
        process.start(program, arguments);
        QVERIFY(process.waitForStarted());
    };
    QProcess first, second, third;
    start(first, {});
    QTRY_VERIFY_WITH_TIMEOUT(folder.exists(u"temp.ini"_s), 20000);
    QCOMPARE(sockets(), 1);
    const auto before = folder.contents();

    // A second start hands its skin, named from where it was started, to the first.
    start(second, {dark});
    QVERIFY(second.waitForFinished(20000));
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(first.state(), QProcess::Running);
    QTRY_VERIFY_WITH_TIMEOUT(folder.read(u"temp.ini"_s).contains("0xFF203040"), 20000);
    auto after = folder.contents();
    after[u"temp.ini"_s] = before.value(u"temp.ini"_s);
    QCOMPARE(after, before);
    // A stopped program holds a later start no longer than it is given, which says why
    // and leaves nothing to be opened when the program goes on.
    ::kill(pid_t(first.processId()), SIGSTOP);
    SingleInstance later(folder.dir().path());
    QCOMPARE(later.claim(elsewhere.file(u"light.ini"_s), 2000), SingleInstance::Claim::Unanswered);
    QVERIFY2(later.refusal().contains("does not answer within 2 seconds"_L1),
             qPrintable(later.refusal()));
    ::kill(pid_t(first.processId()), SIGCONT);
    QTest::qWait(500);
    QVERIFY(folder.read(u"temp.ini"_s).contains("0xFF203040"));
    // A skin that is not there is said at once, and nothing is handed over.
    QCOMPARE(QProcess::execute(program, {u"gone.ini"_s}), 1);

    // A signal ends the program at once, keeping the working skin to be offered back; a
    // kill leaves the lock and the socket for the next start, the others release them.
    ::kill(pid_t(first.processId()), signal);
    QVERIFY(first.waitForFinished(1000));
    QVERIFY(folder.read(u"temp.ini"_s).contains("0xFF203040"));
    QCOMPARE(folder.exists(u".vellox.lock"_s), signal == SIGKILL);
    QCOMPARE(sockets(), signal == SIGKILL ? 1 : 0);
    QCOMPARE(QDir(runtime.path()).entryList({u"vellox-0-*"_s}, QDir::Dirs), QStringList());
    QFile::remove(folder.file(u"temp.ini"_s));
    start(third, {});
    QTRY_VERIFY_WITH_TIMEOUT(folder.exists(u"temp.ini"_s), 20000);
    QCOMPARE(third.state(), QProcess::Running);
    QCOMPARE(sockets(), 1);
    QCOMPARE(QProcess::execute(program, {elsewhere.file(dark)}), 0);
    QTRY_VERIFY_WITH_TIMEOUT(folder.read(u"temp.ini"_s).contains("0xFF203040"), 20000);
    third.kill();
    third.waitForFinished();

    // While the next start asks whether to restore that work, the same signal ends it
    // at once, and a kill too: the work stays as it was, to be asked about again.
    const QByteArray leftOver = folder.read(u"temp.ini"_s);
    for (int ending : {signal, SIGKILL}) {
        QProcess asking;
        start(asking, {});
        QTest::qWait(1500);
        QCOMPARE(asking.state(), QProcess::Running);
        ::kill(pid_t(asking.processId()), ending);
        QVERIFY(asking.waitForFinished(1000));
        QCOMPARE(folder.read(u"temp.ini"_s), leftOver);
        if (ending != SIGKILL)
            QVERIFY(!folder.exists(u".vellox.lock"_s));
    }
}

// A lock file is never written through a link nor taken from another user.
void tst_shell::lockFiles()
{
    // At .vellox.lock: a link to a target, or (no target) a file of nobody's; what is said.
    for (const auto &[target, refusal] :
         {std::pair{u"nowhere"_s, QString()}, std::pair{u"victim"_s, u"\" is a link"_s},
          std::pair{QString(), u"\" belongs to the user nobody"_s}}) {
        ProgramFolder folder;
        const QString lock = folder.file(u".vellox.lock"_s);
        folder.write(u"victim"_s, "the user's own");
        if (!target.isEmpty())
            QFile::link(target, lock);
        else if (folder.write(u".vellox.lock"_s, "1\n"), ::chown(qPrintable(lock), 65534, 65534))
            continue; // only root can give a file to another user
        SingleInstance instance(folder.dir().path());
        QCOMPARE(instance.claim() == SingleInstance::Claim::Refused, !refusal.isEmpty());
        QVERIFY2(instance.refusal().contains(refusal), qPrintable(instance.refusal()));
        QCOMPARE(folder.read(u"victim"_s), QByteArray("the user's own"));
        QVERIFY(!folder.exists(u"nowhere"_s));
    }
}

void tst_shell::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments"); // in a folder with default.ini
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("out"); // the beginning of standard output; "-": nothing
    // All of standard error, or its beginning and "...", or "*" and a part.
    QTest::addColumn<QString>("err");
    // Each file that is written, ":" and its first bytes; "|" between files.
    QTest::addColumn<QString>("written");
    const auto row = [](const char *name, const QString &args, int status, const char *out,
                        const QString &err = {}, const char *written = "") {
        QTest::newRow(name) << args.split(u' ', Qt::SkipEmptyParts) << status << QByteArray(out)
                            << err << QString::fromLatin1(written);
    };
    // A misuse is told with the way to the help, and nothing is done.
    const auto misuse = [&](const char *name, const QString &args, const QString &what) {
        row(name, args, 2, "", u"vellox: "_s + what + u".\nTry 'vellox --help'.\n"_s);
    };
    // Another user's pipe, or a device, given as an output or a background: refused, never
    // opened, and the pipe's reader (the test) gets nothing.
    const auto refused = [&](const char *name, const char *args,
                             const char *what = "a named pipe") {
        row(name, args, 1, "",
            u"*\": it is %1, not a file. Vellox writes no named pipe or device it is given by "
            "name; to write into one, give \"-o -\" and lead standard output there"_s.arg(what));
    };
    const char *bogus = "Unknown option 'bogus'",
               *german = "Aufruf: vellox [Optionen] [SKIN...]\nBearbeitet den Farb-Skin "
                         "(skin.ini) von Zantho",
               *severity = "--severity goes only with --vision protanomaly, deuteranomaly or "
                           "tritanomaly",
               *panels = "--panels goes only with --fix over a --background",
               *overPicture = "dark.ini:7: warning: \"Text Color\" (TextColor) reads 1.0:1 on the "
                              "gradient (4.5:1 wanted)\ndark.ini:7: warning: \"Text Color\" "
                              "(TextColor) reads 1.1:1 on the picture";
    row("help names the looks", "--help", 0, "Usage", "*the look, 1 light, 2 dark, 3 vivid");
    // The catalogues travel inside the program: a copy alone in a folder speaks German.
    row("a copied program in German", "env:LANG=de_DE.UTF-8 copied: --help", 0, german, "");
    row("a check in German", "env:LANG=de_DE.UTF-8 --check bad.ini", 1,
        "bad.ini:1: warning: Zeile übersprungen: „HG-Farbe 1“ (BgColor1) wird nur mit", "");
    row("figures in German",
        "env:LANG=de_DE.UTF-8 --check dark.ini --vision deuteranomaly --severity 0.5", 0,
        "dark.ini:7: warning: „Textfarbe“ (TextColor) erreicht 1,0:1 auf dem Verlauf gesehen mit "
        "Deuteranomalie bei Schweregrad 0,5 (4,5:1",
        "");
    // The user's language, as gettext chooses it, with Qt's own texts in it too.
    row("a misuse in German", "env:LC_MESSAGES=de_DE.UTF-8 --bogus", 2, "",
        "vellox: Unbekannte Option 'bogus'.\nMehr dazu mit „vellox --help“.\n");
    row("help in the C locale", "env:LANG=C --help", 0,
        "Usage: vellox [options] [SKIN...]\nEdits the colour skin (skin.ini) of Zantho, draws "
        "skins as pictures and checks them.\n\nOptions:\n  -h, --help                Show "
        "this help and exit.\n");
    misuse("German asked for in the C locale", "env:LANG=C env:LANGUAGE=de --bogus", bogus);
    misuse("English before German", "env:LANG=de_DE.UTF-8 env:LANGUAGE=en_GB:de --bogus", bogus);
    row("an unknown language, then German", "env:LANG=fr_FR env:LANGUAGE=xx:de --check gone.ini", 1,
        "gone.ini: error: „gone.ini“ kann nicht gelesen werden: ", "");
    row("version", "-v", 0, "vellox " VELLOX_VERSION "\n", "");
    misuse("unknown option", "--bogus", bogus);
    misuse("unknown text mode", "--render dark.ini -o o.png --text loud",
           "--text is skinning or actual, not \"loud\"");
    row("missing skin", "--render gone.ini -o o.png", 1, "",
        "vellox: Cannot read \"gone.ini\": No such file or directory\n");
    row("no folder", "--render dark.ini -o no/o.png", 1, "",
        "vellox: Cannot write \"no/o.png\": No such file or directory\n");
    row("no picture", "--render dark.ini -o o.png --background dark.ini", 1, "",
        "vellox: dark.ini: Cannot load the picture \"dark.ini\": Unsupported...");
    row("undrawable skin", "--render bad.ini -o o.png", 1, "",
        "vellox: bad.ini:4: \"Title Color\" (TitleColor) = 0xFFGG0000: the red \"GG\" is...");
    row("standard output", "--render dark.ini -o -", 0, "\x89PNG\r\n", "");
    refused("a device", "--render dark.ini -o /dev/null", "a device");
    refused("a full device", "--render dark.ini -o /dev/full", "a device");
    refused("a named pipe", "--render dark.ini -o pipe");
    refused("a named pipe for the gallery", "--gallery dark.ini default.ini -o pipe");
    refused("a named pipe for the mended skin", "--fix dark.ini -o pipe");
    refused("a named pipe for the suggestion", "--suggest pic.bmp -o pipe");
    refused("a named pipe in the output folder", "--render dark.ini -o outs");
    refused("fix onto a full device", "--fix dark.ini -o /dev/full", "a device");
    row("a full disk", "limit:4 --render dark.ini -o old.png", 1, "", "*old.png\": File too large");
    row("bitmap by suffix", "--render dark.ini -o o.BMP", 0, "", "", "o.BMP:BM");
    row("JPEG by suffix", "--render dark.ini -o o.jpeg", 0, "", "", "o.jpeg:\xff\xd8\xff");
    row("PNG without a suffix", "--render dark.ini -o o", 0, "", "", "o:\x89PNG");
    row("through a link", "--render dark.ini -o link.png", 0, "", "", "sub/to.png:\x89PNG");
    row("another user's link in a sticky folder", "--render dark.ini -o theirs.png", 1, "",
        "*theirs.png\" is a link that the user nobody made in");
    misuse("two outputs", "--render dark.ini -o a -o b", "--output is given more than once");
    misuse("twice", "--fix dark.ini -o - --panels --panels", "--panels is given more than once");
    row("a pipe as background", "--render dark.ini -o o.png --background pipe", 1, "",
        "*\"pipe\": it is a named pipe, not a file");
    row("a device as background", "--check --background /dev/zero dark.ini", 1, "",
        "*\"/dev/zero\": it is a device, not a file");
    row("unknown suffix", "--render dark.ini -o o.gif", 1, "",
        "vellox: o.gif: Vellox writes pictures as .png, .bmp, .jpg or .jpeg (or PNG...");
    row("onto the skin", "--render dark.ini -o alias.png", 1, "", "*alias.png: this is the skin");
    row("onto the background", "--render dark.ini --background pic.bmp -o ./pic.bmp", 1, "",
        "*./pic.bmp: this is the picture");
    row("check", "--check default.ini gone.ini", 1,
        "default.ini: warning: with achromatopsia, \"Select Item Color\" (SelectColor) and "
        "\"Change To Item Color\" (ChangeColor) differ by \u0394E00 6.6 on the gradient (10 "
        "wanted): they look alike\n");
    row("check as seen with one vision", "--check --vision deuteranopia default.ini", 0,
        "default.ini:20: warning: \"Not Supported Color\" (NotSupported) reads 4.4:1 on the "
        "gradient as seen with deuteranopia (4.5:1 wanted)\n");
    row("check at a severity", "--check --vision DEUTERANOMALY --severity 0.5 default.ini", 0, "-");
    row("render at a severity", "--render dark.ini --vision protanomaly --severity .3 -o o.png", 0,
        "", "", "o.png:\x89PNG");
    for (const auto &[name, args, value] :
         {std::tuple{"severity too high", "--render dark.ini -o o.png --vision tritanomaly", "1"},
          {"severity not a number", "--check dark.ini --vision deuteranomaly", "nan"},
          {"severity in a comma locale", "--check dark.ini --vision tritanomaly", "0,5"}})
        misuse(name, args + u" --severity "_s + value,
               u"--severity is a number from 0.1 to 0.9, not \"%1\""_s.arg(value));
    misuse("severity of a dichromacy", "--check dark.ini --vision protanopia --severity 0.5",
           severity);
    misuse("severity without a vision", "--check dark.ini --severity 0.5", severity);
    // Pictures of any format Qt reads, with the limits and refusals of the others.
    row("check over a picture", "--check --background pic.bmp dark.ini", 0, overPicture, "");
    row("check over a PNG", "--check --background pic.png dark.ini", 0, overPicture, "");
    row("render over a PNG", "--render dark.ini -o o.png --background pic.png", 0, "", "",
        "o.png:\x89PNG");
    row("suggest from a PNG", "--suggest pic.png -o - --variant 3", 0, "BgColor1 = 0x", "");
    row("PNG claiming 60000 square", "--render dark.ini -o o.png --background huge.png", 1, "",
        "vellox: huge.png: Cannot load the picture \"huge.png\": the picture is 60000 × 60000 "
        "pixels; Vellox takes pictures of up to 200 megapixels\n");
    row("PNG cut short", "--suggest cut.png -o s.ini", 1, "",
        "*Cannot load the picture \"cut.png\": the file ends early; it is damaged\n");
    row("fix", "--fix dark.ini -o f.ini", 0, "-",
        "dark.ini:7: \"Text Color\" (TextColor) reads 1.0:1 on the gradient: 0xFF203040 -> 0xFF...",
        "f.ini:BgColor1 = 0xFF1B2A41\r\n");
    const QString darker = u"vellox: the %1 look's gradient is darker at the %2 (lightness %3; "
                           "%4 or more keeps the look), so that %5, in a colour that reads on "
                           "the picture, reads on it too\n"_s,
                  light = darker.arg(u"light"_s, u"%1"_s, u"%2"_s, u"0.75"_s, u"%3"_s),
                  muted = darker.arg(u"muted"_s, u"%1"_s, u"%2"_s, u"0.60"_s, u"%3"_s),
                  title = u"\"Title Color\" (TitleColor)"_s,
                  bottom = u"\"Bottom Text Color\" (BottomTextColor)"_s;
    row("suggest a light look on a black picture", "--suggest pic.bmp -o - --variant 1", 0,
        "BgColor1 = 0xFF6D6D6D",
        light.arg(u"top"_s, u"0.53"_s, title) + light.arg(u"top"_s, u"0.53"_s, bottom) +
            light.arg(u"bottom"_s, u"0.57"_s, bottom));
    row("a muted look on a black picture", "--suggest pic.bmp -o - --variant 4", 0, "BgColor1",
        muted.arg(u"top"_s, u"0.55"_s, title) + muted.arg(u"bottom"_s, u"0.56"_s, bottom));
    row("suggest a dark look on a black picture", "--suggest pic.bmp -o - --variant 2", 0,
        "BgColor1 = 0x", "");
    row("suggest onto its picture", "--suggest pic.bmp -o pic.bmp", 1, "",
        "*pic.bmp: this is the picture");
    misuse("fifth variant", "--suggest pic.bmp -o s.ini --variant 5",
           "--variant is 1 (light), 2 (dark), 3 (vivid) or 4 (muted), not \"5\"");
    misuse("unknown vision", "--render dark.ini -o o.png --vision bogus",
           "--vision is protanomaly, protanopia, deuteranomaly, deuteranopia, tritanomaly, "
           "tritanopia or achromatopsia, not \"bogus\"");
    misuse("an option astray", "--suggest pic.bmp -o s.ini --vision protanopia",
           "--vision goes only with --render, --gallery or --check");
    misuse("panels without --fix", "--check dark.ini --panels", panels);
    misuse("panels without a picture", "--fix dark.ini --panels -o -", panels);
    row("several skins into a folder", "--render dark.ini default.ini -o sub", 0, "-", "",
        "sub/dark.png:\x89PNG|sub/default.png:\x89PNG");
    row("one skin into a folder", "--render dark.ini -o sub/", 0, "-", "", "sub/dark.png:\x89PNG");
    misuse("several skins, one file", "--render dark.ini default.ini -o o.png",
           "--render of several skins writes into a folder, and -o \"o.png\" is none");
    misuse("two skins of one name", "--render dark.ini ./dark.ini -o sub",
           "\"dark.ini\" and \"./dark.ini\" would both be drawn into \"sub/dark.png\"");
    misuse("standard input into a folder", "--render dark.ini - -o sub",
           "Standard input (-) has no name for a picture in a folder; draw it alone, with -o FILE");
    row("a folder not there", "--render dark.ini default.ini -o gone/", 1, "",
        "vellox: Cannot write into the folder \"gone/\": No such file or directory\n");
    row("a batch with a bad skin", "--render bad.ini dark.ini -o sub", 1, "",
        "vellox: bad.ini:4: \"Title Color\" (TitleColor) = 0xFFGG0000: the red...",
        "sub/dark.png:\x89PNG");
    row("gallery", "stdin:dark.ini --gallery - default.ini -o g.bmp", 0, "-", "", "g.bmp:BM");
    row("gallery with a bad skin", "--gallery dark.ini bad.ini gone.ini -o old.png", 1, "",
        "*vellox: old.png: 2 of 3 skins cannot be drawn; nothing was written\n");
    misuse("gallery without skins", "--gallery -o g.png", "--gallery wants one or more skins");
    row("gallery onto a skin", "--gallery default.ini alias.png -o alias.png", 1, "",
        "*alias.png: this is the skin");
    misuse("standard input twice", "--check - dark.ini -",
           "Standard input (-) can be read only once");
    row("check standard input", "stdin:dark.ini --check -", 0,
        "standard input:7: warning: \"Text Color\" (TextColor) reads 1.0:1", "");
    row("render standard input", "stdin:dark.ini --render - -o -", 0, "\x89PNG\r\n", "");
    row("fix standard input", "stdin:dark.ini --fix - -o f.ini", 0, "-",
        "standard input:7: \"Text Color\" (TextColor) reads 1.0:1 on the gradient: 0xFF203040...",
        "f.ini:BgColor1 = 0xFF1B2A41\r\n");
    row("an endless standard input", "stdin:/dev/zero --render - -o o.png", 1, "",
        "vellox: Cannot read standard input: it holds more than 1,048,576 bytes, the most Vellox "
        "reads of a skin\n");
    row("a folder as standard input", "stdin:sub --check -", 1,
        "standard input: error: Cannot read standard input: Is a directory\n", "");
    row("no display", "", 1, "",
        "vellox: there is no display to open: neither DISPLAY nor WAYLAND_DISPLAY is set\n");
    row("an X display not there", "env:DISPLAY=:987 -style windows", 1, "",
        "vellox: cannot open the X display \":987\"\n");
    row("a Wayland display not there", "env:WAYLAND_DISPLAY=nowhere", 1, "",
        "vellox: cannot open the Wayland display \"nowhere\"\n");
    row("-platform over DISPLAY", "env:DISPLAY=:987 env:WAYLAND_DISPLAY=nowhere -platform wayland",
        1, "", "vellox: cannot open the Wayland display \"nowhere\"\n");
    misuse("two tasks", "--fix dark.ini --suggest pic.bmp -o o.ini",
           "Ask for one of --render, --check, --suggest, --fix and --gallery at a time");
    const QString longName = QString(300, u'x') + ".ini"_L1;
    for (const QString &args : {u"--check %1"_s, u"--render %1 -o o.png"_s, u"%1"_s})
        row(qPrintable("name too long: " + args), args.arg(longName), 1,
            args.startsWith("--check"_L1) ? "xxx" : "", u"*File name too long"_s);
    row("a missing skin to open", "gone.ini", 1, "",
        "vellox: gone.ini: No such file or directory\n");
    row("no UTF-8", "--check printf:\\377.ini", 1, "",
        "vellox: the name \"\\xff.ini\" is not valid UTF-8, and Vellox would read it...");
}

void tst_shell::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QByteArray, out);
    QFETCH(QString, err);
    QFETCH(QString, written);
    ProgramFolder folder;
    folder.write(u"dark.ini"_s, factoryWith("TextColor = 0xFFDCE3EE", "TextColor = 0xFF203040"));
    folder.write(u"bad.ini"_s, "BgColor1=0xFF000000\r\nRectBgg = 0x80102030\r\nColour = 0x1\r\n"
                               "TitleColor = 0xFFGG0000\r\n" +
                                   factoryWith("TitleColor = 0xFFF2F5FA\r\n", ""));
    folder.write(u"pic.bmp"_s, encodedPicture(qRgb(1, 2, 3), "BMP"));
    const QByteArray png = encodedPicture(qRgb(1, 2, 3), "PNG");
    folder.write(u"pic.png"_s, png);
    folder.write(u"cut.png"_s, png.left(png.size() - 20));
    folder.write(u"huge.png"_s, pngClaiming(png, 60000));
    folder.write(u"old.png"_s, "the user's own");
    QDir(folder.dir().path()).mkdir(u"sub"_s);
    QFile::link(u"sub/to.png"_s, folder.file(u"link.png"_s));
    QFile::link(u"dark.ini"_s, folder.file(u"alias.png"_s));
    // The folder is open to all and sticky, as /tmp: only others' links there are refused.
    QFile::link(u"old.png"_s, folder.file(u"theirs.png"_s));
    lchown(QFile::encodeName(folder.file(u"theirs.png"_s)).constData(), 65534, 65534);
    chmod(QFile::encodeName(folder.dir().path()).constData(), 01777);
    // Another user's pipes, with a reader at each from the start: what is written there
    // would fit the pipe's buffer.
    QDir(folder.dir().path()).mkdir(u"outs"_s);
    QFile readers[2];
    for (QFile &reader : readers) {
        const QByteArray pipe =
            QFile::encodeName(folder.file(&reader == readers ? u"pipe"_s : u"outs/dark.png"_s));
        QVERIFY(mkfifo(pipe.constData(), 0666) == 0);
        lchown(pipe.constData(), 65534, 65534);
        reader.open(::open(pipe.constData(), O_RDONLY | O_NONBLOCK), QIODevice::ReadOnly,
                    QFileDevice::AutoCloseHandle);
    }
    const auto before = folder.contents();
    const Finished run = vellox(folder, arguments);

    QCOMPARE(run.status, status);
    QVERIFY2(out == "-" ? run.out.isEmpty() : run.out.startsWith(out), run.out.constData());
    if (err.endsWith("..."_L1))
        QVERIFY2(run.err.startsWith(err.chopped(3)), qPrintable(run.err));
    else if (err.startsWith(u'*'))
        QVERIFY2(run.err.contains(err.mid(1)) || run.out.contains(err.mid(1).toUtf8()),
                 qPrintable(run.err));
    else
        QCOMPARE(run.err, err);
    // Only --render writes, and only its picture: through a link, never over one.
    QMap<QString, QByteArray> after = folder.contents();
    for (const QString &each : written.split(u'|', Qt::SkipEmptyParts)) {
        const QString file = each.section(u':', 0, 0);
        const QByteArray got = after.take(file);
        QVERIFY2(got.startsWith(each.section(u':', 1).toLatin1()), qPrintable(file));
    }
    QCOMPARE(after, before);
    for (QFile &reader : readers)
        QCOMPARE(reader.readAll(), QByteArray());
    QVERIFY(QFileInfo(u"/dev/null"_s).exists() && !QFileInfo(u"/dev/null"_s).isFile());
}

void tst_shell::checks_data()
{
    QTest::addColumn<QByteArray>("skin"); // null: no file
    // Each problem's beginning, "LINE: severity: text", a line each; {mo} for the item
    // "Menu Outline" (RectOutline).
    QTest::addColumn<QString>("said");
    QTest::addColumn<bool>("withFactory");
    const auto row = [](const char *name, const QByteArray &skin, const char *said,
                        bool factory = true) {
        QTest::newRow(name) << skin << QString::fromUtf8(said) << factory;
    };
    const QByteArray f = ProgramFolder::factorySkin(),
                     noTitle = factoryWith("TitleColor = 0xFFF2F5FA\r\n", "");
    const auto mo = [](const QByteArray &code) {
        return factoryWith("RectOutline = 0xFF5B8DEF", "RectOutline" + code);
    };
    row("factory skin", f, "");
    row("LF line ends", QByteArray(f).replace("\r\n", "\n"), "1: error: the lines end in LF alone");
    row("byte order mark", "\xEF\xBB\xBF" + f,
        "1: warning: the file starts with a UTF-8 byte order mark, which Vellox reads as part of "
        "the first key, so \"BG Color 1\"\n0: warning: \"BG Color 1\" (BgColor1) is not set");
    row("empty", "", "0: error: the file is empty");
    row("binary", encodedPicture(qRgb(1, 2, 3), "PNG"), "0: error: the file is a PNG picture");
    row("UTF-16", "\xFF\xFE" + QByteArray(QStringEncoder(QStringEncoder::Utf16LE)(QString(f))),
        "0: error: the file is UTF-16 text");
    row("no skin", "hello\r\n", "0: error: no line sets a colour item: this is not a skin file");
    row("skipped lines", "BgColor1=0xFF000000\r\nRectBgg = 0x80102030\r\nColour = 0x1\r\n" + f,
        "1: warning: line skipped: \"BG Color 1\" (BgColor1) is read only with exactly one "
        "space\n2: warning: line skipped: \"RectBgg\" is no item of a skin; did you mean "
        "\"RectBg\"?\n3: warning: line skipped: \"Colour\" is no item of a skin");
    row("no file", QByteArray(), "0: error: Cannot read");
    row("set twice", f + "RectOutline = 0xFF5B8DE0\r\n",
        "23: warning: {mo} is set again; Vellox uses this line's \"0xFF5B8DE0\", not line 6's");
    row("seven digits", mo(" = 0xFF5B8DE"),
        "6: warning: {mo} = 0xFF5B8DE: it has 7 digits after \"0x\", not 8; Vellox reads it as "
        "0xFF5B8D0E");
    row("six digits", mo(" = 0xFF5B8D"), "6: error: {mo} = 0xFF5B8D: it has no blue digits");
    row("#RRGGBB", mo(" = #5B8DEF"),
        "6: error: {mo} = #5B8DEF: it has no blue digits; it is written as #RRGGBB; a skin "
        "writes colours as 0xAARRGGBB, here 0xFF5B8DEF");
    row("decimal", mo(" = 4284190191"),
        "6: warning: {mo} = 4284190191: it is a decimal number; a skin writes colours as "
        "0xAARRGGBB, here 0xFF5B8DEF");
    row("empty code", mo(" = "), "6: error: {mo}: the code is empty");
    row("tabs around =", mo("\t=\t0xFF5B8DEF"),
        "6: warning: line skipped: {mo} is read only with exactly one space either side of "
        "\"=\" and no tab\n0: warning: {mo} is not set");
    row("key without code", mo(""),
        "6: warning: line skipped: {mo} has no \" = \" and no code\n0: warning: {mo} is not set");
    // The one error of a short file first, then what it leaves unset, in one line.
    row("four lines",
        "BgColor1 = 0xFF000000\r\nTitleColor = 0xFFGG0000\r\n"
        "RectBg = 0x80102030\r\nTextColor = 0xFFFFFFFF\r\n",
        "2: error: \"Title Color\" (TitleColor) = 0xFFGG0000: the red \"GG\" is not "
        "hexadecimal\n0: warning: \"BG Color 2\" (BgColor2), \"Title Shadow\" (Shadow), ");
    row("control bytes", mo(QByteArray(" = 0xFF5B\0\001EF", 13)),
        "6: error: {mo} = 0xFF5B\\x00\\x01EF: the green \"\\x00\\x01\" is not hexadecimal");
    const QByteArray zz = factoryWith("MenuBgColor = 0xCC", "MenuBgColor = 0xZZ");
    row("opacity not hexadecimal", zz,
        "17: warning: \"Pop-Up BG Color\" (MenuBgColor) = 0xZZ101B2D: the opacity \"ZZ\"\n20: "
        "warning: \"Not Supported Color\" (NotSupported) reads 3.8:1 on the gradient (4.5:1 "
        "wanted)");
    // A text left to the factory skin that reads badly comes after the file's lines.
    row("unset and hard to read", QByteArray(zz).replace("NotSupported = 0xFF7A8799\r\n", ""),
        "17: warning: \"Pop-Up BG Color\" (MenuBgColor) = 0xZZ101B2D: the opacity \"ZZ\"\n0: "
        "warning: \"Not Supported Color\" (NotSupported) reads 3.8:1 on the gradient\n0: warning: "
        "\"Not Supported Color\" (NotSupported) is not set");
    row("dark text", factoryWith("TextColor = 0xFFDCE3EE", "TextColor = 0xFF203040"),
        "7: warning: \"Text Color\" (TextColor) reads 1.0:1 on the gradient (4.5:1 wanted)");
    row("an item left to the factory", noTitle,
        "0: warning: \"Title Color\" (TitleColor) is not set; it keeps the factory colour "
        "0xFFF2F5FA");
    row("no factory skin to fill in", noTitle,
        "0: error: \"Title Color\" (TitleColor) is not set, and the factory skin cannot "
        "give it: Cannot read",
        false);
}

// What the check says of a skin, and that the render draws it exactly when the check
// finds no error.
void tst_shell::checks()
{
    QFETCH(QByteArray, skin);
    QFETCH(QString, said);
    QFETCH(bool, withFactory);
    ProgramFolder folder;
    if (!skin.isNull())
        folder.write(u"s.ini"_s, skin);
    if (!withFactory)
        QFile::remove(folder.file(u"default.ini"_s));
    const FactorySkin factory(folder.file(u"default.ini"_s));
    SceneRenderer renderer;
    StillPicture none;
    QStringList seen;
    // The parts that look alike, which the factory skin has too, are the command line's.
    for (const SkinProblem &p : checkSkin(folder.file(u"s.ini"_s), factory, renderer, none))
        if (!p.text.startsWith("with "_L1))
            seen << u"%1: %2: %3"_s.arg(p.line).arg(
                p.severity == SkinProblem::Error ? "error" : "warning", p.text);
    const QStringList expected = said.replace("{mo}"_L1, "\"Menu Outline\" (RectOutline)"_L1)
                                     .split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(seen.size(), expected.size());
    for (qsizetype i = 0; i < seen.size(); ++i)
        QVERIFY2(seen[i].startsWith(expected[i]), qPrintable(seen[i]));

    const bool drawable = !said.contains(": error: "_L1);
    CommandLine render;
    render.skin = folder.file(u"s.ini"_s);
    render.output = folder.file(u"o.png"_s);
    QCOMPARE(renderSkin(render, factory), drawable ? 0 : 1);
    QCOMPARE(folder.exists(u"o.png"_s), drawable);
}

void tst_shell::renderedAsShown_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("format"); // of the background picture; empty for none
    QTest::addColumn<QByteArray>("skin");
    const QByteArray skin = ProgramFolder::factorySkin().replace("0x99", "0x4C");
    QTest::newRow("colour scene, skinning text") << u"skinning"_s << QByteArray() << skin;
    QTest::newRow("over a bitmap") << u"skinning"_s << QByteArray("BMP") << skin;
    QTest::newRow("over a JPEG") << u"actual"_s << QByteArray("JPEG") << skin;
    // The rest comes from the factory skin, in the window and on the command line alike.
    QTest::newRow("a skin of one item")
        << u"actual"_s << QByteArray("BMP") << QByteArray("RectBg = 0x4C102030\r\n");
}

// --render draws what the preview window shows, pixel for pixel, beside a running
// program whose working files it leaves alone.
void tst_shell::renderedAsShown()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, format);
    const QImage picture = QImage(VELLOX_PHOTOS "/chelsea.jpg"_L1).scaled(300, 200);
    Opened s;
    QFETCH(QByteArray, skin);
    const QString skinFile = s.outside(u"my.ini"_s, skin);
    s.dialogs.chosenFiles << skinFile;
    s.trigger("loadskin");
    QStringList arguments{u"--render"_s, skinFile, u"-o"_s, s.elsewhere.filePath(u"o.png"_s),
                          u"--text"_s,   text};
    if (!format.isEmpty()) {
        const QByteArray bytes = encoded(picture, format);
        arguments << u"--background"_s << s.outside(u"picture.data"_s, bytes);
        s.importPicture(s.outside(format == "BMP" ? u"p.bmp"_s : u"p.jpg"_s, bytes));
        // Kept on purpose: a JPEG is kept as a bitmap, in temp.jpg.
        QVERIFY(s.folder.read(format == "BMP" ? u"temp2.bmp"_s : u"temp.jpg"_s).startsWith("BM"));
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

void tst_shell::batches_data()
{
    QTest::addColumn<QStringList>("options"); // for every drawing alike
    QTest::newRow("gradient") << QStringList();
    QTest::newRow("picture, actual texts, a vision")
        << QStringList{u"--background"_s, u"pic.jpg"_s,  u"--text"_s,
                       u"actual"_s,       u"--vision"_s, u"deuteranopia"_s};
}

// Several skins in one run, into a folder or onto one sheet, are drawn with the same
// pixels as each alone, whatever the skin drawn before.
void tst_shell::batches()
{
    QFETCH(QStringList, options);
    ProgramFolder folder;
    const QStringList skins{u"dark.ini"_s, u"one.item.ini"_s, u"default.ini"_s, u"s/light.ini"_s,
                            u"dark2.ini"_s};
    folder.write(skins[0], factoryWith("TextColor = 0xFFDCE3EE", "TextColor = 0xFF203040"));
    folder.write(skins[1], "RectBg = 0x4C102030\r\n");
    folder.write(skins[3], factoryWith("BgColor1 = 0xFF1B2A41", "BgColor1 = 0xFFF0F0F0"));
    folder.write(skins[4], folder.read(skins[0]));
    folder.write(u"pic.jpg"_s, encodedPicture(qRgb(200, 40, 90), "JPEG", {640, 480}));
    QDir(folder.dir().path()).mkdir(u"out"_s);
    const auto draw = [&](const QString &task, const QStringList &which, const QString &to) {
        return vellox(folder, QStringList{task} + which + options + QStringList{u"-o"_s, to})
            .status;
    };
    QCOMPARE(draw(u"--render"_s, skins, u"out"_s), 0);
    QCOMPARE(draw(u"--gallery"_s, skins, u"sheet.png"_s), 0);
    const QImage sheet(folder.file(u"sheet.png"_s));
    // Two rows, of four and of one, each scene with a strip below it for its name.
    QCOMPARE(sheet.size(), QSize(8 + 4 * 488, 8 + 2 * (360 + 24 + 8)));
    for (int i = 0; i < skins.size(); ++i) {
        const QString alone = u"alone%1.png"_s.arg(i);
        QCOMPARE(draw(u"--render"_s, {skins[i]}, alone), 0);
        QCOMPARE(folder.read(u"out/"_s + pictureNameOf(skins[i])), folder.read(alone));
        const QRect scene(8 + i % 4 * 488, 8 + i / 4 * 392, 480, 360);
        QCOMPARE(sheet.copy(scene), QImage(folder.file(alone)).convertToFormat(sheet.format()));
        // The name is written in the strip, which is otherwise the sheet's own white.
        const QImage strip = sheet.copy(scene.x(), scene.bottom() + 1, 480, 24);
        QImage white(strip.size(), strip.format());
        white.fill(Qt::white);
        QVERIFY(strip.pixel(0, 0) == white.pixel(0, 0) && strip != white);
    }
}

// Installed, the program works in the user's data folder, set up on the first start.
void tst_shell::installedFirstStart()
{
    ProgramFolder root;
    root.write(u"usr/share/vellox/default.ini"_s, ProgramFolder::factorySkin());
    QDir().mkpath(root.file(u"usr/bin"_s));
    QVERIFY(QFile::copy(QStringLiteral(VELLOX_SYSTEM_EXECUTABLE), root.file(u"usr/bin/vellox"_s)));
    QProcess process;
    const QStringList command{u"HOME="_s + root.file(u"home"_s),
                              u"XDG_DATA_HOME="_s + root.file(u"home/data"_s),
                              root.file(u"usr/bin/vellox"_s)};
    // A first start cut short left the folder without its factory skin: the next works.
    for (const bool cutShort : {false, true}) {
        QFile::remove(root.file(u"home/data/vellox/default.ini"_s));
        QFile::remove(root.file(u"home/data/vellox/temp.ini"_s));
        process.start(u"env"_s, command); // which becomes the program
        QTRY_VERIFY_WITH_TIMEOUT(root.exists(u"home/data/vellox/temp.ini"_s), 20000);
        process.kill();
        process.waitForFinished();
        QCOMPARE(root.read(u"home/data/vellox/default.ini"_s), ProgramFolder::factorySkin());
        QCOMPARE(root.read(u"home/data/vellox/My Projects"_s), QByteArray("/"));
        QVERIFY2(!root.exists(u"usr/bin/temp.ini"_s), cutShort ? "again" : "first");
    }
}

void tst_shell::refusedStarts_data()
{
    QTest::addColumn<QString>("before"); // the shell's words that start the program
    QTest::addColumn<QString>("said");   // after "vellox: " and the folder's path
    // Root writes anywhere: the program runs as nobody then.
    QTest::newRow("a folder that may not be written to")
        << u"exec setpriv --reuid=65534 --regid=65534 --clear-groups"_s
        << u"Vellox cannot write to its folder \"%1"_s;
    QTest::newRow("no room for the lock file")
        << u"ulimit -f 0; exec"_s
        << u"Vellox cannot make its lock file \"%1/.vellox.lock\" in \"%1\": File too large"_s;
}

// A start that cannot work in its folder says why, before anything is drawn or written.
void tst_shell::refusedStarts()
{
    QFETCH(QString, before);
    QFETCH(QString, said);
    ProgramFolder folder;
    QVERIFY(QFile::copy(QStringLiteral(VELLOX_EXECUTABLE), folder.file(u"vellox"_s)));
    const QByteArray path = QFile::encodeName(folder.dir().path());
    chmod(path.constData(), before.contains("setpriv"_L1) ? 0555 : 0755);
    const auto contents = folder.contents();
    QProcess process;
    process.start(u"sh"_s, {u"-c"_s, before + u" \"$0\""_s, folder.file(u"vellox"_s)});
    QString err;
    QTRY_VERIFY_WITH_TIMEOUT((err += QString::fromLocal8Bit(process.readAllStandardError()))
                                 .contains(u"vellox: "_s + said.arg(folder.dir().path())),
                             20000);
    process.kill();
    process.waitForFinished();
    chmod(path.constData(), 0700);
    QCOMPARE(folder.contents(), contents);
}

namespace {

// What --fix said in `err`, mending `in` into `out` over `picture`, holds of the file it
// wrote: each text changed keeps its hue where it has one, each "still reads" is what
// --check finds, and each pair it made look alike is told.
void toldTruly(const ProgramFolder &folder, const QString &in, const QString &out,
               const QString &picture, const QString &err)
{
    static const QRegularExpression changed(u"reads [^:]*: 0xFF(\\w{6}) -> 0xFF(\\w{6})"_s),
        still(u"(\\(\\w+\\)) still (reads \\S+ on the \\w+)"_s),
        alike(u"warning: (with .*) differ by .*they look alike"_s);
    for (auto it = changed.globalMatch(err); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const OkLch from = okLchOf(QRgb(m.captured(1).toUInt(nullptr, 16))),
                    to = okLchOf(QRgb(m.captured(2).toUInt(nullptr, 16)));
        QVERIFY2(from.chroma < 0.03 || std::abs(std::remainder(to.hue - from.hue, 360.0)) < 3,
                 qPrintable(m.captured(0)));
    }
    const auto checked = [&](const QString &skin) {
        return QString::fromUtf8(
            vellox(folder, {u"--check"_s, u"--background"_s, picture, skin}).out);
    };
    const QString after = checked(out), before = checked(in);
    for (auto it = still.globalMatch(err); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        QVERIFY2(after.contains(m.captured(1) + u' ' + m.captured(2)), qPrintable(after));
    }
    for (auto it = alike.globalMatch(after); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        QVERIFY2(before.contains(m.captured(1)) || err.contains(u"once mended, "_s + m.captured(1)),
                 qPrintable(m.captured(0)));
    }
}

} // namespace

// --fix changes the codes of the texts it mends and no other byte, and what it says of
// them holds.
void tst_shell::mending()
{
    ProgramFolder folder;
    const QByteArray skin = "; my skin\rtextcolor = 0xff203040 = old\r\n" +
                            factoryWith("TextColor = 0xFFDCE3EE\r\n", "") +
                            "MenuTitleColor = 0x80101010";
    folder.write(u"mine.ini"_s, skin);
    const auto run = [&](const char *arguments) {
        return vellox(folder, QString::fromLatin1(arguments).split(u' ')); // split at spaces
    };
    folder.write(u"pic.jpg"_s, encodedPicture(qRgb(20, 40, 30), "JPEG", {640, 480}));
    QCOMPARE(run("--fix mine.ini --background pic.jpg -o fixed.ini").status, 0);
    // Only the red, green and blue digits of the two dark texts changed.
    const QByteArray fixed = folder.read(u"fixed.ini"_s);
    QByteArray expected = skin;
    expected.replace(26, 6, fixed.mid(26, 6)).replace(skin.size() - 6, 6, fixed.right(6));
    QCOMPARE(fixed, expected);
    QVERIFY(fixed.mid(26, 6) != skin.mid(26, 6) && fixed.right(6) != skin.right(6));
    QVERIFY(!run("--check --background pic.jpg fixed.ini").out.contains(" reads "));
    // Standard output carries the skin alone, the report goes beside it.
    const Finished toOutput = run("--fix mine.ini --background pic.jpg -o -");
    QVERIFY(toOutput.out == fixed && toOutput.err.count(u" -> "_s) == 2 && toOutput.status == 0);
    // Over white, the gradient dark and the panels at no opacity, what is at odds is named.
    folder.write(u"white.bmp"_s, encodedPicture(qRgb(255, 255, 255), "BMP"));
    folder.write(u"bare.ini"_s, factoryWith("RectBg = 0x99", "RectBg = 0x00"));
    const Finished odds = run("--fix bare.ini --background white.bmp -o -");
    folder.write(u"odds.ini"_s, odds.out);
    toldTruly(folder, u"bare.ini"_s, u"odds.ini"_s, u"white.bmp"_s, odds.err);
    QVERIFY2(odds.status == 1 &&
                 odds.err.contains("(SelectedTextColor) reads 2.0:1 on the picture, and reads "
                                   "well on the gradient or on the picture, not both: raise "
                                   "\"Select Item Color\"'s opacity, or change the gradient\n"_L1),
             qPrintable(odds.err));
    // --panels: each panel at the lowest opacity at which its texts read well, which leaves
    // on a photograph only the texts on the bare picture, and they fail the command. A
    // bare text no colour makes read on the picture reads well on the gradient.
    QVERIFY(QFile::copy(VELLOX_PHOTOS "/astronaut.jpg"_L1, folder.file(u"astronaut.jpg"_s)));
    folder.write(u"black.ini"_s, factoryWith("TitleColor = 0xFFF2F5FA", "TitleColor = 0xFF000000"));
    const Finished raised = run("--fix black.ini --background astronaut.jpg --panels -o r.ini");
    for (const char *told :
         {"(TitleColor) reads 1.0:1 on the gradient: 0xFF000000 -> 0xFFFFFFFF, which reads well "
          "on the gradient and as well as its hue can on the picture (no colour reads better than "
          "1.3:1 on the picture: the text lies on the bare picture)\n",
          "(TitleColor) still reads 1.3:1 on the picture\n",
          "(RectBg) at 62 %, the lowest opacity at which its texts can read well: 0x99223A5E -> "
          "0x9E223A5E\n"})
        QVERIFY2(raised.status == 1 && raised.err.contains(QLatin1String(told)),
                 qPrintable(raised.err));
    toldTruly(folder, u"black.ini"_s, u"r.ini"_s, u"astronaut.jpg"_s, raised.err);
    const QByteArray left = run("--check --background astronaut.jpg r.ini").out;
    QVERIFY2(left.count(" wanted; ") == 2 && left.count("the text lies on the bare picture") == 2 &&
                 left.contains("(TitleColor) reads 1.3:1 on the picture (4.5:1 wanted; no colour "
                               "reads better than 1.3:1 there: the text lies on the bare "
                               "picture)\n"),
             left.constData());
    // Panels nearly clear, under texts mended by hue: each raised, never lowered, to where
    // its texts read well in the colours written, and one percent less does not do.
    static const QRegularExpression panels(
        u"(?m)^(RectBg|MenuBgColor|SelectColor|ChangeColor) = 0x.."_s),
        texts(u"(?m)^(TextColor|SelectedTextColor|ChangeTextColor|MenuSelectedColor) = 0x.{8}"_s);
    QString clear = QString::fromLatin1(ProgramFolder::factorySkin());
    clear.replace(panels, u"\\1 = 0x10"_s).replace(texts, u"\\1 = 0xFFC08040"_s);
    folder.write(u"clear.ini"_s, clear.toLatin1());
    const Finished mended = run("--fix clear.ini --background astronaut.jpg --panels -o c.ini");
    static const QRegularExpression raise(
        u"\\((\\w+)\\) at (\\d+) %, the lowest [^:]*: 0x(..)\\S* -> 0x(..)"_s);
    toldTruly(folder, u"clear.ini"_s, u"c.ini"_s, u"astronaut.jpg"_s, mended.err);
    const qsizetype hard = run("--check --background astronaut.jpg c.ini").out.count(" reads ");
    int raisedPanels = 0;
    for (auto it = raise.globalMatch(mended.err); it.hasNext(); ++raisedPanels) {
        const QRegularExpressionMatch m = it.next();
        QVERIFY2(m.captured(3).toInt(nullptr, 16) < m.captured(4).toInt(nullptr, 16),
                 qPrintable(mended.err));
        QString less = QString::fromLatin1(folder.read(u"c.ini"_s));
        less.replace(QRegularExpression(u"(?m)^"_s + m.captured(1) + u" = 0x.."_s),
                     u"%1 = 0x%2"_s.arg(m.captured(1))
                         .arg(int(opacityByte(std::int16_t(m.captured(2).toInt() - 1))), 2, 16,
                              QChar(u'0')));
        folder.write(u"less.ini"_s, less.toLatin1());
        QVERIFY2(run("--check --background astronaut.jpg less.ini").out.count(" reads ") > hard,
                 qPrintable(m.captured(0)));
    }
    QVERIFY2(raisedPanels == 4, qPrintable(mended.err));
}

// --suggest writes the same skin every time, and it reads well; --vision draws what the
// viewer sees; --check tells busy backgrounds.
void tst_shell::suggestionsAndVisions()
{
    ProgramFolder folder;
    const auto run = [&](const char *arguments) {
        return vellox(folder, QString::fromLatin1(arguments).split(u' ')); // split at spaces
    };
    folder.write(u"pic.jpg"_s, encodedPicture(qRgb(20, 40, 30), "JPEG", {640, 480}));
    const QByteArray suggested = run("--suggest pic.jpg -o - --variant 2").out;
    QCOMPARE(run("--suggest pic.jpg -o - --variant 2").out, suggested);
    folder.write(u"s.ini"_s, suggested);
    QVERIFY(!run("--check --background pic.jpg s.ini").out.contains(" reads "));
    QVERIFY(suggested.endsWith("\r\n\r\nZantho Skin created with Vellox v1.6.1 Beta 1\r\n"));
    QCOMPARE(suggested.count("\r\n"), 22);
    QCOMPARE(run("--render s.ini -o grey.bmp --vision achromatopsia").status, 0);
    const QImage grey(folder.file(u"grey.bmp"_s));
    for (int y = 0; y < grey.height(); ++y)
        for (int x = 0; x < grey.width(); ++x)
            QVERIFY(qRed(grey.pixel(x, y)) == qBlue(grey.pixel(x, y)));
    // Over a finely textured photograph --check tells busy backgrounds beside the figures,
    // and what calms each: the title's shadow, the panel beneath, or nothing.
    QFile::copy(QStringLiteral(VELLOX_PHOTOS "/camera.jpg"), folder.file(u"camera.jpg"_s));
    // A shadow of the title's own tone is a lever; the factory's, opposite, is pulled.
    folder.write(u"same.ini"_s, "Shadow = 0xFFFFFFFF\r\n");
    const QByteArray busy = run("--check --background camera.jpg default.ini same.ini").out;
    for (const char *told :
         {"same.ini: warning: \"Title Color\" (TitleColor): busy background on the picture "
          "(RMS contrast 0.97; 0.15 slows reading): give \"Title Shadow\" the tone opposite the "
          "title's\n",
          "default.ini:3: warning: \"Title Color\" (TitleColor): busy background on the picture "
          "(RMS contrast 0.97; 0.15 slows reading): only the picture itself calms it\n",
          "busy background on the picture (RMS contrast 1.04; 0.15 slows reading): raise \"Menu "
          "BG\"'s opacity\n",
          ": busy background on the picture (RMS contrast 0.41; 0.15 slows reading): only the "
          "picture itself calms it\n"})
        QVERIFY2(busy.contains(told), busy.constData());
    // A suggestion calms what a panel can calm, even in the dark look, whose panels calm
    // only near opaque.
    // And the vivid look over a night launch made gaudy, whose bars the parts' search moves
    // after the panels were calmed.
    QImage gaudy(QStringLiteral(VELLOX_PHOTOS "/rocket.jpg"));
    for (int y = 0; y < gaudy.height(); ++y)
        for (int x = 0; x < gaudy.width(); ++x) {
            const QColor c = gaudy.pixelColor(x, y).toHsv();
            gaudy.setPixelColor(x, y,
                                QColor::fromHsv((c.hsvHue() + 252) % 360,
                                                std::min(255, c.hsvSaturation() * 9 / 5),
                                                c.value()));
        }
    QVERIFY(gaudy.save(folder.file(u"gaudy.png"_s)));
    for (const auto &[picture, look] : {std::pair{"camera.jpg", "2"}, {"gaudy.png", "3"}}) {
        QCOMPARE(
            run(QByteArray("--suggest ") + picture + " --variant " + look + " -o calm.ini").status,
            0);
        QVERIFY2(!run(QByteArray("--check --background ") + picture + " calm.ini")
                      .out.contains("reading): raise"),
                 picture);
    }
    // Between two tenths, the reference simulation's colour (tests/colour keeps its rows),
    // which truncates where we round: 51, 204, 153 is 149, 195, 152 at protanomaly 0.35.
    folder.write(u"g.ini"_s, "BgColor1 = 0xFF33CC99\r\nBgColor2 = 0xFF33CC99\r\n");
    QCOMPARE(run("--render g.ini -o p.bmp --vision protanomaly --severity 0.35").status, 0);
    const QRgb seen = QImage(folder.file(u"p.bmp"_s)).pixel(2, 2);
    for (const auto &[got, reference] :
         {std::pair{qRed(seen), 149}, {qGreen(seen), 195}, {qBlue(seen), 152}})
        QVERIFY2(got - reference == 0 || got - reference == 1,
                 qPrintable(QString::number(seen, 16)));
}

QTEST_MAIN(tst_shell)
#include "tst_shell.moc"
