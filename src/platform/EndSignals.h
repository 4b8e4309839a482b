#pragma once

#include <QObject>

class QSocketNotifier;

// SIGTERM, SIGHUP and SIGINT, which end a program at once, turned into a signal of the
// event loop: the program can end in order, releasing what it holds. The handler only
// writes a byte to a pipe that the event loop watches. One object a process.
class EndSignals : public QObject
{
    Q_OBJECT

public:
    explicit EndSignals(QObject *parent = nullptr);
    ~EndSignals() override;

signals:
    void endRequested();

private:
    QSocketNotifier *m_notifier = nullptr;
};
