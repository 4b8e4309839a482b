#include "shell/frmAbout.h"

#include "platform/Numeric.h"
#include "platform/Widgets.h"

#include <QCheckBox>
#include <QLabel>
#include <QTimer>

using namespace Qt::Literals::StringLiterals;

const std::array<QRgb, 16> ColorCycle::Palette = {
    qRgb(0, 0, 0),       qRgb(0, 0, 128),   qRgb(0, 128, 0),   qRgb(0, 128, 128),
    qRgb(128, 0, 0),     qRgb(128, 0, 128), qRgb(128, 128, 0), qRgb(192, 192, 192),
    qRgb(128, 128, 128), qRgb(0, 0, 255),   qRgb(0, 255, 0),   qRgb(0, 255, 255),
    qRgb(255, 0, 0),     qRgb(255, 0, 255), qRgb(255, 255, 0), qRgb(255, 255, 255),
};

double ColorCycle::nextRandom()
{
    const auto span = static_cast<double>(std::minstd_rand::max() - std::minstd_rand::min() + 1);
    return static_cast<double>(m_engine() - std::minstd_rand::min()) / span;
}

int ColorCycle::indexFor(double r)
{
    return static_cast<int>(roundHalfEven(r * 15));
}

frmAbout::frmAbout(ColorCycle &cycle, QWidget *parent)
    : QWidget(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint |
                          Qt::WindowTitleHint),
      m_cycle(cycle)
{
    setObjectName("frmAbout"_L1);
    setWindowTitle("About"_L1);
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(394, 221);
    setAutoFillBackground(true);
    setFont(layoutFont());

    Label3 = new QLabel("Vellox v1.6.2 Beta"_L1, this);
    Label3->setObjectName("Label3"_L1);
    Label3->setGeometry(64, 16, 265, 25);
    Label3->setFont(layoutFont(19, QFont::Bold));

    Label2 = new QLabel(this);
    Label2->setObjectName("Label2"_L1);
    Label2->setGeometry(8, 48, 377, 57);
    Label2->setWordWrap(true);
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label2->setText("     Vellox is a small side project for Zantho: pick a colour, see it on the "
                    "Zantho screen at once, and take the skin with you. Many thanks to Quillon "
                    "and Marrowen for their testing and ideas."_L1);

    Picture1 = new QLabel(this);
    Picture1->setObjectName("Picture1"_L1);
    Picture1->setGeometry(48, 120, 305, 94);
    Picture1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Picture1->setLineWidth(2);
    Picture1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Picture1->setPixmap(QPixmap(":/banner.png"_L1));

    // Almost all of it lies outside the window: only a corner of 2 x 5 pixels can be
    // clicked, for those who know.
    Check1 = new QCheckBox("Check1"_L1, this);
    Check1->setObjectName("Check1"_L1);
    Check1->setGeometry(392, 216, 12, 13);

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1"_L1);

    connect(Check1, &QCheckBox::clicked, this, &frmAbout::Check1_Click);
    connect(Timer1, &QTimer::timeout, this, &frmAbout::Timer1_Timer);
}

void frmAbout::Check1_Click()
{
    if (Check1->checkState() == Qt::Checked) {
        Timer1->setInterval(50);
        Timer1->start();
    }
    if (Check1->checkState() == Qt::Unchecked)
        Timer1->stop();
}

void frmAbout::Timer1_Timer()
{
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(m_cycle.nextColor()));
    setPalette(p);
}

frmAbout *showAbout(QPointer<frmAbout> &window, ColorCycle &cycle)
{
    if (!window)
        window = new frmAbout(cycle);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}
