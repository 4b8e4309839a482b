#include "cli/CommandLine.h"

#include "shell/AboutWindow.h"
#include "shell/Looks.h"
#include "shell/SingleInstance.h"

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
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QTranslator>

#include <csignal>
#include <sys/stat.h>

using namespace Qt::Literals::StringLiterals;

// The program's entry: windows, languages, looks, one program per folder, refused starts.
class tst_shell : public QObject
{
    Q_OBJECT

private slots:
    void oneRunningProgramPerFolder_data();
    void oneRunningProgramPerFolder();
    void lockFiles();
    void captionsFitAndAreSpoken();
    void aboutWindow();
    void aboutColours();
    void inGerman();
    void looks();
    void skinFileType();
    void installedFirstStart();
    void refusedStarts_data();
    void refusedStarts();
};

namespace {

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

// Each colour of the flashing comes up, the ends half as often: the index is rounded.
void tst_shell::aboutColours()
{
    for (const auto &[r, index] : {std::pair{0.0, 0}, {0.5, 8}, {0.625, 9}, {0.96875, 15}})
        QCOMPARE(ColourCycle::indexFor(r), index);
}

QTEST_MAIN(tst_shell)
#include "tst_shell.moc"
