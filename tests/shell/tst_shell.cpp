#include "shell/AboutWindow.h"

#include "common/EditorSession.h"

#include <QProcess>

using namespace Qt::Literals::StringLiterals;

class tst_shell : public QObject
{
    Q_OBJECT

private slots:
    void oneAboutWindowThatOutlivesTheEditor();
    void oneRunningProgramPerFolder();
};

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
