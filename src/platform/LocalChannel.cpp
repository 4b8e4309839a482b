#include "platform/LocalChannel.h"

#include "platform/Error.h"
#include "platform/Files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <optional>
#include <poll.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

constexpr qsizetype LongestRequest = 64 * 1024; // a path or two; more is no request

std::optional<sockaddr_un> addressOf(const QByteArray &path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= qsizetype(sizeof address.sun_path))
        return std::nullopt;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    return address;
}

bool isPrivateFolder(const QByteArray &path)
{
    struct stat st;
    return ::lstat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() &&
           (st.st_mode & 077) == 0;
}

bool fromThisUser(int fd)
{
    ucred peer{};
    socklen_t size = sizeof peer;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == ::getuid();
}

} // namespace

QString LocalChannel::listenPrivately(const QString &name)
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && isPrivateFolder(runtime)) {
        const QString path = QFile::decodeName(runtime) + u'/' + name;
        if (listen(path))
            return path;
        throw Error::file(Error::PathFileAccess,
                          QT_TRANSLATE_NOOP("Error", "Cannot listen at \"%1\": %2"), path,
                          systemReason(errno));
    }
    QByteArray folder = QFile::encodeName(QDir::tempPath()) + "/vellox-" +
                        QByteArray::number(::getuid()) + "-XXXXXX";
    if (!::mkdtemp(folder.data()))
        throw Error::file(Error::PathFileAccess,
                          QT_TRANSLATE_NOOP("Error", "Cannot create a folder in \"%1\": %2"),
                          QDir::tempPath(), systemReason(errno));
    m_ownFolder = folder;
    const QString path = QFile::decodeName(folder) + u'/' + name;
    if (!listen(path))
        throw Error::file(Error::PathFileAccess,
                          QT_TRANSLATE_NOOP("Error", "Cannot listen at \"%1\": %2"), path,
                          systemReason(errno));
    return path;
}

void LocalChannel::removeLeftovers(const QString &path)
{
    const QByteArray socket = QFile::encodeName(path);
    const QByteArray folder = QFile::encodeName(QFileInfo(path).path());
    struct stat st;
    if (::lstat(socket.constData(), &st) == 0 && S_ISSOCK(st.st_mode) && st.st_uid == ::getuid())
        ::unlink(socket.constData());
    // Only a folder of the kind listenPrivately() makes, and only when empty.
    const QByteArray made =
        QFile::encodeName(QDir::tempPath()) + "/vellox-" + QByteArray::number(::getuid()) + '-';
    if (folder.startsWith(made) && isPrivateFolder(folder))
        ::rmdir(folder.constData());
}

LocalChannel::LocalChannel(QObject *parent) : QObject(parent) {}

LocalChannel::~LocalChannel()
{
    for (auto &[fd, peer] : m_peers) {
        delete peer.notifier;
        ::close(fd);
    }
    if (m_listener >= 0) {
        delete m_notifier;
        ::close(m_listener);
        ::unlink(m_path.constData());
    }
    if (!m_ownFolder.isEmpty())
        ::rmdir(m_ownFolder.constData());
}

bool LocalChannel::listen(const QString &path)
{
    m_path = QFile::encodeName(path);
    const auto address = addressOf(m_path);
    if (!address)
        return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return false;
    ::unlink(m_path.constData());
    // Made for the user alone from the first moment, not opened up and then closed.
    const mode_t mask = ::umask(0077);
    const bool bound =
        ::bind(fd, reinterpret_cast<const sockaddr *>(&*address), sizeof *address) == 0;
    ::umask(mask);
    if (!bound || ::listen(fd, 8) != 0) {
        ::close(fd);
        return false;
    }
    m_listener = fd;
    m_notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &LocalChannel::accept);
    return true;
}

void LocalChannel::accept()
{
    for (;;) {
        const int fd = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0)
            return;
        if (!fromThisUser(fd) || ::send(fd, "\n", 1, MSG_NOSIGNAL) != 1) {
            ::close(fd);
            continue;
        }
        auto *notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        m_peers.emplace(fd, Peer{notifier, {}});
        connect(notifier, &QSocketNotifier::activated, this, [this, fd] { readFrom(fd); });
    }
}

void LocalChannel::readFrom(int fd)
{
    Peer &peer = m_peers.at(fd);
    bool over = false;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            break;
        if (n <= 0 || peer.pending.size() + n > LongestRequest) {
            over = true;
            break;
        }
        peer.pending.append(buffer, n);
    }
    // Complete lines are handed on, also those that came with the hang-up.
    QList<QByteArray> lines;
    for (qsizetype end; (end = peer.pending.indexOf('\n')) >= 0;) {
        lines << peer.pending.left(end);
        peer.pending.remove(0, end + 1);
    }
    if (over)
        hangUp(fd);
    for (const QByteArray &line : std::as_const(lines))
        emit lineReceived(line);
}

void LocalChannel::hangUp(int fd)
{
    const auto it = m_peers.find(fd);
    it->second.notifier->setEnabled(false);
    it->second.notifier->deleteLater();
    ::close(fd);
    m_peers.erase(it);
}

LocalChannel::Sent LocalChannel::send(const QString &path, const QByteArray &lines,
                                      QDeadlineTimer deadline, QString &reason)
{
    const auto address = addressOf(QFile::encodeName(path));
    if (!address) {
        reason =
            QCoreApplication::translate("LocalChannel", "the path \"%1\" is too long for a socket")
                .arg(path);
        return Sent::Nobody;
    }
    // Without blocking: a listener whose queue is full, or that is stopped, must not hold
    // the caller for as long as it stays so.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0 ||
        ::connect(fd, reinterpret_cast<const sockaddr *>(&*address), sizeof *address) != 0) {
        reason = systemReason(errno);
        if (fd >= 0)
            ::close(fd);
        return Sent::Nobody;
    }
    if (!fromThisUser(fd)) {
        ::close(fd);
        return Sent::Stranger;
    }
    pollfd ready{fd, POLLIN, 0};
    char greeting = 0;
    Sent sent = Sent::Silent;
    if (::poll(&ready, 1, int(deadline.remainingTime())) == 1 && ::read(fd, &greeting, 1) == 1 &&
        greeting == '\n') {
        sent = Sent::Delivered;
        try {
            writeAll(fd, lines, path);
        } catch (const Error &e) {
            reason = e.description();
            sent = Sent::Nobody;
        }
    }
    ::close(fd);
    return sent;
}
