#include "shell/frmAbout.h"

#include "editor/frmMain.h"

#include "common/ProgramFolder.h"
#include "common/ScriptedDialogs.h"

#include <QCheckBox>
#include <QLabel>
#include <QTimer>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

class tst_frmAbout : public QObject
{
    Q_OBJECT

private slots:
    void layout();
    void onlyTheCornerOfTheSwitchIsReachable();
    void switchStartsAndStopsColors();
    void sameSequenceEveryRun();
    void indexRounding_data();
    void indexRounding();
    void endsOfThePaletteComeHalfAsOften();
    void oneWindowThatOutlivesTheEditor();
};

void tst_frmAbout::layout()
{
    ColorCycle cycle;
    frmAbout about(cycle);
    QCOMPARE(about.windowTitle(), u"About"_s);
    QCOMPARE(about.size(), QSize(394, 221));
    QCOMPARE(about.minimumSize(), about.maximumSize());
    auto *title = about.findChild<QLabel *>(u"Label3"_s);
    QCOMPARE(title->text(), u"Vellox v1.6.2 Beta"_s);
    QCOMPARE(title->geometry(), QRect(64, 16, 265, 25));
    QCOMPARE(title->font().pixelSize(), 19);
    QVERIFY(title->font().bold());
    auto *text = about.findChild<QLabel *>(u"Label2"_s);
    QVERIFY(text->text().startsWith(u"     "_s) && !text->text().startsWith(u"      "_s));
    QVERIFY(text->text().contains(u"small side project for Zantho"_s));
    QVERIFY(!text->autoFillBackground() && !title->autoFillBackground());
    auto *banner = about.findChild<QLabel *>(u"Picture1"_s);
    QCOMPARE(banner->geometry(), QRect(48, 120, 305, 94));
    QCOMPARE(banner->pixmap().size(), QSize(300, 90));
    QVERIFY(!about.findChild<QTimer *>(u"Timer1"_s)->isActive());
}

void tst_frmAbout::onlyTheCornerOfTheSwitchIsReachable()
{
    ColorCycle cycle;
    frmAbout about(cycle);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    auto *check = about.findChild<QCheckBox *>(u"Check1"_s);
    QCOMPARE(check->geometry().intersected(about.rect()), QRect(392, 216, 2, 5));
    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(1, 4));
    QVERIFY(check->isChecked());
}

void tst_frmAbout::switchStartsAndStopsColors()
{
    ColorCycle cycle;
    frmAbout about(cycle);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    auto *check = about.findChild<QCheckBox *>(u"Check1"_s);
    auto *timer = about.findChild<QTimer *>(u"Timer1"_s);
    const QColor normal = about.palette().color(QPalette::Window);

    QList<QRgb> seen;
    connect(timer, &QTimer::timeout, &about,
            [&] { seen << about.palette().color(QPalette::Window).rgb(); });
    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(1, 4));
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 50);
    QTRY_VERIFY(seen.size() >= 3);
    ColorCycle expected;
    for (QRgb color : std::as_const(seen))
        QCOMPARE(color, expected.nextColor());

    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(1, 4));
    QVERIFY(!timer->isActive());
    const QColor last = about.palette().color(QPalette::Window);
    QVERIFY(last != normal);
    QTest::qWait(120);
    QCOMPARE(about.palette().color(QPalette::Window), last);

    // A greyed switch changes nothing.
    check->setTristate(true);
    check->setCheckState(Qt::PartiallyChecked);
    emit check->clicked();
    QVERIFY(!timer->isActive());
}

void tst_frmAbout::sameSequenceEveryRun()
{
    ColorCycle first, second;
    QList<QRgb> a, b;
    for (int i = 0; i < 200; ++i) {
        a << first.nextColor();
        b << second.nextColor();
    }
    QCOMPARE(a, b);
    QVERIFY(QSet<QRgb>(a.begin(), a.end()).size() > 10);
}

void tst_frmAbout::indexRounding_data()
{
    QTest::addColumn<double>("r");
    QTest::addColumn<int>("index");
    QTest::newRow("0") << 0.0 << 0;
    QTest::newRow("0.5 ties down to 0") << 1 / 30.0 << 0;
    QTest::newRow("1.5 ties up to 2") << 0.1 << 2;
    QTest::newRow("4.5 ties down to 4") << 0.3 << 4;
    QTest::newRow("10.5 ties down to 10") << 0.7 << 10;
    QTest::newRow("14.4") << 0.96 << 14;
    QTest::newRow("just below 1") << 0.999999 << 15;
}

void tst_frmAbout::indexRounding()
{
    QFETCH(double, r);
    QFETCH(int, index);
    QCOMPARE(ColorCycle::indexFor(r), index);
}

void tst_frmAbout::endsOfThePaletteComeHalfAsOften()
{
    ColorCycle cycle;
    std::array<int, 16> counts{};
    constexpr int Draws = 300000;
    for (int i = 0; i < Draws; ++i) {
        const double r = cycle.nextRandom();
        QVERIFY(r >= 0.0 && r < 1.0);
        ++counts[size_t(ColorCycle::indexFor(r))];
    }
    const double inner = Draws / 15.0;
    for (size_t i = 1; i < 15; ++i)
        QVERIFY2(std::abs(counts[i] - inner) < inner * 0.05,
                 qPrintable(QString::number(counts[i])));
    for (size_t i : {size_t(0), size_t(15)})
        QVERIFY2(std::abs(counts[i] - inner / 2) < inner * 0.05,
                 qPrintable(QString::number(counts[i])));
}

void tst_frmAbout::oneWindowThatOutlivesTheEditor()
{
    ProgramFolder folder;
    ScriptedDialogs dialogs;
    ColorCycle cycle;
    QPointer<frmAbout> about;
    frmMain editor(folder.dir(), dialogs);
    QObject::connect(&editor, &frmMain::aboutRequested, [&] { showAbout(about, cycle); });
    QVERIFY(editor.open());
    editor.findChild<QAction *>(u"about"_s)->trigger();
    QPointer<frmAbout> first = about;
    QVERIFY(first && first->isVisible());
    editor.findChild<QAction *>(u"about"_s)->trigger();
    QCOMPARE(about, first);

    editor.close();
    QVERIFY(first && first->isVisible());

    // Closing it discards it; the next opening starts afresh.
    first->findChild<QCheckBox *>(u"Check1"_s)->setChecked(true);
    first->close();
    QTRY_VERIFY(!first);
    showAbout(about, cycle);
    QVERIFY(about && !about->findChild<QCheckBox *>(u"Check1"_s)->isChecked());
    delete about.data();
}

QTEST_MAIN(tst_frmAbout)
#include "tst_frmAbout.moc"
