#include "platform/KeptCopy.h"

#include "platform/Error.h"
#include "platform/Files.h"

#include <algorithm>
#include <array>
#include <ctime>
#include <memory>
#include <utility>

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
    writeFile(
        path, Durability::Atomic, AtLink::ReplaceLink,
        [&bytes](const ByteSink &sink) { sink(bytes.constData(), bytes.size()); },
        Readers::OwnerOnly);
}

// The record's last line tells how far the rewrite came, rewritten in place as it goes:
// the moment the change under way began, then the status-change time and size the last
// finished change left. Fixed widths, so that each update is one write at one place.
constexpr int NumberWidth = 20;
QByteArray progressLine(qint64 changing, qint64 changedAt, qint64 size)
{
    const auto field = [](qint64 n) {
        return QByteArray::number(n).rightJustified(NumberWidth, '0');
    };
    return field(changing) + ' ' + field(changedAt) + ' ' + field(size) + '\n';
}

// A change under way leaves the file's status-change time at most this long after it began
// (the kernel's clock for it runs a little behind, hence the margin before).
constexpr qint64 ChangeWindowNs = 1'000'000'000;
constexpr qint64 CoarseClockNs = 50'000'000;

qint64 nowNs()
{
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
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

KeptEarlier KeptCopy::keepWhileRewriting(const QString &file, const FileIdentity &identity,
                                         const QByteArray &earlier, const QByteArray &next)
{
    const KeptCopy kept = keep(file, identity, earlier, next);
    // The record stays open for the rewrite's progress; it lives in a folder of the user's
    // alone, so its name still leads to it.
    struct Progress
    {
        int record = -1;
        qint64 at = 0;
        qint64 changing = 0, changedAt = 0, size = 0;
        void put()
        {
            const QByteArray line = progressLine(changing, changedAt, size);
            if (record >= 0 &&
                ::pwrite(record, line.constData(), size_t(line.size()), at) != line.size()) {
                // The record then proves nothing, and the copy is shown rather than offered.
                ::close(std::exchange(record, -1));
            }
        }
        ~Progress()
        {
            if (record >= 0)
                ::close(record);
        }
    };
    const auto progress = std::make_shared<Progress>();
    progress->record =
        ::open(QFile::encodeName(kept.m_record).constData(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
    progress->at = kept.m_progressAt;
    progress->changedAt = identity.changedAt;
    progress->size = identity.size;
    return KeptEarlier{kept.copy(),
                       [kept, progress] {
                           if (progress->record >= 0)
                               ::close(std::exchange(progress->record, -1));
                           kept.release();
                       },
                       [progress] {
                           progress->changing = nowNs();
                           progress->put();
                       },
                       [progress](qint64 changedAt, qint64 size) {
                           progress->changing = 0;
                           progress->changedAt = changedAt;
                           progress->size = size;
                           progress->put();
                       }};
}

void KeptCopy::guardRewrites()
{
    setEarlierContentKeeper(
        {.keep =
             [](const QString &file, const FileIdentity &identity, const QByteArray &earlier,
                const QByteArray &next) {
                 return keepWhileRewriting(file, identity, earlier, next);
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

KeptCopy KeptCopy::keep(const QString &file, const FileIdentity &identity,
                        const QByteArray &earlier, const QByteArray &next)
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
    kept.m_device = identity.device;
    kept.m_inode = identity.inode;
    kept.m_changedAt = identity.changedAt;
    kept.m_size = identity.size;
    kept.m_next = folder + u'/' + id + NextSuffix;
    writeWhole(kept.m_copy, earlier);
    writeWhole(kept.m_next, next);
    const QByteArray head = QFile::encodeName(kept.m_file).toPercentEncoding() + '\n' +
                            kept.m_nextDigest + '\n' + QByteArray::number(kept.m_device) + '\n' +
                            QByteArray::number(kept.m_inode) + '\n' +
                            QByteArray::number(kept.m_nextSize) + '\n';
    kept.m_progressAt = head.size();
    writeWhole(kept.m_record, head + progressLine(0, identity.changedAt, identity.size));
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
            if (const QList<QByteArray> progress = lines.value(5).split(' ');
                progress.size() == 3) {
                kept.m_changing = progress[0].toLongLong();
                kept.m_changedAt = progress[1].toLongLong();
                kept.m_size = progress[2].toLongLong();
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
    return recorded(&ids);
}

bool KeptCopy::lastTouchedByRewrite() const
{
    struct stat now;
    if (m_changedAt < 0 || ::stat(QFile::encodeName(m_file).constData(), &now) != 0)
        return false;
    // The rewrite wrote into the file where it stood: another file in its place came later.
    if (qint64(now.st_dev) != m_device || qint64(now.st_ino) != m_inode)
        return false;
    const qint64 changedAt = qint64(now.st_ctim.tv_sec) * 1'000'000'000 + now.st_ctim.tv_nsec;
    // Untouched since the rewrite's last finished change: every write, by anyone, moves
    // the status-change time on, and no program can set it back.
    if (changedAt == m_changedAt && qint64(now.st_size) == m_size)
        return true;
    // Or touched by the change that was under way when the rewrite ended.
    return m_changing > 0 && changedAt >= m_changing - CoarseClockNs &&
           changedAt <= m_changing + ChangeWindowNs;
}

KeptCopy::FileState KeptCopy::fileState() const
{
    if (!QFileInfo::exists(m_file))
        return FileState::Gone;
    try {
        const QByteArray now = readSmallFile(m_file, LargestCopy);
        const QByteArray earlier = readSmallFile(m_copy, LargestCopy);
        if (now == earlier)
            return FileState::Earlier;
        if (digest(now) == m_nextDigest)
            return FileState::New;
        if (!lastTouchedByRewrite())
            return FileState::Changed;
        // A record of an earlier version kept no new content to compare with.
        if (!QFileInfo::exists(m_next) ||
            cutShort(now, earlier, readSmallFile(m_next, LargestCopy)))
            return FileState::Damaged;
    } catch (const Error &) {
    }
    return FileState::Changed;
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
