#include "platform/LocalChannel.h"

#include "platform/Error.h"
#include "platform/Files.h"

#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <optional>
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

QString LocalChannel::socketPath(const QString &name)
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && isPrivateFolder(runtime))
        return QFile::decodeName(runtime) + u'/' + name;
    const QByteArray own =
        QFile::encodeName(QDir::tempPath()) + "/vellox-" + QByteArray::number(::getuid());
    ::mkdir(own.constData(), 0700); // or it is there already, to be checked as any
    if (!isPrivateFolder(own))
        return {};
    return QFile::decodeName(own) + u'/' + name;
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
        if (!fromThisUser(fd)) {
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

LocalChannel::Sent LocalChannel::send(const QString &path, const QByteArray &lines)
{
    const auto address = addressOf(QFile::encodeName(path));
    if (path.isEmpty() || !address)
        return Sent::Nobody;
    for (int attempt = 0; attempt < 20; ++attempt) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0)
            return Sent::Nobody;
        if (::connect(fd, reinterpret_cast<const sockaddr *>(&*address), sizeof *address) == 0) {
            if (!fromThisUser(fd)) {
                ::close(fd);
                return Sent::Stranger;
            }
            bool written = true;
            try {
                writeAll(fd, lines, path);
            } catch (const Error &) {
                written = false;
            }
            ::close(fd);
            return written ? Sent::Delivered : Sent::Nobody;
        }
        ::close(fd);
        QThread::msleep(100);
    }
    return Sent::Nobody;
}
