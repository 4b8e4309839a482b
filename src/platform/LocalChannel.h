#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QObject>
#include <QString>

#include <map>

class QSocketNotifier;

// Lines from one process of this user to another, through a Unix socket in a folder of
// the user's own. Both ends hear only processes of the same user; the listener greets
// each caller with an empty line, so that a caller knows someone is at work there.
class LocalChannel : public QObject
{
    Q_OBJECT

public:
    explicit LocalChannel(QObject *parent = nullptr);
    ~LocalChannel() override;

    // Listens at `path`, replacing a socket a crashed listener left there. False when the
    // system refuses.
    bool listen(const QString &path);

    // Listens at a socket called `name` in the user's runtime folder when it is usable, or
    // else in a fresh folder of the user's alone made in the temporary folder (where any
    // user could have taken a fixed name first), removed again with the channel. Returns
    // the socket's path; throws Error naming the place and the system's reason.
    QString listenPrivately(const QString &name);
    // Removes what a crashed listenPrivately() left at `path`: the socket, and the folder
    // made for it.
    static void removeLeftovers(const QString &path);

    enum class Sent
    {
        Delivered,
        Nobody,   // nobody listens there: `reason` says why
        Silent,   // a listener was reached but did not greet in time (stopped or hung)
        Stranger, // another user's process listens there; it was told nothing
    };
    // Sends `lines` to whoever listens at `path`, once the listener has greeted; waits no
    // longer than `deadline`.
    static Sent send(const QString &path, const QByteArray &lines, QDeadlineTimer deadline,
                     QString &reason);

signals:
    void lineReceived(const QByteArray &line);

private:
    void accept();
    void readFrom(int fd);
    void hangUp(int fd);

    int m_listener = -1;
    QByteArray m_path;
    QByteArray m_ownFolder; // made for the socket by listenPrivately()
    QSocketNotifier *m_notifier = nullptr;
    struct Peer
    {
        QSocketNotifier *notifier;
        QByteArray pending;
    };
    std::map<int, Peer> m_peers;
};
