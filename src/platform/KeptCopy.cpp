#include "platform/KeptCopy.h"

#include "platform/Error.h"
#include "platform/Files.h"

#include <algorithm>

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStandardPaths>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QLatin1StringView RecordSuffix(".record");
// A record the user answered: its copy stays where they were told it is, offered no more.
const QLatin1StringView ForgottenSuffix(".forgotten");
const QLatin1StringView NextSuffix(".next");
// A record larger than this was not written by us.
constexpr qint64 LargestRecord = 64 * 1024;
// Kept copies are of files the program writes; none is larger.
constexpr qint64 LargestCopy = qint64(1) << 31;

QByteArray digest(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

QString cacheFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
           QStringLiteral("/vellox");
}

// Why `folder` may not hold copies of the user's files, or nothing when it may: it must
// be a real folder of the user's own that nobody else may enter.
QString unsafeBecause(const QString &folder)
{
    struct stat st;
    if (::lstat(QFile::encodeName(folder).constData(), &st) != 0)
        return systemReason(errno);
    if (!S_ISDIR(st.st_mode))
        return QCoreApplication::translate("KeptCopy", "it is not a folder");
    if (st.st_uid != ::geteuid())
        return QCoreApplication::translate("KeptCopy", "it belongs to another user");
    if ((st.st_mode & 077) != 0)
        return QCoreApplication::translate("KeptCopy", "other users may open it (mode %1)")
            .arg(st.st_mode & 07777, 4, 8, QLatin1Char('0'));
    return {};
}

// The cache folder, made for the user alone where it is missing. Throws Error.
QString preparedFolder(const QString &file)
{
    const QString folder = cacheFolder();
    QDir().mkpath(QFileInfo(folder).path());
    if (::mkdir(QFile::encodeName(folder).constData(), 0700) != 0 && errno != EEXIST)
        throw Error::file(
            Error::PathFileAccess, QT_TRANSLATE_NOOP("Error", "Cannot keep a copy of \"%1\": %2"),
            file,
            QCoreApplication::translate("KeptCopy", "the folder \"%1\" cannot be made: %2")
                .arg(QDir::toNativeSeparators(folder), systemReason(errno)));
    if (const QString why = unsafeBecause(folder); !why.isEmpty())
        throw Error::file(
            Error::PathFileAccess, QT_TRANSLATE_NOOP("Error", "Cannot keep a copy of \"%1\": %2"),
            file,
            QCoreApplication::translate("KeptCopy", "the folder \"%1\" cannot hold it: %2")
                .arg(QDir::toNativeSeparators(folder), why));
    return folder;
}

void writeWhole(const QString &path, const QByteArray &bytes)
{
    writeFile(path, Durability::Atomic, AtLink::ReplaceLink,
              [&bytes](const ByteSink &sink) { sink(bytes.constData(), bytes.size()); });
}

// The new names must be on the disk too, not only the bytes they name.
void syncFolder(const QString &folder)
{
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// The part of a kept file's name that ties a copy to its record.
// Whether `now` is what a rewrite in place of `earlier` by `next` leaves when it is cut
// short: the new content's first bytes over the earlier content, which the room reserved
// for the longer of the two extends with zeros. Anything else was written by another hand.
bool cutShort(const QByteArray &now, const QByteArray &earlier, const QByteArray &next)
{
    if (now.size() < earlier.size() || now.size() > std::max(earlier.size(), next.size()))
        return false;
    qsizetype written = 0;
    while (written < next.size() && written < now.size() && now[written] == next[written])
        ++written;
    const QByteArray room = earlier + QByteArray(now.size() - earlier.size(), '\0');
    return now.mid(written) == room.mid(written);
}

QString idOf(const QString &name)
{
    return name.section(QLatin1Char('-'), 0, 0).section(QLatin1Char('.'), 0, 0);
}

} // namespace

