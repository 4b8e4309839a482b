#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <map>

class QSocketNotifier;

// Lines from one process of this user to another, through a Unix socket in a path both
// know. Only processes of the same user are heard; anything else is hung up on.
class LocalChannel : public QObject
{
    Q_OBJECT

public:
    explicit LocalChannel(QObject *parent = nullptr);
    ~LocalChannel() override;

    // Listens at `path`, replacing a socket a crashed listener left there. False when the
    // system refuses.
    bool listen(const QString &path);

    // Sends `lines` to whoever listens at `path`, trying for a while when nobody does
    // yet: a listener may still be starting. False when nobody took them.
    static bool send(const QString &path, const QByteArray &lines);

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
