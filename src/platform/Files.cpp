#include "platform/Files.h"

#include "platform/Error.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

EarlierContentKeeper &keeper()
{
    static EarlierContentKeeper kept;
    return kept;
}

// Qt's own text when it has one. After a write cut short it has none ("Unknown
// error"), while the system's reason for the failed call is still at hand.
QString writeReason(const QFileDevice &file, int err)
{
    const QString reason = file.errorString();
    if (!reason.isEmpty() && reason != QLatin1String("Unknown error"))
        return reason;
    if (err != 0)
        return systemReason(err);
    return QCoreApplication::translate(
        "Files", "the file could not be written to its end (the disk may be full)");
}

Error writeError(const QFileDevice &file, const QString &path)
{
    const int err = errno;
    return Error::file(Error::PathFileAccess, QT_TRANSLATE_NOOP("Error", "Cannot write \"%1\": %2"),
                       path, writeReason(file, err));
}

void writeChecked(QFileDevice &file, const QString &path, const char *data, qsizetype size)
{
    errno = 0;
    if (file.write(data, size) != size)
        throw writeError(file, path);
}

// Gathers what the producer hands over in pieces (a bitmap comes a scanline at a time)
// into large writes; whatever is left is written by finish().
class BatchingSink
{
public:
    BatchingSink(QFileDevice &file, const QString &path) : m_file(file), m_path(path)
    {
        m_batch.reserve(Capacity);
    }
    ByteSink sink()
    {
        return [this](const char *data, qsizetype size) {
            if (m_batch.size() + size > Capacity)
                finish();
            if (size >= Capacity)
                writeChecked(m_file, m_path, data, size);
            else
                m_batch.append(data, size);
        };
    }
    void finish()
    {
        writeChecked(m_file, m_path, m_batch.constData(), m_batch.size());
        m_batch.clear();
    }

private:
    static constexpr qsizetype Capacity = 64 * 1024;
    QFileDevice &m_file;
    const QString &m_path;
    QByteArray m_batch;
};

// Runs the producer into the file and checks that every byte reached the system.
void produceInto(QFileDevice &file, const QString &path,
                 const std::function<void(const ByteSink &)> &produce)
{
    BatchingSink batching(file, path);
    produce(batching.sink());
    batching.finish();
    errno = 0;
    if (!file.flush())
        throw writeError(file, path);
}

void writeScratch(const QString &path, const std::function<void(const ByteSink &)> &produce)
{
    // O_NOFOLLOW: a link put in place since the caller removed one is refused, not followed.
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        const int err = errno;
        throw Error::file(err == ENOENT ? Error::PathNotFound : Error::PathFileAccess,
                          QT_TRANSLATE_NOOP("Error", "Cannot write \"%1\": %2"), path,
                          systemReason(err));
    }
    QFile file;
    file.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle);
    try {
        produceInto(file, path, produce);
    } catch (const Error &) {
        file.close();
        QFile::remove(path);
        throw;
    }
}

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

// `bytes` over the content of an open file, which ends where they end, on the disk.
// Returns 0 or the system's reason for failing.
int rewriteOpenFile(int fd, const QByteArray &bytes)
{
    // The room is reserved first, so that a full disk still leaves the old content whole.
    if (const int err = ::posix_fallocate(fd, 0, qMax<off_t>(bytes.size(), 1));
        err != 0 && err != EOPNOTSUPP && err != EINVAL)
        return err;
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::pwrite(fd, bytes.constData() + done, size_t(bytes.size() - done), done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : ENOSPC;
        done += n;
    }
    if (::ftruncate(fd, bytes.size()) != 0 || ::fsync(fd) != 0)
        return errno;
    return 0;
}

