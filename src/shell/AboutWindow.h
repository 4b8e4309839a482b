#pragma once

#include <QPointer>
#include <QRgb>
#include <QWidget>

#include <array>
#include <random>

class QCheckBox;
class QTimer;

// The About window's flashing background: colours of the sixteen classic text-mode
// colours, picked by a pseudo-random sequence that starts the same in every run.
class ColourCycle
{
public:
    static const std::array<QRgb, 16> Palette;

    // A number in [0, 1).
    double nextRandom();
    // r * 15 rounded half to even: 0 and 15 come up half as often as the others.
    static int indexFor(double r);
    QRgb nextColour() { return Palette[static_cast<size_t>(indexFor(nextRandom()))]; }

private:
    std::minstd_rand m_engine; // default seed: the same sequence every run
};

class AboutWindow : public QWidget
{
    Q_OBJECT

public:
    explicit AboutWindow(ColourCycle &cycle, QWidget *parent = nullptr);
    ~AboutWindow() override;
    // Closed, it gives the keyboard back to the window it was last asked from, which no
    // window manager does for a window of its own, nor a bare X server at all.
    void returnTo(QWidget *window) { m_returnTo = window; }

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void onFlashSwitchClicked();
    void onFlashTimer();

    ColourCycle &m_cycle;
    QCheckBox *flashSwitch = nullptr;
    QTimer *flashTimer = nullptr;
    QPointer<QWidget> m_returnTo;
};

// Shows the one About window, making it when it is not open and bringing it forward
// when it is. It belongs to no other window, so it stays open after the editor closes.
AboutWindow *showAbout(QPointer<AboutWindow> &window, ColourCycle &cycle);
