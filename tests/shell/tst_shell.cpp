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
    void oneAboutWindowThatOutlivesTheEditor();
    void oneRunningProgramPerFolder();
    void captionsFit();
    void spokenNames_data();
    void spokenNames();
};

namespace {

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

void tst_shell::spokenNames_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("spoken");
    const auto row = [](const char *control, const char *spoken) {
        QTest::newRow(control) << QString::fromLatin1(control) << QString::fromLatin1(spoken);
    };
    row("frmMain.Slider1", "Red");
    row("frmMain.Slider2", "Green");
    row("frmMain.Slider3", "Blue");
    row("frmMain.Slider4", "Opacity");
    row("frmMain.Text7", "Colour code");
    row("frmMain.Text5", "Skin text");
    row("frmMain.Shape1", "Colour preview");
    row("frmMain.Combo1", "Select Item:");
    row("frmMain.Command1", "Apply Change");
    row("frmMain.Label8", "Skin.ini Code:");
    row("frmPreview.Picture1", "Colour background preview");
    row("frmPreview.Picture2", "Picture background preview");
    row("frmPreview.Text1", "Project name");
    row("frmPreview.Option4", "Picture BG");
    row("frmPreview.Frame2", "Background");
    row("frmAbout.Picture1", "Vellox banner");
}

// What a screen reader hears for a control; and every control is heard by some name.
void tst_shell::spokenNames()
{
    QFETCH(QString, control);
    QFETCH(QString, spoken);
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
    for (QWidget *window : all.windows()) {
        for (QWidget *w : window->findChildren<QWidget *>()) {
            if (w->window() != window)
                continue;
            const QString path = window->objectName() + u'.' + w->objectName();
            if (path == control)
                QCOMPARE(name(w), spoken);
            // Menus are spoken by their entries in the menu bar.
            if (!w->objectName().isEmpty() && !w->objectName().startsWith("qt_"_L1) &&
                w->objectName() != "client"_L1 && !qobject_cast<QMenu *>(w))
                QVERIFY2(!name(w).isEmpty(), qPrintable(path));
        }
    }
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
