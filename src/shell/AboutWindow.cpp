#include "shell/AboutWindow.h"

#include "platform/Build.h"
#include "platform/Numeric.h"
#include "platform/Widgets.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr QSize WindowSize{394, 221};
constexpr ControlLayout Title{"Label3"_L1, {64, 16, 265, 25}};
constexpr ControlLayout Text{
    "Label2"_L1,
    {8, 48, 377, 57},
    QLatin1StringView(QT_TRANSLATE_NOOP(
        "ControlLayout", "     Vellox is a small side project for Zantho: pick a colour, see "
                         "it on the Zantho screen at once, and take the skin with you. Many "
                         "thanks to Quillon and Marrowen for their testing and ideas."))};
constexpr ControlLayout Banner{
    "Picture1"_L1,
    {48, 120, 305, 94},
    {},
    QLatin1StringView(QT_TRANSLATE_NOOP("ControlLayout", "Vellox banner"))};
// Almost all of it lies outside the window: only a corner of 2 x 5 pixels can be
// clicked, for those who know.
constexpr ControlLayout FlashSwitch{"Check1"_L1, {392, 216, 12, 13}, "Check1"_L1};
constexpr int FlashInterval = 50; // milliseconds

} // namespace

const std::array<QRgb, 16> ColourCycle::Palette = {
    qRgb(0, 0, 0),       qRgb(0, 0, 128),   qRgb(0, 128, 0),   qRgb(0, 128, 128),
    qRgb(128, 0, 0),     qRgb(128, 0, 128), qRgb(128, 128, 0), qRgb(192, 192, 192),
    qRgb(128, 128, 128), qRgb(0, 0, 255),   qRgb(0, 255, 0),   qRgb(0, 255, 255),
    qRgb(255, 0, 0),     qRgb(255, 0, 255), qRgb(255, 255, 0), qRgb(255, 255, 255),
};

double ColourCycle::nextRandom()
{
    const auto span = static_cast<double>(std::minstd_rand::max() - std::minstd_rand::min() + 1);
    return static_cast<double>(m_engine() - std::minstd_rand::min()) / span;
}

int ColourCycle::indexFor(double r)
{
    return static_cast<int>(roundHalfEven(r * 15));
}

namespace {

// A window of its own with a caption, for a screen reader a dialog named by it.
QAccessibleInterface *aboutAccessible(const QString &className, QObject *object)
{
    return className == "AboutWindow"_L1
               ? new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Dialog)
               : nullptr;
}

} // namespace

AboutWindow::AboutWindow(ColourCycle &cycle, QWidget *parent)
    : QWidget(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint |
                          Qt::WindowTitleHint),
      m_cycle(cycle)
{
    static const bool accessible = [] {
        QAccessible::installFactory(aboutAccessible);
        return true;
    }();
    Q_UNUSED(accessible);
    setObjectName("frmAbout"_L1);
    setWindowTitle(tr("About"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(WindowSize);
    setAutoFillBackground(true);
    setFont(layoutFont());

    auto *title = place<QLabel>(this, Title);
    title->setText(Build::programTitle());
    title->setFont(layoutFont(19, QFont::Bold));
    auto *text = place<QLabel>(this, Text);
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // The words take the keyboard, so that a screen reader reads them when the window
    // comes; nothing else in it is the keyboard's.
    text->setFocusPolicy(Qt::StrongFocus);
    text->setFocus();
    auto *banner = place<QLabel>(this, Banner);
    banner->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    banner->setLineWidth(2);
    banner->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    banner->setPixmap(QPixmap(":/banner.png"_L1));
    flashSwitch = place<QCheckBox>(this, FlashSwitch);
    // Only a click on its corner, on purpose, starts the flashing: a keyboard user's Space
    // must never start a whole window flashing twenty times a second.
    flashSwitch->setFocusPolicy(Qt::ClickFocus);

    flashTimer = new QTimer(this);
    flashTimer->setObjectName("Timer1"_L1);

    connect(flashSwitch, &QCheckBox::clicked, this, &AboutWindow::onFlashSwitchClicked);
    connect(flashTimer, &QTimer::timeout, this, &AboutWindow::onFlashTimer);
}

AboutWindow::~AboutWindow()
{
    if (m_returnTo && m_returnTo->isVisible())
        m_returnTo->activateWindow();
}

// Escape closes it, as it closes a dialog; the window has no button to.
void AboutWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Cancel))
        close();
    else
        QWidget::keyPressEvent(event);
}

void AboutWindow::onFlashSwitchClicked()
{
    if (flashSwitch->checkState() == Qt::Checked) {
        flashTimer->setInterval(FlashInterval);
        flashTimer->start();
    }
    if (flashSwitch->checkState() == Qt::Unchecked)
        flashTimer->stop();
}

void AboutWindow::onFlashTimer()
{
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(m_cycle.nextColour()));
    setPalette(p);
}

AboutWindow *showAbout(QPointer<AboutWindow> &window, ColourCycle &cycle)
{
    if (!window)
        window = new AboutWindow(cycle);
    if (QWidget *from = QApplication::activeWindow(); from && from != window)
        window->returnTo(from);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}
