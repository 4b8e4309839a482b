#include "shell/SingleInstance.h"

#include "platform/LocalChannel.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr auto LockFile = ".vellox.lock"_L1;
// One request a line: "show", or "open" and a tab and the path in UTF-8.
constexpr QByteArrayView ShowRequest = "show";
constexpr QByteArrayView OpenRequest = "open\t";

// A socket per program folder, in a folder of the user's alone.
QString socketFor(const QString &programDir)
{
    const QString canonical = QDir(programDir).canonicalPath();
    return LocalChannel::socketPath(
        "vellox-"_L1 + QString::fromLatin1(QCryptographicHash::hash(QFile::encodeName(canonical),
                                                                    QCryptographicHash::Sha256)
                                               .toHex()
                                               .left(24)));
}

} // namespace

SingleInstance::SingleInstance(const QString &programDir, QObject *parent)
    : QObject(parent), m_socket(socketFor(programDir)),
      m_lockPath(QDir(programDir).filePath(LockFile)), m_lock(m_lockPath)
{
    // A lock is stale only when its program is gone, however long a program runs.
    m_lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::checkLockFile()
{
    const QByteArray path = QFile::encodeName(m_lockPath);
    struct stat st;
    if (::lstat(path.constData(), &st) != 0)
        return {};
    const QString where = QDir::toNativeSeparators(m_lockPath);
    if (S_ISLNK(st.st_mode)) {
        struct stat target;
        // A link to nothing holds nothing: it is replaced.
        if (::stat(path.constData(), &target) != 0 && ::unlink(path.constData()) == 0)
            return {};
        return u"The lock file \"%1\" is a link, and Vellox does not write through links. "
               "Remove it and start Vellox again."_s.arg(where);
    }
    if (st.st_uid != ::getuid()) {
        const passwd *owner = ::getpwuid(st.st_uid);
        const QString name =
            owner ? QString::fromLocal8Bit(owner->pw_name) : QString::number(st.st_uid);
        return u"The lock file \"%1\" belongs to the user %2: Vellox runs, or ran, from this "
               "folder as %2. Start it from a folder of your own."_s.arg(where, name);
    }
    return {};
}

SingleInstance::Claim SingleInstance::claim(const QString &skin)
{
    m_refusal = checkLockFile();
    if (!m_refusal.isEmpty())
        return Claim::Refused;
    if (!m_lock.tryLock(0)) {
        if (m_lock.error() != QLockFile::LockFailedError)
            return Claim::Claimed;
        QByteArray request = ShowRequest.toByteArray() + '\n';
        if (!skin.isEmpty())
            request +=
                OpenRequest.toByteArray() + QFileInfo(skin).absoluteFilePath().toUtf8() + '\n';
        switch (LocalChannel::send(m_socket, request)) {
        case LocalChannel::Sent::Delivered:
            return Claim::Handed;
        case LocalChannel::Sent::Stranger:
            return Claim::Stranger;
        case LocalChannel::Sent::Nobody:
            break;
        }
        return Claim::Unanswered;
    }
    m_channel = new LocalChannel(this);
    // The lock is ours, so a socket there was left by a crash.
    if (m_socket.isEmpty() || !m_channel->listen(m_socket))
        return Claim::Claimed;
    connect(m_channel, &LocalChannel::lineReceived, this, [this](const QByteArray &line) {
        if (line == ShowRequest)
            emit activationRequested();
        else if (line.startsWith(OpenRequest))
            emit openRequested(QString::fromUtf8(line.mid(OpenRequest.size())));
    });
    return Claim::Claimed;
}