void KeptCopy::guardRewrites()
{
    setEarlierContentKeeper(
        {.keep =
             [](const QString &file, const QByteArray &earlier, const QByteArray &next) {
                 const KeptCopy kept = keep(file, earlier, next);
                 return KeptEarlier{kept.copy(), [kept] { kept.release(); }};
             },
         .written =
             [](const QString &file, qint64 began) {
                 const QString written = QFileInfo(file).absoluteFilePath();
                 for (const KeptCopy &kept : recorded()) {
                     struct stat st;
                     if (kept.m_file == written &&
                         ::stat(QFile::encodeName(kept.m_record).constData(), &st) == 0 &&
                         qint64(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec < began)
                         kept.release();
                 }
             }});
}

KeptCopy KeptCopy::keep(const QString &file, const QByteArray &earlier, const QByteArray &next)
{
    const QString folder = preparedFolder(file);
    const QString id = QString::number(QRandomGenerator::system()->generate64(), 16);
    KeptCopy kept;
    kept.m_file = QFileInfo(file).absoluteFilePath();
    // Named after the file, so that a user who looks in the folder knows it.
    kept.m_copy = folder + u'/' + id + u'-' + QFileInfo(file).fileName();
    kept.m_record = folder + u'/' + id + RecordSuffix;
    kept.m_nextDigest = digest(next);
    kept.m_nextSize = next.size();
    if (struct stat st; ::stat(QFile::encodeName(kept.m_file).constData(), &st) == 0) {
        kept.m_device = qint64(st.st_dev);
        kept.m_inode = qint64(st.st_ino);
    }
    kept.m_next = folder + u'/' + id + NextSuffix;
    writeWhole(kept.m_copy, earlier);
    writeWhole(kept.m_next, next);
    writeWhole(kept.m_record, QFile::encodeName(kept.m_file).toPercentEncoding() + '\n' +
                                  kept.m_nextDigest + '\n' + QByteArray::number(kept.m_device) +
                                  '\n' + QByteArray::number(kept.m_inode) + '\n' +
                                  QByteArray::number(kept.m_nextSize) + '\n');
    syncFolder(folder);
    return kept;
}

QList<KeptCopy> KeptCopy::recorded(QStringList *ids)
{
    const QString folder = cacheFolder();
    if (!unsafeBecause(folder).isEmpty())
        return {};
    const QDir dir(folder);
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Time);
    QList<KeptCopy> copies;
    for (const QString &name : names) {
        if (name.endsWith(ForgottenSuffix) && ids)
            *ids << idOf(name);
        if (!name.endsWith(RecordSuffix))
            continue;
        const QString id = idOf(name);
        KeptCopy kept;
        kept.m_record = dir.filePath(name);
        try {
            const QList<QByteArray> lines = readSmallFile(kept.m_record, LargestRecord).split('\n');
            if (lines.size() < 2)
                continue;
            kept.m_file = QFile::decodeName(QByteArray::fromPercentEncoding(lines[0]));
            kept.m_nextDigest = lines[1];
            if (lines.size() >= 5) {
                kept.m_device = lines[2].toLongLong();
                kept.m_inode = lines[3].toLongLong();
                kept.m_nextSize = lines[4].toLongLong();
            }
        } catch (const Error &) {
            continue;
        }
        for (const QString &other : names) {
            if (other.startsWith(id + u'-'))
                kept.m_copy = dir.filePath(other);
        }
        kept.m_next = dir.filePath(id + NextSuffix);
        if (kept.m_copy.isEmpty() || kept.m_file.isEmpty())
            continue;
        if (ids)
            *ids << id;
        copies.prepend(kept);
    }
    if (ids) {
        // A copy without a record was made for a rewrite that never began, or had ended;
        // one younger than a minute may belong to a rewrite that another run is beginning.
        const QDateTime now = QDateTime::currentDateTime();
        for (const QString &name : names) {
            const QFileInfo info(dir.filePath(name));
            if (!ids->contains(idOf(name)) && info.lastModified().secsTo(now) > 60)
                QFile::remove(info.filePath());
        }
    }
    return copies;
}

QList<KeptCopy> KeptCopy::found()
{
    QStringList ids;
    QList<KeptCopy> copies = recorded(&ids);
    copies.removeIf([](const KeptCopy &kept) {
        if (!kept.writtenSince())
            return false;
        kept.release();
        return true;
    });
    return copies;
}

bool KeptCopy::writtenSince() const
{
    struct stat now;
    if (::stat(QFile::encodeName(m_file).constData(), &now) != 0)
        return false;
    // The rewrite wrote into the file where it stood: another file in its place was put
    // there later.
    if (m_inode >= 0 && (qint64(now.st_dev) != m_device || qint64(now.st_ino) != m_inode))
        return true;
    // Cut short, it leaves the new content's first bytes over the earlier content's, the
    // room reserved for the longer of the two: any other size was written later.
    const qint64 earlierSize = QFileInfo(m_copy).size();
    if (m_nextSize >= 0 && (now.st_size < qMin(earlierSize, m_nextSize) ||
                            now.st_size > qMax(earlierSize, m_nextSize)))
        return true;
    // Within those sizes, only the content tells; a record of an earlier version kept no
    // new content to compare with.
    try {
        if (!QFileInfo::exists(m_next))
            return false;
        const QByteArray content = readSmallFile(m_file, LargestCopy);
        const QByteArray earlier = readSmallFile(m_copy, LargestCopy);
        const QByteArray next = readSmallFile(m_next, LargestCopy);
        return content != earlier && content != next && !cutShort(content, earlier, next);
    } catch (const Error &) {
        return false;
    }
}

KeptCopy::FileState KeptCopy::fileState() const
{
    if (!QFileInfo::exists(m_file))
        return FileState::Gone;
    try {
        const QByteArray now = readSmallFile(m_file, LargestCopy);
        if (now == readSmallFile(m_copy, LargestCopy))
            return FileState::Earlier;
        if (digest(now) == m_nextDigest)
            return FileState::New;
    } catch (const Error &) {
    }
    return FileState::Damaged;
}

void KeptCopy::putBack() const
{
    writeFile(m_file, Durability::Atomic, AtLink::FollowLink, [this](const ByteSink &sink) {
        const QByteArray bytes = readSmallFile(m_copy, LargestCopy);
        sink(bytes.constData(), bytes.size());
    });
    release();
}

void KeptCopy::forget() const
{
    QFile::remove(m_next);
    QFile::rename(m_record, m_record.chopped(RecordSuffix.size()) + ForgottenSuffix);
}

void KeptCopy::release() const
{
    QFile::remove(m_record);
    QFile::remove(m_next);
    QFile::remove(m_copy);
}
