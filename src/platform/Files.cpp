#include "platform/Files.h"

#include "platform/Error.h"
#include "platform/PathWalk.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

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

QString notAFileReason(const QString &path)
{
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || S_ISREG(st.st_mode))
        return {};
    return PathWalk::kindOf(st.st_mode);
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
