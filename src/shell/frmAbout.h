#pragma once

#include <QPointer>
#include <QRgb>
#include <QWidget>

#include <array>
#include <random>

class QCheckBox;
class QLabel;
class QTimer;

// The About window's flashing background: colours of the sixteen classic text-mode
// colours, picked by a pseudo-random sequence that starts the same in every run.
class ColorCycle
{
public:
    static const std::array<QRgb, 16> Palette;

    // A number in [0, 1).
    double nextRandom();
    // r * 15 rounded half to even: 0 and 15 come up half as often as the others.
    static int indexFor(double r);
    QRgb nextColor() { return Palette[static_cast<size_t>(indexFor(nextRandom()))]; }

private:
    std::minstd_rand m_engine; // default seed: the same sequence every run
};

class frmAbout : public QWidget
{
    Q_OBJECT

public:
    explicit frmAbout(ColorCycle &cycle, QWidget *parent = nullptr);

private:
    void Check1_Click();
    void Timer1_Timer();

    ColorCycle &m_cycle;
    QLabel *Label3 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Picture1 = nullptr;
    QCheckBox *Check1 = nullptr;
    QTimer *Timer1 = nullptr;
};

// Shows the one About window, making it when it is not open and bringing it forward
// when it is. It belongs to no other window, so it stays open after the editor closes.
frmAbout *showAbout(QPointer<frmAbout> &window, ColorCycle &cycle);
