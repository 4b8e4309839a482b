#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <map>

class QSocketNotifier;

// Lines from one process of this user to another, through a Unix socket in a folder of
// the user's own. Both ends hear only processes of the same user.
class LocalChannel : public QObject
{
    Q_OBJECT

public:
    explicit LocalChannel(QObject *parent = nullptr);
    ~LocalChannel() override;

    // Listens at `path`, replacing a socket a crashed listener left there. False when the
    // system refuses.
    bool listen(const QString &path);

    // Where a socket called `name` lives: in the user's runtime folder, or else in a
    // folder of the user's alone in the temporary folder, made with mode 0700 and checked
    // (owner, mode, no link) before use. Empty when no such folder can be had.
    static QString socketPath(const QString &name);

    enum class Sent
    {
        Delivered,
        Nobody,   // nobody listens, nor did within a few seconds
        Stranger, // another user's process listens there; it was told nothing
    };
    // Sends `lines` to whoever listens at `path`, trying for a while when nobody does
    // yet: a listener may still be starting.
    static Sent send(const QString &path, const QByteArray &lines);

signals:
    void lineReceived(const QByteArray &line);

private:
    void accept();
    void readFrom(int fd);
    void hangUp(int fd);

    int m_listener = -1;
    QByteArray m_path;
    QSocketNotifier *m_notifier = nullptr;
    struct Peer
    {
        QSocketNotifier *notifier;
        QByteArray pending;
    };
    std::map<int, Peer> m_peers;
};
