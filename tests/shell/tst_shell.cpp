#include "shell/AboutWindow.h"

#include "common/EditorSession.h"

#include <QCheckBox>
#include <QProcess>
#include <QTimer>

using namespace Qt::Literals::StringLiterals;

class tst_shell : public QObject
{
    Q_OBJECT

private slots:
    void hiddenSwitchFlashesTheBackground();
    void oneAboutWindowThatOutlivesTheEditor();
    void oneRunningProgramPerFolder();
};

// Only a corner of 2 x 5 pixels of the switch lies inside the window.
void tst_shell::hiddenSwitchFlashesTheBackground()
{
    ColourCycle cycle;
    AboutWindow about(cycle);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    auto *check = about.findChild<QCheckBox *>(u"Check1"_s);
    QCOMPARE(check->geometry().intersected(about.rect()), QRect(392, 216, 2, 5));
    QSet<QRgb> seen;
    auto *timer = about.findChild<QTimer *>(u"Timer1"_s);
    connect(timer, &QTimer::timeout, &about,
            [&] { seen << about.palette().color(QPalette::Window).rgb(); });
    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(1, 4));
    QCOMPARE(timer->interval(), 50);
    QTRY_VERIFY(seen.size() >= 3);
    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(1, 4));
    QVERIFY(!timer->isActive());
}

void tst_shell::oneAboutWindowThatOutlivesTheEditor()
{
    Session s;
    ColourCycle cycle;
    QPointer<AboutWindow> about;
    QObject::connect(s.editor.get(), &EditorWindow::aboutRequested,
                     [&] { showAbout(about, cycle); });
    QVERIFY(s.editor->open());
    s.trigger("about");
    QPointer<AboutWindow> first = about;
    s.trigger("about");
    QCOMPARE(about, first);
    s.editor->close();
    QVERIFY(first && first->isVisible());
    delete about.data();
}

// The real program, started from a folder of its own the way a user starts it.
void tst_shell::oneRunningProgramPerFolder()
{
    ProgramFolder folder;
    const QString program = folder.file(u"vellox"_s);
    QVERIFY(QFile::copy(QStringLiteral(VELLOX_EXECUTABLE), program));
    const auto start = [&](QProcess &process) {
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(program, {});
        QVERIFY(process.waitForStarted());
    };
    QProcess first, second, third;
    start(first);
    QTRY_VERIFY_WITH_TIMEOUT(folder.exists(u"temp.ini"_s), 20000);
    const auto before = folder.contents();

    start(second);
    QVERIFY(second.waitForFinished(20000));
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(first.state(), QProcess::Running);
    QCOMPARE(folder.contents(), before);

    // A crash leaves the lock behind; the next start takes it over.
    first.kill();
    first.waitForFinished();
    QFile::remove(folder.file(u"temp.ini"_s));
    start(third);
    QTRY_VERIFY_WITH_TIMEOUT(folder.exists(u"temp.ini"_s), 20000);
    QCOMPARE(third.state(), QProcess::Running);
    third.kill();
    third.waitForFinished();
}

QTEST_MAIN(tst_shell)
#include "tst_shell.moc"
