#include "shell/AboutWindow.h"

#include "common/EditorSession.h"

#include <QCheckBox>
#include <QLabel>
#include <QProcess>
#include <QTimer>

using namespace Qt::Literals::StringLiterals;

class tst_shell : public QObject
{
    Q_OBJECT

private slots:
    void hiddenSwitchCyclesColours();
    void indexRounding_data();
    void indexRounding();
    void oneAboutWindowThatOutlivesTheEditor();
    void oneRunningProgramPerFolder();
};

void tst_shell::hiddenSwitchCyclesColours()
{
    ColourCycle cycle;
    AboutWindow about(cycle);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QCOMPARE(about.findChild<QLabel *>(u"Picture1"_s)->pixmap().size(), QSize(300, 90));
    auto *check = about.findChild<QCheckBox *>(u"Check1"_s);
    auto *timer = about.findChild<QTimer *>(u"Timer1"_s);
    QCOMPARE(check->geometry().intersected(about.rect()), QRect(392, 216, 2, 5));

    QList<QRgb> seen;
    connect(timer, &QTimer::timeout, &about,
            [&] { seen << about.palette().color(QPalette::Window).rgb(); });
    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(1, 4));
    QCOMPARE(timer->interval(), 50);
    QTRY_VERIFY(seen.size() >= 3);
    ColourCycle sameStart; // every run shows the same colours
    for (QRgb colour : std::as_const(seen))
        QCOMPARE(colour, sameStart.nextColour());

    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(1, 4));
    const QColor last = about.palette().color(QPalette::Window);
    QTest::qWait(120);
    QCOMPARE(about.palette().color(QPalette::Window), last);
}

void tst_shell::indexRounding_data()
{
    QTest::addColumn<double>("r");
    QTest::addColumn<int>("index");
    QTest::newRow("0.5 ties down to 0") << 1 / 30.0 << 0;
    QTest::newRow("1.5 ties up to 2") << 0.1 << 2;
    QTest::newRow("4.5 ties down to 4") << 0.3 << 4;
    QTest::newRow("just below 1") << 0.999999 << 15;
}

void tst_shell::indexRounding()
{
    QFETCH(double, r);
    QFETCH(int, index);
    QCOMPARE(ColourCycle::indexFor(r), index);
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
    // Closing it discards it; the next opening starts afresh.
    first->findChild<QCheckBox *>(u"Check1"_s)->setChecked(true);
    first->close();
    QTRY_VERIFY(!first);
    showAbout(about, cycle);
    QVERIFY(!about->findChild<QCheckBox *>(u"Check1"_s)->isChecked());
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
