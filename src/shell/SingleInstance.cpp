#include "shell/SingleInstance.h"

#include "platform/Error.h"
#include "platform/Files.h"
#include "platform/LocalChannel.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr auto LockFile = ".vellox.lock"_L1;
// One request a line: "show", or "open" and a tab and the path in UTF-8, percent-encoded,
// since a file name may hold a line break of its own.
constexpr QByteArrayView ShowRequest = "show";
constexpr QByteArrayView OpenRequest = "open\t";

// The lock file's line that says where its program listens: "socket", a tab, the path.
constexpr QByteArrayView SocketRecord = "socket\t";

// A socket per program folder, named so that two folders never share one.
QString socketFor(const QString &programDir)
{
    const QString canonical = QDir(programDir).canonicalPath();
    return "vellox-"_L1 + QString::fromLatin1(QCryptographicHash::hash(QFile::encodeName(canonical),
                                                                       QCryptographicHash::Sha256)
                                                  .toHex()
                                                  .left(24));
}

} // namespace

SingleInstance::SingleInstance(const QString &programDir, QObject *parent)
    : QObject(parent), m_programDir(QDir::toNativeSeparators(programDir)),
      m_socket(socketFor(programDir)), m_lockPath(QDir(programDir).filePath(LockFile)),
      m_lock(m_lockPath)
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
        return QCoreApplication::translate(
                   "SingleInstance",
                   "The lock file \"%1\" is a link, and Vellox does not write through links. "
                   "Remove it and start Vellox again.")
            .arg(where);
    }
    if (st.st_uid != ::getuid()) {
        const passwd *owner = ::getpwuid(st.st_uid);
        const QString name =
            owner ? QString::fromLocal8Bit(owner->pw_name) : QString::number(st.st_uid);
        return QCoreApplication::translate(
                   "SingleInstance",
                   "The lock file \"%1\" belongs to the user %2: Vellox runs, or ran, from this "
                   "folder as %2. Start it from a folder of your own.")
            .arg(where, name);
    }
    return {};
}

QString SingleInstance::recordedSocket() const
{
    QByteArray bytes;
    try {
        bytes = readSmallFile(m_lockPath, 64 * 1024);
    } catch (const Error &) {
        return {};
    }
    // Only a whole line counts: the record may be being written.
    for (const QByteArray &line : bytes.split('\n').mid(0, bytes.count('\n'))) {
        if (line.startsWith(SocketRecord))
            return QFile::decodeName(line.mid(SocketRecord.size()));
    }
    return {};
}

