#include "platform/Files.h"

#include "platform/Error.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRandomGenerator>

#include <cerrno>
#include <climits>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

EarlierContentKeeper &keeper()
{
    static EarlierContentKeeper kept;
    return kept;
}

// A descriptor that is closed when it goes out of scope.
class Descriptor
{
public:
    explicit Descriptor(int fd = -1) : m_fd(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(Descriptor &&other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    Descriptor &operator=(Descriptor &&other) noexcept
    {
        if (this != &other)
            reset(std::exchange(other.m_fd, -1));
        return *this;
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return m_fd; }
    explicit operator bool() const { return m_fd >= 0; }
    void reset(int fd = -1)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }
    // Closes now and tells whether the system took the last of what was written.
    int close()
    {
        const int err = ::close(std::exchange(m_fd, -1)) == 0 ? 0 : errno;
        return err == EINTR ? 0 : err;
    }

private:
    int m_fd;
};

Error writeFailure(const QString &path, int err)
{
    return Error::file(err == ENOENT ? Error::PathNotFound : Error::PathFileAccess,
                       QT_TRANSLATE_NOOP("Error", "Cannot write \"%1\": %2"), path,
                       systemReason(err));
}

Error writeRefused(const QString &path, const QString &reason)
{
    return Error::file(Error::PathFileAccess, QT_TRANSLATE_NOOP("Error", "Cannot write \"%1\": %2"),
                       path, reason);
}

QString kindOf(mode_t mode)
{
    const char *kind = S_ISDIR(mode)    ? QT_TRANSLATE_NOOP("Files", "a folder")
                       : S_ISFIFO(mode) ? QT_TRANSLATE_NOOP("Files", "a named pipe")
                       : S_ISSOCK(mode) ? QT_TRANSLATE_NOOP("Files", "a socket")
                       : S_ISCHR(mode) || S_ISBLK(mode)
                           ? QT_TRANSLATE_NOOP("Files", "a device")
                           : QT_TRANSLATE_NOOP("Files", "no ordinary file");
    return QCoreApplication::translate("Files", "it is %1, not a file")
        .arg(QCoreApplication::translate("Files", kind));
}

// Where a file goes: its folder, held open, and its name in that folder.
struct Place
{
    Descriptor folder;
    QByteArray name;
};

// Why a link may not be followed, or nothing: in a sticky folder every user may write to
// (such as /tmp), the system follows a link only for its owner or the folder's, so that
// nobody can plant one there for someone else to write through.
QString plantedBecause(int folder, const struct stat &link, const QString &linkPath,
                       const QString &folderPath)
{
    struct stat st;
    if (::fstat(folder, &st) != 0)
        return systemReason(errno);
    const bool openToAll = (st.st_mode & S_ISVTX) && (st.st_mode & S_IWOTH);
    if (!openToAll || link.st_uid == ::geteuid() || link.st_uid == st.st_uid)
        return {};
    const passwd *owner = ::getpwuid(link.st_uid);
    return QCoreApplication::translate(
               "CommandOutput", "\"%1\" is a link that the user %2 made in \"%3\", a folder "
                                "every user may write to; Vellox, as the system, follows such "
                                "a link only for its owner or the folder's")
        .arg(QDir::toNativeSeparators(linkPath),
             owner ? QString::fromLocal8Bit(owner->pw_name) : QString::number(link.st_uid),
             QDir::toNativeSeparators(folderPath.isEmpty() ? QStringLiteral("/") : folderPath));
}

// Walks `path` one name at a time, each looked up in the folder descriptor reached so far,
// so that nothing can be swapped between a look and a use. Links on the way are followed
// where the planted-link rule allows, read from the link that was opened itself; a link
// at the end is followed only for `FollowLink`.
Place placeOf(const QString &path, AtLink atLink)
{
    const QByteArray encoded = QFile::encodeName(path);
    const bool absolute = encoded.startsWith('/');
    Place place{Descriptor(::open(absolute ? "/" : ".", O_PATH | O_DIRECTORY | O_CLOEXEC)), {}};
    if (!place.folder)
        throw writeFailure(path, errno);
    QString reached = absolute ? QString() : QDir::currentPath(); // for messages only
    QList<QByteArray> ahead = encoded.split('/');
    for (int hops = 0;;) {
        const QByteArray name = ahead.takeFirst();
        const bool last = ahead.isEmpty();
        if (last && (name.isEmpty() || name == "." || name == ".."))
            throw writeRefused(path, kindOf(S_IFDIR));
        if (name.isEmpty() || name == ".")
            continue;
        if (name == "..") {
            place.folder.reset(
                ::openat(place.folder.get(), "..", O_PATH | O_DIRECTORY | O_CLOEXEC));
            if (!place.folder)
                throw writeFailure(path, errno);
            reached = reached.section(u'/', 0, -2);
            continue;
        }
        if (last && atLink == AtLink::ReplaceLink) {
            place.name = name;
            return place;
        }
        Descriptor next(
            ::openat(place.folder.get(), name.constData(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
        if (!next && last && errno == ENOENT) {
            place.name = name;
            return place;
        }
        struct stat st;
        if (!next || ::fstat(next.get(), &st) != 0)
            throw writeFailure(path, errno);
        const QString nextPath = reached + u'/' + QFile::decodeName(name);
        if (S_ISLNK(st.st_mode)) {
            if (++hops > 40)
                throw writeFailure(path, ELOOP);
            if (const QString why = plantedBecause(place.folder.get(), st, nextPath, reached);
                !why.isEmpty())
                throw writeRefused(path, why);
            QByteArray target(PATH_MAX, '\0');
            const ssize_t n = ::readlinkat(next.get(), "", target.data(), size_t(target.size()));
            if (n <= 0 || n >= target.size())
                throw writeFailure(path, n < 0 ? errno : ENAMETOOLONG);
            target.truncate(n);
            if (target.startsWith('/')) {
                place.folder.reset(::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC));
                reached.clear();
            }
            ahead = target.split('/') + ahead;
            continue;
        }
        if (last) {
            place.name = name;
            return place;
        }
        if (!S_ISDIR(st.st_mode))
            throw writeFailure(path, ENOTDIR);
        place.folder = std::move(next);
        reached = nextPath;
    }
}

// Every byte to a descriptor at its current position; 0 or the system's reason.
int putAll(int fd, const char *data, qsizetype size)
{
    for (qsizetype done = 0; done < size;) {
        const ssize_t n = ::write(fd, data + done, size_t(size - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : ENOSPC;
        done += n;
    }
    return 0;
}

// Gathers what the producer hands over in pieces (a bitmap comes a scanline at a time)
// into large writes; whatever is left is written by finish().
class BatchingSink
{
public:
    BatchingSink(int fd, const QString &path) : m_fd(fd), m_path(path)
    {
        m_batch.reserve(Capacity);
    }
    ByteSink sink()
    {
        return [this](const char *data, qsizetype size) {
            if (m_batch.size() + size > Capacity)
                finish();
            if (size >= Capacity)
                write(data, size);
            else
                m_batch.append(data, size);
        };
    }
    void finish()
    {
        write(m_batch.constData(), m_batch.size());
        m_batch.clear();
    }

private:
    void write(const char *data, qsizetype size)
    {
        if (const int err = putAll(m_fd, data, size); err != 0)
            throw writeFailure(m_path, err);
    }
    static constexpr qsizetype Capacity = 64 * 1024;
    int m_fd;
    const QString &m_path;
    QByteArray m_batch;
};

// The whole content of an open file, read from its start.
QByteArray readAllFrom(int fd, const QString &path)
{
    QByteArray bytes;
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t n = ::pread(fd, buffer, sizeof buffer, bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw Error::file(Error::PathFileAccess,
                              QT_TRANSLATE_NOOP("Error", "Cannot keep a copy of \"%1\": %2"), path,
                              systemReason(errno));
        if (n == 0)
            return bytes;
        bytes.append(buffer, n);
    }
}

// `bytes` over the content of an open file, which ends where they end, on the disk. Each
// change is announced to `kept` before it is made and reported once it is, so that the
// copy's record can later prove what the file was last touched by.
// Returns 0 or the system's reason for failing.
int rewriteOpenFile(int fd, const QByteArray &bytes, const KeptEarlier &kept)
{
    const auto step = [&](const auto &change) {
        if (kept.changing)
            kept.changing();
        const int err = change();
        struct stat st;
        if (kept.changed && ::fstat(fd, &st) == 0)
            kept.changed(qint64(st.st_ctim.tv_sec) * 1'000'000'000 + st.st_ctim.tv_nsec,
                         qint64(st.st_size));
        return err;
    };
    // The room is reserved first, so that a full disk still leaves the old content whole.
    if (const int err =
            step([&] { return ::posix_fallocate(fd, 0, qMax<off_t>(bytes.size(), 1)); });
        err != 0 && err != EOPNOTSUPP && err != EINVAL)
        return err;
    for (qsizetype done = 0; done < bytes.size();) {
        ssize_t n = 0;
        const int err = step([&] {
            n = ::pwrite(fd, bytes.constData() + done, size_t(bytes.size() - done), done);
            return n < 0 ? errno : 0;
        });
        if (n < 0 && err == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? err : ENOSPC;
        done += n;
    }
    if (step([&] { return ::ftruncate(fd, bytes.size()) != 0 ? errno : 0; }) != 0 ||
        ::fsync(fd) != 0)
        return errno;
    return 0;
}

// Rewrites an existing file where it stands, for a folder that holds no file of ours,
// through a descriptor opened in the folder already held, and only when it is still the
// file that was looked at. The old content is first kept in the user's cache folder, so
// that no moment of the rewrite can cost it; it is removed again once the new content is
// on the disk.
void writeInPlace(int folder, const QByteArray &name, const struct stat &looked,
                  const QString &path, const std::function<void(const ByteSink &)> &produce)
{
    QByteArray bytes;
    produce([&bytes](const char *data, qsizetype size) { bytes.append(data, size); });
    if (!keeper().keep)
        throw writeRefused(path,
                           QCoreApplication::translate(
                               "Files", "its folder may not be written to, and no copy of "
                                        "its content can be kept while it is rewritten there"));
    Descriptor fd(::openat(folder, name.constData(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat st;
    if (!fd || ::fstat(fd.get(), &st) != 0)
        throw writeFailure(path, errno);
    if (!S_ISREG(st.st_mode))
        throw writeRefused(path, kindOf(st.st_mode));
    if (st.st_dev != looked.st_dev || st.st_ino != looked.st_ino)
        throw writeRefused(path, QCoreApplication::translate(
                                     "Files", "another file was put in its place while Vellox "
                                              "wrote it"));
    const QByteArray earlier = readAllFrom(fd.get(), path);
    if (earlier == bytes)
        return;
    const KeptEarlier kept = keeper().keep(
        path,
        {qint64(st.st_dev), qint64(st.st_ino),
         qint64(st.st_ctim.tv_sec) * 1'000'000'000 + st.st_ctim.tv_nsec, qint64(st.st_size)},
        earlier, bytes);
    if (const int err = rewriteOpenFile(fd.get(), bytes, kept); err != 0) {
        // The old content goes back where it can; where it cannot, the copy stays.
        const bool restored = rewriteOpenFile(fd.get(), earlier, {}) == 0;
        fd.reset();
        if (restored) {
            kept.release();
            throw writeFailure(path, err);
        }
        throw writeRefused(
            path, QCoreApplication::translate("Files", "%1; its earlier content is kept in \"%2\"")
                      .arg(systemReason(err), QDir::toNativeSeparators(kept.copy)));
    }
    if (const int err = fd.close(); err != 0)
        throw writeFailure(path, err);
    kept.release();
}

// A name for a new file beside `name` that no one uses yet.
QByteArray temporaryName(const QByteArray &name)
{
    return '.' + name.left(64) + ".vellox-" +
           QByteArray::number(QRandomGenerator::system()->generate64(), 36);
}

void putOnDisk(const QString &path, Durability durability, AtLink atLink, Readers readers,
               const std::function<void(const ByteSink &)> &produce)
{
    Place place = placeOf(path, atLink);
    // Readable, the folder can be synced; one that is not is written all the same.
    if (Descriptor readable(::openat(place.folder.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        readable)
        place.folder = std::move(readable);
    const int folder = place.folder.get();
    const QByteArray &name = place.name;
    // What stands there now, looked at through a descriptor of its own: O_PATH opens
    // nothing, so a pipe cannot block and a device is not woken.
    struct stat existing
    {
    };
    bool exists = false;
    if (Descriptor at(::openat(folder, name.constData(), O_PATH | O_NOFOLLOW | O_CLOEXEC)); at) {
        if (::fstat(at.get(), &existing) != 0)
            throw writeFailure(path, errno);
        exists = true;
    } else if (errno != ENOENT) {
        throw writeFailure(path, errno);
    }
    // A link here is replaced, never written through: either the caller asked for that,
    // or the link was put in place after the way to the file was walked.
    if (exists && !S_ISREG(existing.st_mode) && !S_ISLNK(existing.st_mode))
        throw writeRefused(path, kindOf(existing.st_mode));
    const bool replacing = exists && S_ISREG(existing.st_mode);
    Descriptor out;
    QByteArray temporary;
    for (int tries = 0; tries < 16 && !out; ++tries) {
        temporary = temporaryName(name);
        out.reset(::openat(folder, temporary.constData(),
                           O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                           readers == Readers::OwnerOnly ? 0600 : 0666));
        if (!out && errno != EEXIST)
            break;
    }
    if (!out) {
        const int err = errno;
        if ((err == EACCES || err == EPERM) && replacing && durability == Durability::Atomic) {
            writeInPlace(folder, name, existing, path, produce);
            return;
        }
        throw writeFailure(path, err);
    }
    try {
        // The file the user had keeps its permissions, as with any editor's save.
        if (replacing && readers == Readers::AsUsual)
            ::fchmod(out.get(), existing.st_mode & 07777);
        BatchingSink batching(out.get(), path);
        produce(batching.sink());
        batching.finish();
        if (durability == Durability::Atomic && ::fsync(out.get()) != 0)
            throw writeFailure(path, errno);
        if (const int err = out.close(); err != 0)
            throw writeFailure(path, err);
        if (::renameat(folder, temporary.constData(), folder, name.constData()) != 0)
            throw writeFailure(path, errno);
    } catch (...) {
        out.reset();
        ::unlinkat(folder, temporary.constData(), 0);
        throw;
    }
    if (durability == Durability::Atomic)
        ::fsync(folder);
}

// Which characters of `lines` 8-bit text cannot hold, each once, in order.
QList<char32_t> unstorable8bit(const QStringList &lines)
{
    QList<char32_t> found;
    for (const QString &line : lines) {
        for (char32_t c : line.toUcs4()) {
            if (c > 0xFF && !found.contains(c))
                found << c;
        }
    }
    return found;
}

} // namespace

bool fileExists(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.isFile() && !info.isHidden();
}

void deleteFile(const QString &path)
{
    QFile file(path);
    if (!file.remove())
        throw Error::file(Error::PathFileAccess,
                          QT_TRANSLATE_NOOP("Error", "Cannot delete \"%1\": %2"), path,
                          file.errorString());
}

void deleteIfPresent(const QString &path, const std::function<void(const Error &)> &report)
{
    if (!fileExists(path))
        return;
    try {
        deleteFile(path);
    } catch (const Error &e) {
        report(e);
    }
}

void createFolder(const QString &path)
{
    if (::mkdir(QFile::encodeName(path).constData(), 0777) != 0) {
        const int err = errno;
        throw Error::file(err == ENOENT ? Error::PathNotFound : Error::PathFileAccess,
                          QT_TRANSLATE_NOOP("Error", "Cannot create the folder \"%1\": %2"), path,
                          systemReason(err));
    }
}

void setEarlierContentKeeper(EarlierContentKeeper kept)
{
    keeper() = std::move(kept);
}

void writeFile(const QString &path, Durability durability, AtLink atLink,
               const std::function<void(const ByteSink &)> &produce, Readers readers)
{
    timespec began{};
    ::clock_gettime(CLOCK_REALTIME, &began);
    putOnDisk(path, durability, atLink, readers, produce);
    if (keeper().written)
        keeper().written(path, qint64(began.tv_sec) * 1'000'000'000 + began.tv_nsec);
}

QByteArray readSmallFile(const QString &path, qint64 maxBytes)
{
    // Opened without blocking: a pipe or a device under the name must not hang us.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        throw Error::file(err == ENOENT ? Error::FileNotFound : Error::PathFileAccess,
                          QT_TRANSLATE_NOOP("Error", "Cannot read \"%1\": %2"), path,
                          systemReason(err));
    }
    QFile file;
    file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    struct stat st;
    if (::fstat(fd, &st) != 0)
        throw Error::file(Error::PathFileAccess,
                          QT_TRANSLATE_NOOP("Error", "Cannot read \"%1\": %2"), path,
                          systemReason(errno));
    if (S_ISDIR(st.st_mode))
        throw Error::file(Error::PathFileAccess,
                          QT_TRANSLATE_NOOP("Error", "Cannot read \"%1\": %2"), path,
                          QCoreApplication::translate("Files", "it is a folder"));
    if (!S_ISREG(st.st_mode))
        throw Error::file(Error::PathFileAccess,
                          QT_TRANSLATE_NOOP("Error", "Cannot read \"%1\": %2"), path,
                          QCoreApplication::translate("Files", "it is not an ordinary file"));
    if (st.st_size > maxBytes)
        throw Error::file(
            Error::PathFileAccess, QT_TRANSLATE_NOOP("Error", "Cannot read \"%1\": %2"), path,
            QCoreApplication::translate("Files", "the file is %1; Vellox reads files of up to %2")
                .arg(exactSize(st.st_size), exactSize(maxBytes)));
    // The file may grow while it is read; what lies beyond the limit is not ours to read.
    QByteArray bytes(qsizetype(st.st_size), Qt::Uninitialized);
    qint64 total = 0;
    for (;;) {
        if (total == bytes.size() && total < maxBytes)
            bytes.resize(qsizetype(qMin<qint64>(maxBytes, total + 64 * 1024)));
        const qint64 n = file.read(bytes.data() + total, bytes.size() - total);
        if (n < 0)
            throw Error::file(Error::PathFileAccess,
                              QT_TRANSLATE_NOOP("Error", "Cannot read \"%1\": %2"), path,
                              file.errorString());
        if (n == 0)
            break;
        total += n;
    }
    bytes.truncate(qsizetype(total));
    return bytes;
}

QByteArray encodeLines8bit(const QStringList &lines)
{
    if (const QList<char32_t> bad = unstorable8bit(lines); !bad.isEmpty()) {
        QStringList quoted;
        for (char32_t c : bad)
            // Quoted as the language quotes.
            quoted << QCoreApplication::translate("Files", "\"%1\"").arg(QString::fromUcs4(&c, 1));
        throw Error(
            Error::PathFileAccess,
            (bad.size() > 1
                 ? QCoreApplication::translate("Files", "8-bit text cannot hold the characters %1")
                 : QCoreApplication::translate("Files", "8-bit text cannot hold the character %1"))
                .arg(quoted.join(QStringLiteral(", "))));
    }
    QByteArray bytes;
    for (const QString &line : lines) {
        bytes += line.toLatin1();
        bytes += "\r\n";
    }
    return bytes;
}

void writeLines8bit(const QString &path, const QStringList &lines, AtLink atLink, Readers readers)
{
    QByteArray bytes;
    try {
        bytes = encodeLines8bit(lines);
    } catch (const Error &e) {
        throw Error::file(e.code(), QT_TRANSLATE_NOOP("Error", "Cannot write \"%1\": %2"), path,
                          e.description());
    }
    writeFile(
        path, Durability::Atomic, atLink,
        [&bytes](const ByteSink &sink) { sink(bytes.constData(), bytes.size()); }, readers);
}

void writeAll(int fd, const QByteArray &bytes, const QString &path)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throw Error::file(Error::PathFileAccess,
                              QT_TRANSLATE_NOOP("Error", "Cannot write \"%1\": %2"), path,
                              systemReason(n < 0 ? errno : ENOSPC));
        done += n;
    }
}

QString notAFileReason(const QString &path)
{
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || S_ISREG(st.st_mode))
        return {};
    return kindOf(st.st_mode);
}

bool sameFile(const QString &a, const QString &b)
{
    struct stat sa, sb;
    return ::stat(QFile::encodeName(a).constData(), &sa) == 0 &&
           ::stat(QFile::encodeName(b).constData(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

std::optional<FileIdentity> identityAt(const QString &path)
{
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return std::nullopt;
    return FileIdentity{qint64(st.st_dev), qint64(st.st_ino),
                        qint64(st.st_ctim.tv_sec) * 1'000'000'000 + st.st_ctim.tv_nsec,
                        qint64(st.st_size)};
}

QString exactSize(qint64 bytes)
{
    // Exact: at a limit, "1.0 MB" against "1.0 MB" tells nothing.
    return QCoreApplication::translate("Files", "%1 bytes")
        .arg(QLocale(QLocale::English).toString(bytes));
}
