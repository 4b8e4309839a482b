// Writing files whole: a new file renamed over the old one, or, where the folder forbids
// that, the old one rewritten in place with its content kept elsewhere first.

#include "platform/Files.h"

#include "platform/PathWalk.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace PathWalk;

namespace {

EarlierContentKeeper &keeper()
{
    static EarlierContentKeeper kept;
    return kept;
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

} // namespace

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