QString SingleInstance::lockFailure() const
{
    // QLockFile keeps the system's reason to itself: a file of a lock's size beside it, made
    // the same way, meets the same refusal.
    const QByteArray probe = QFile::encodeName(m_lockPath) + ".probe";
    const int fd = ::open(probe.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    int err = fd < 0 ? errno : 0;
    if (fd >= 0) {
        const QByteArray bytes(64, 'x');
        errno = 0;
        if (::write(fd, bytes.constData(), size_t(bytes.size())) != bytes.size() ||
            ::close(fd) != 0)
            err = errno ? errno : ENOSPC;
        ::unlink(probe.constData());
    }
    return QCoreApplication::translate(
               "SingleInstance",
               "Vellox cannot make its lock file \"%1\" in \"%2\": %3. Without it a second "
               "Vellox could start on the same folder and remove this one's working files; make "
               "room there and start Vellox again.")
        .arg(QDir::toNativeSeparators(m_lockPath), m_programDir,
             err ? systemReason(err)
                 : QCoreApplication::translate("SingleInstance", "the system refused it"));
}

QString SingleInstance::listenForLaterStarts()
{
    m_channel = new LocalChannel(this);
    QString socket;
    try {
        socket = m_channel->listenPrivately(m_socket);
        // Appended to the lock file that is ours alone, which no other program writes;
        // a later start reads only whole lines of it.
        const int fd = ::open(QFile::encodeName(m_lockPath).constData(),
                              O_WRONLY | O_APPEND | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            throw Error::file(Error::PathFileAccess,
                              QT_TRANSLATE_NOOP("Error", "Cannot write \"%1\": %2"), m_lockPath,
                              systemReason(errno));
        try {
            writeAll(fd, SocketRecord.toByteArray() + QFile::encodeName(socket) + '\n', m_lockPath);
        } catch (const Error &) {
            ::close(fd);
            throw;
        }
        if (::close(fd) != 0)
            throw Error::file(Error::PathFileAccess,
                              QT_TRANSLATE_NOOP("Error", "Cannot write \"%1\": %2"), m_lockPath,
                              systemReason(errno));
    } catch (const Error &e) {
        delete m_channel;
        m_channel = nullptr;
        m_lock.unlock();
        return QCoreApplication::translate(
                   "SingleInstance",
                   "Vellox cannot listen for later starts from \"%1\", which would then start "
                   "a second program on the same folder.\r\n%2")
            .arg(m_programDir, e.description());
    }
    connect(m_channel, &LocalChannel::lineReceived, this, [this](const QByteArray &line) {
        if (line == ShowRequest)
            emit activationRequested();
        else if (line.startsWith(OpenRequest))
            emit openRequested(
                QString::fromUtf8(QByteArray::fromPercentEncoding(line.mid(OpenRequest.size()))));
    });
    return {};
}

void SingleInstance::beginClaim()
{
    m_begun = true;
    m_lockFileRefusal = checkLockFile();
    if (!m_lockFileRefusal.isEmpty())
        return;
    // Where a crashed program listened, read before its lock is taken over, to be tidied
    // then.
    m_leftSocket = recordedSocket();
    try {
        m_firstTry = std::async(std::launch::async, [this] { return m_lock.tryLock(0); });
    } catch (const std::system_error &) {
        // No thread to be had: claim() tries it itself.
    }
}

SingleInstance::Claim SingleInstance::claim(const QString &skin, int handOverTime)
{
    if (!m_begun)
        beginClaim();
    m_refusal = m_lockFileRefusal;
    if (!m_refusal.isEmpty())
        return Claim::Refused;
    QByteArray request = ShowRequest.toByteArray() + '\n';
    if (!skin.isEmpty())
        request += OpenRequest.toByteArray() +
                   QFileInfo(skin).absoluteFilePath().toUtf8().toPercentEncoding("/") + '\n';
    const QString &left = m_leftSocket;
    const QDeadlineTimer deadline(handOverTime);
    QString why = QCoreApplication::translate("SingleInstance", "it has not said where it listens");
    // The running program may still be starting, or just ending: asked again until it
    // answers, its lock is free, or the time is up.
    for (;;) {
        if (m_firstTry.valid() ? m_firstTry.get() : m_lock.tryLock(0)) {
            if (!left.isEmpty())
                LocalChannel::removeLeftovers(left);
            m_refusal = listenForLaterStarts();
            return m_refusal.isEmpty() ? Claim::Claimed : Claim::Refused;
        }
        if (m_lock.error() != QLockFile::LockFailedError) {
            m_refusal = lockFailure();
            return Claim::Refused;
        }
        if (const QString socket = recordedSocket(); !socket.isEmpty()) {
            switch (LocalChannel::send(socket, request, deadline, why)) {
            case LocalChannel::Sent::Delivered:
                return Claim::Handed;
            case LocalChannel::Sent::Stranger:
                return Claim::Stranger;
            case LocalChannel::Sent::Silent:
                why = QCoreApplication::translate(
                          "SingleInstance",
                          "it does not answer within %1 seconds (it may be stopped or busy)")
                          .arg(handOverTime / 1000.0);
                break;
            case LocalChannel::Sent::Nobody:
                break;
            }
        }
        if (deadline.hasExpired())
            break;
        QThread::msleep(100);
    }
    m_refusal = QCoreApplication::translate(
                    "SingleInstance",
                    "Vellox is already running from \"%1\", but nothing could be handed to it: "
                    "%2. Close it, or end it if it hangs, and start Vellox again.")
                    .arg(m_programDir, why);
    return Claim::Unanswered;
}
