#pragma once

#include "platform/Files.h"
#include "platform/ProgramDirectory.h"

#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QMap>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

inline QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// A file's bytes; nothing when it cannot be read.
inline QByteArray contentOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Which file stands at `path` now, as a rewrite in place records it.
inline FileIdentity identityOf(const QString &path)
{
    struct stat st = {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return {qint64(st.st_dev), qint64(st.st_ino),
            qint64(st.st_ctim.tv_sec) * 1'000'000'000 + st.st_ctim.tv_nsec, qint64(st.st_size)};
}

// Who may do what with the file at `path`: its permission bits, as `ls -l` shows them.
inline int modeOf(const QString &path)
{
    struct stat st = {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

// A picture of one colour, encoded in `format` ("BMP", "JPEG", "PNG").
inline QByteArray encodedPicture(QRgb colour, const char *format, QSize size = {96, 72})
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return encoded(image, format);
}

// Every entry below `root` with its content: a file's bytes, a link's target, a folder's
// "/", anything else (a pipe) unread. Equal snapshots mean nothing there was written,
// replaced or deleted.
inline QMap<QString, QByteArray> snapshot(const QString &root)
{
    QMap<QString, QByteArray> all;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        QFile f(info.filePath());
        all[QDir(root).relativeFilePath(info.filePath())] =
            info.isSymLink() ? "-> " + QFile::encodeName(info.symLinkTarget())
            : info.isDir()   ? QByteArray("/")
            : !info.isFile() ? QByteArray("?")
                             : (f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("?"));
    }
    return all;
}

// While it lives, no file of this process grows beyond `bytes`: writes fail as on a full
// disk, without needing a small file system or root.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN); // a failing write, not the end of the process
        getrlimit(RLIMIT_FSIZE, &m_old);
        const rlimit limit{bytes, m_old.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_old); }

private:
    rlimit m_old{};
};

// A temporary program directory holding the shipped factory skin.
class ProgramFolder
{
public:
    ProgramFolder() { write(QStringLiteral("default.ini"), factorySkin()); }
    static QByteArray factorySkin() { return contentOf(QStringLiteral(VELLOX_DEFAULT_INI)); }

    ProgramDirectory dir() const { return ProgramDirectory(m_dir.path()); }
    QString file(const QString &name) const { return m_dir.filePath(name); }
    bool exists(const QString &name) const { return QFileInfo::exists(file(name)); }
    QByteArray read(const QString &name) const { return contents().value(name); }
    void write(const QString &name, const QByteArray &bytes) const
    {
        QDir().mkpath(QFileInfo(file(name)).path());
        QFile f(file(name));
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(file(name)));
    }
    QMap<QString, QByteArray> contents() const { return snapshot(m_dir.path()); }
    // Every file and folder below, relative and sorted, hidden ones included.
    QStringList tree() const { return contents().keys(); }

private:
    QTemporaryDir m_dir;
};

// The factory skin with `from` replaced by `to`.
inline QByteArray factoryWith(const QByteArray &from, const QByteArray &to)
{
    return ProgramFolder::factorySkin().replace(from, to);
}
