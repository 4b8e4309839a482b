#include "shell/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr auto LockFile = ".vellox.lock"_L1;
// One request a line: "show", or "open" and a tab and the path in UTF-8.
constexpr QByteArrayView ShowRequest = "show";
constexpr QByteArrayView OpenRequest = "open\t";

QString serverNameFor(const QString &programDir)
{
    const QString canonical = QDir(programDir).canonicalPath();
    return "vellox-"_L1 + QString::fromLatin1(QCryptographicHash::hash(QFile::encodeName(canonical),
                                                                       QCryptographicHash::Sha256)
                                                  .toHex()
                                                  .left(24));
}

// The running instance may still be starting up; it listens within moments.
bool ask(const QString &serverName, const QByteArray &request)
{
    for (int attempt = 0; attempt < 20; ++attempt) {
        QLocalSocket socket;
        socket.connectToServer(serverName);
        if (socket.waitForConnected(500)) {
            socket.write(request);
            const bool sent = socket.waitForBytesWritten(1000);
            socket.disconnectFromServer();
            return sent;
        }
        QThread::msleep(100);
    }
    return false;
}

} // namespace

SingleInstance::SingleInstance(const QString &programDir, QObject *parent)
    : QObject(parent), m_serverName(serverNameFor(programDir)),
      m_lock(QDir(programDir).filePath(LockFile))
{
    // A lock is stale only when its program is gone, however long a program runs.
    m_lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

SingleInstance::Claim SingleInstance::claim(const QString &skin)
{
    if (!m_lock.tryLock(0)) {
        if (m_lock.error() != QLockFile::LockFailedError)
            return Claim::Claimed;
        QByteArray request = ShowRequest.toByteArray() + '\n';
        if (!skin.isEmpty())
            request +=
                OpenRequest.toByteArray() + QFileInfo(skin).absoluteFilePath().toUtf8() + '\n';
        return ask(m_serverName, request) ? Claim::Handed : Claim::Unanswered;
    }
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // The lock is ours, so a socket of that name was left by a crash.
    QLocalServer::removeServer(m_serverName);
    if (!m_server->listen(m_serverName))
        return Claim::Claimed;
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                while (socket->canReadLine()) {
                    const QByteArray line = socket->readLine().chopped(1);
                    if (line == ShowRequest)
                        emit activationRequested();
                    else if (line.startsWith(OpenRequest))
                        emit openRequested(QString::fromUtf8(line.mid(OpenRequest.size())));
                }
            });
        }
    });
    return Claim::Claimed;
}
