#include "platform/Files.h"

#include "platform/Error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace {

// Feeds bytes through the line rule; the caller flushes at the end.
class LineSplitter
{
public:
    explicit LineSplitter(const std::function<void(const QString &)> &onLine) : m_onLine(onLine) {}

    void feed(const char *data, qsizetype size)
    {
        qsizetype pos = 0;
        if (m_afterCr && size > 0) {
            m_afterCr = false;
            if (data[0] == '\n')
                pos = 1;
        }
        while (pos < size) {
            const void *cr = std::memchr(data + pos, '\r', static_cast<size_t>(size - pos));
            if (!cr) {
                m_line.append(data + pos, size - pos);
                return;
            }
            const qsizetype at = static_cast<const char *>(cr) - data;
            m_line.append(data + pos, at - pos);
            emitLine();
            pos = at + 1;
            if (pos == size) {
                m_afterCr = true;
            } else if (data[pos] == '\n') {
                ++pos;
            }
        }
    }

    void finish()
    {
        if (!m_line.isEmpty())
            emitLine();
    }

private:
    void emitLine()
    {
        m_onLine(QString::fromLatin1(m_line));
        m_line.clear();
    }

    const std::function<void(const QString &)> &m_onLine;
    QByteArray m_line;
    bool m_afterCr = false;
};

} // namespace

bool FileExists(const QString &TheFileName)
{
    if (TheFileName.isEmpty())
        return false;
    const QFileInfo info(TheFileName);
    return info.isFile() && !info.isHidden();
}

void deleteFile(const QString &path)
{
    QFile file(path);
    if (!file.remove())
        throw Error::file(Error::PathFileAccess, "delete", path, file.errorString());
}

void createFolder(const QString &path)
{
    if (::mkdir(QFile::encodeName(path).constData(), 0777) != 0) {
        const int err = errno;
        throw Error::file(err == ENOENT ? Error::PathNotFound : Error::PathFileAccess,
                          "create the folder", path, QString::fromLocal8Bit(std::strerror(err)));
    }
}

void readLines8bit(const QString &path, const std::function<void(const QString &)> &onLine)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        const auto code = file.exists() ? Error::PathFileAccess : Error::FileNotFound;
        throw Error::file(code, "read", path, file.errorString());
    }
    LineSplitter splitter(onLine);
    char buffer[64 * 1024];
    for (;;) {
        const qint64 n = file.read(buffer, sizeof buffer);
        if (n < 0)
            throw Error::file(Error::PathFileAccess, "read", path, file.errorString());
        if (n == 0)
            break;
        splitter.feed(buffer, n);
    }
    splitter.finish();
}

QStringList splitLines8bit(const QByteArray &bytes)
{
    QStringList lines;
    const std::function<void(const QString &)> collect = [&](const QString &l) { lines << l; };
    LineSplitter splitter(collect);
    splitter.feed(bytes.constData(), bytes.size());
    splitter.finish();
    return lines;
}

QByteArray encodeLines8bit(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines) {
        bytes += line.toLatin1();
        bytes += "\r\n";
    }
    return bytes;
}

void writeLines8bit(const QString &path, const QStringList &lines)
{
    const QByteArray bytes = encodeLines8bit(lines);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw Error::file(QFileInfo(path).dir().exists() ? Error::PathFileAccess
                                                         : Error::PathNotFound,
                          "write", path, file.errorString());
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw Error::file(Error::PathFileAccess, "write", path, file.errorString());
}
