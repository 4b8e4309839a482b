#pragma once

#include <QObject>

class QSocketNotifier;

// SIGTERM, SIGHUP and SIGINT, which end a program at once, turned into a signal of the
// event loop: the program can release what it holds and keep what it must, and then end
// by the signal that came. The handler only writes the signal's number to a pipe that
// the event loop watches. One object a process.
class EndSignals : public QObject
{
    Q_OBJECT

public:
    explicit EndSignals(QObject *parent = nullptr);
    ~EndSignals() override;

    // Ends the process now, as `signal` would have ended it, from wherever it is: also
    // from inside a modal dialog's event loop, which an exit of the event loop would only
    // close, leaving the program running on with a dialog's answer it never got.
    [[noreturn]] static void endBy(int signal);

signals:
    void endRequested(int signal);

private:
    QSocketNotifier *m_notifier = nullptr;
};