// Rewrites an existing file where it stands, for a folder that holds no file of ours.
// The old content is first kept in the user's cache folder, so that no moment of the
// rewrite can cost it; it is removed again once the new content is on the disk.
void writeInPlace(const QString &path, const std::function<void(const ByteSink &)> &produce)
{
    QByteArray bytes;
    produce([&bytes](const char *data, qsizetype size) { bytes.append(data, size); });
    if (!keeper().keep)
        throw Error::file(Error::PathFileAccess,
                          QT_TRANSLATE_NOOP("Error", "Cannot write \"%1\": %2"), path,
                          QCoreApplication::translate(
                              "Files", "its folder may not be written to, and no copy of its "
                                       "content can be kept while it is rewritten there"));
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        throw Error::file(Error::PathFileAccess,
                          QT_TRANSLATE_NOOP("Error", "Cannot write \"%1\": %2"), path,
                          systemReason(errno));
    KeptEarlier kept;
    QByteArray earlier;
    try {
        earlier = readAllFrom(fd, path);
        if (earlier != bytes)
            kept = keeper().keep(path, earlier, bytes);
    } catch (const Error &) {
        ::close(fd);
        throw;
    }
    if (!kept.release) {
        ::close(fd);
        return;
    }
    if (const int err = rewriteOpenFile(fd, bytes); err != 0) {
        // The old content goes back where it can; where it cannot, the copy stays.
        const bool restored = rewriteOpenFile(fd, earlier) == 0;
        ::close(fd);
        if (restored) {
            kept.release();
            throw Error::file(Error::PathFileAccess,
                              QT_TRANSLATE_NOOP("Error", "Cannot write \"%1\": %2"), path,
                              systemReason(err));
        }
        throw Error::file(
            Error::PathFileAccess, QT_TRANSLATE_NOOP("Error", "Cannot write \"%1\": %2"), path,
            QCoreApplication::translate("Files", "%1; its earlier content is kept in \"%2\"")
                .arg(systemReason(err), QDir::toNativeSeparators(kept.copy)));
    }
    if (::close(fd) != 0)
        throw Error::file(Error::PathFileAccess,
                          QT_TRANSLATE_NOOP("Error", "Cannot write \"%1\": %2"), path,
                          systemReason(errno));
    kept.release();
}

void putOnDisk(const QString &path, Durability durability, AtLink atLink,
               const std::function<void(const ByteSink &)> &produce)
{
    if (atLink == AtLink::ReplaceLink)
        removeLink(path);
    if (durability == Durability::Scratch) {
        writeScratch(path, produce);
        return;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        const QFileInfo target(path);
        if (target.isFile() && target.isWritable() && !QFileInfo(target.path()).isWritable()) {
            writeInPlace(path, produce);
            return;
        }
        throw Error::file(
            QFileInfo(path).dir().exists() ? Error::PathFileAccess : Error::PathNotFound,
            QT_TRANSLATE_NOOP("Error", "Cannot write \"%1\": %2"), path, file.errorString());
    }
    // commit() alone lets a failed last flush pass as success and leaves an empty file.
    produceInto(file, path, produce);
    if (!file.commit())
        throw writeError(file, path);
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

void removeLink(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat st;
    if (::lstat(name.constData(), &st) == 0 && S_ISLNK(st.st_mode) &&
        ::unlink(name.constData()) != 0)
        throw Error::file(Error::PathFileAccess,
                          QT_TRANSLATE_NOOP("Error", "Cannot replace the link \"%1\": %2"), path,
                          systemReason(errno));
}

void setEarlierContentKeeper(EarlierContentKeeper kept)
{
    keeper() = std::move(kept);
}

void writeFile(const QString &path, Durability durability, AtLink atLink,
               const std::function<void(const ByteSink &)> &produce)
{
    timespec began{};
    ::clock_gettime(CLOCK_REALTIME, &began);
    putOnDisk(path, durability, atLink, produce);
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

void writeLines8bit(const QString &path, const QStringList &lines, AtLink atLink)
{
    QByteArray bytes;
    try {
        bytes = encodeLines8bit(lines);
    } catch (const Error &e) {
        throw Error::file(e.code(), QT_TRANSLATE_NOOP("Error", "Cannot write \"%1\": %2"), path,
                          e.description());
    }
    writeFile(path, Durability::Atomic, atLink,
              [&bytes](const ByteSink &sink) { sink(bytes.constData(), bytes.size()); });
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
    const char *kind = S_ISDIR(st.st_mode)    ? QT_TRANSLATE_NOOP("Files", "a folder")
                       : S_ISFIFO(st.st_mode) ? QT_TRANSLATE_NOOP("Files", "a named pipe")
                       : S_ISSOCK(st.st_mode) ? QT_TRANSLATE_NOOP("Files", "a socket")
                       : S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode)
                           ? QT_TRANSLATE_NOOP("Files", "a device")
                           : QT_TRANSLATE_NOOP("Files", "no ordinary file");
    return QCoreApplication::translate("Files", "it is %1, not a file")
        .arg(QCoreApplication::translate("Files", kind));
}

bool sameFile(const QString &a, const QString &b)
{
    struct stat sa, sb;
    return ::stat(QFile::encodeName(a).constData(), &sa) == 0 &&
           ::stat(QFile::encodeName(b).constData(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

QString exactSize(qint64 bytes)
{
    // Exact: at a limit, "1.0 MB" against "1.0 MB" tells nothing.
    return QCoreApplication::translate("Files", "%1 bytes")
        .arg(QLocale(QLocale::English).toString(bytes));
}
