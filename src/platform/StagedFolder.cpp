#include "platform/StagedFolder.h"

#include "platform/Error.h"
#include "platform/Files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// Hidden folders of ours inside the parent folder: a folder being built, or an old one on
// its way out. Both may be removed whenever no build runs.
constexpr auto StagingPrefix = ".vellox-package-"_L1;
// An old folder set aside where the file system cannot exchange two folders at once;
// it is kept for the user should a crash strike between the two renames.
constexpr auto SetAsidePrefix = ".vellox-replaced-"_L1;

QByteArray encoded(const QString &path)
{
    return QFile::encodeName(path);
}

std::optional<struct stat> linkStatus(const QString &path)
{
    struct stat st;
    if (::lstat(encoded(path).constData(), &st) != 0)
        return std::nullopt;
    return st;
}

void syncFolder(const QString &path)
{
    const int fd = ::open(encoded(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

QString makeHiddenFolder(const QString &parent, QLatin1StringView prefix)
{
    QByteArray pattern = encoded(parent + u'/' + prefix + "XXXXXX"_L1);
    if (!::mkdtemp(pattern.data())) {
        const int err = errno;
        throw Error::file(err == ENOENT ? Error::PathNotFound : Error::PathFileAccess,
                          QT_TRANSLATE_NOOP("Error", "Cannot create the folder \"%1\": %2"),
                          QFile::decodeName(pattern), systemReason(err));
    }
    return QFile::decodeName(pattern);
}

// Builds into one parent folder run one at a time, also between programs that share it:
// a build removes what builds cut short left behind, and must never take a folder that
// another build is filling. A lock dies with its process, so a killed build blocks no one.
class BuildingLock
{
public:
    explicit BuildingLock(const QString &parent)
        : m_fd(::open(encoded(parent).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
    {
        while (m_fd >= 0 && ::flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
        }
    }
    ~BuildingLock()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    BuildingLock(const BuildingLock &) = delete;
    BuildingLock &operator=(const BuildingLock &) = delete;

private:
    int m_fd;
};

} // namespace

StagedFolder::StagedFolder(QString parent, QString name, QStringList ownFiles)
    : m_parent(std::move(parent)), m_name(std::move(name)), m_ownFiles(std::move(ownFiles))
{
}

bool StagedFolder::exists() const
{
    const QFileInfo info(path());
    if (info.isSymLink())
        throw Error::file(Error::PathFileAccess,
                          QT_TRANSLATE_NOOP("Error", "Cannot replace \"%1\": %2"), path(),
                          QCoreApplication::translate(
                              "StagedFolder", "it is a link to \"%1\", and Vellox does not write "
                                              "through links; remove the link or choose another "
                                              "project name.")
                              .arg(QDir::toNativeSeparators(info.symLinkTarget())));
    return info.isDir();
}

void StagedFolder::build(const std::function<void(const QString &)> &writeFiles) const
{
    const BuildingLock building(m_parent);
    const bool replacing = exists();
    if (!replacing && linkStatus(path()))
        throw Error::file(Error::PathFileAccess,
                          QT_TRANSLATE_NOOP("Error", "Cannot create the folder \"%1\": %2"), path(),
                          systemReason(EEXIST));
    // A folder of the user's under one of our names would be lost with the old folder.
    for (const QString &own : replacing ? m_ownFiles : QStringList()) {
        const QString inside = path() + u'/' + own;
        if (const auto st = linkStatus(inside); st && S_ISDIR(st->st_mode))
            throw Error::file(Error::PathFileAccess,
                              QT_TRANSLATE_NOOP("Error", "Cannot write \"%1\": %2"), inside,
                              QCoreApplication::translate("StagedFolder", "it is a folder"));
    }
    removeLeftovers();
    const QString staging = makeStagingFolder();
    try {
        try {
            writeFiles(staging);
        } catch (const Error &e) {
            // The user knows the folder by its name, not by the one it was built in.
            throw Error(e.code(), QString(e.description())
                                      .replace(QDir::toNativeSeparators(staging),
                                               QDir::toNativeSeparators(path())));
        }
        if (replacing)
            carryUserFiles(path(), staging);
        moveIntoPlace(staging, replacing);
    } catch (const Error &) {
        QDir(staging).removeRecursively();
        throw;
    }
    // After the exchange the staging folder holds the old one.
    QDir(staging).removeRecursively();
}

void StagedFolder::removeLeftovers() const
{
    const QDir parent(m_parent);
    const QStringList leftovers =
        parent.entryList({StagingPrefix + u'*'}, QDir::Dirs | QDir::Hidden | QDir::NoSymLinks);
    for (const QString &name : leftovers)
        QDir(parent.filePath(name)).removeRecursively();
}

QString StagedFolder::makeStagingFolder() const
{
    const QString staging = makeHiddenFolder(m_parent, StagingPrefix);
    // The folder gets the permissions folders ordinarily get, not mkdtemp's private ones.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::chmod(encoded(staging).constData(), 0777 & ~mask);
    return staging;
}

// Hard links keep the user's files in both folders until the exchange, so they exist
// whatever moment a crash strikes; where links cannot be made, they are copied.
void StagedFolder::carryUserFiles(const QString &from, const QString &to) const
{
    const QDir source(from);
    const auto entries =
        source.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        if (from == path() && m_ownFiles.contains(entry))
            continue;
        const QString src = from + u'/' + entry, dst = to + u'/' + entry;
        const auto st = linkStatus(src);
        if (!st)
            continue;
        const auto fail = [&](int err) {
            return Error::file(Error::PathFileAccess,
                               QT_TRANSLATE_NOOP("Error", "Cannot keep \"%1\": %2"), src,
                               systemReason(err));
        };
        if (S_ISDIR(st->st_mode)) {
            if (::mkdir(encoded(dst).constData(), st->st_mode & 07777) != 0)
                throw fail(errno);
            carryUserFiles(src, dst);
        } else if (S_ISLNK(st->st_mode)) {
            QByteArray raw(PATH_MAX, '\0');
            const ssize_t n = ::readlink(encoded(src).constData(), raw.data(), size_t(raw.size()));
            if (n < 0 || ::symlink(raw.left(n).constData(), encoded(dst).constData()) != 0)
                throw fail(errno);
        } else if (S_ISREG(st->st_mode)) {
            if (::link(encoded(src).constData(), encoded(dst).constData()) != 0) {
                QFile copy(src);
                if (!copy.copy(dst))
                    throw Error::file(Error::PathFileAccess,
                                      QT_TRANSLATE_NOOP("Error", "Cannot keep \"%1\": %2"), src,
                                      copy.errorString());
            }
        } else if (S_ISFIFO(st->st_mode)) {
            if (::mkfifo(encoded(dst).constData(), st->st_mode & 07777) != 0)
                throw fail(errno);
        }
        // Sockets and devices hold nothing that could be kept.
    }
}

void StagedFolder::moveIntoPlace(const QString &staging, bool replacing) const
{
    const QByteArray from = encoded(staging), to = encoded(path());
    const auto fail = [&](int err) {
        return Error::file(Error::PathFileAccess,
                           replacing
                               ? QT_TRANSLATE_NOOP("Error", "Cannot replace \"%1\": %2")
                               : QT_TRANSLATE_NOOP("Error", "Cannot create the folder \"%1\": %2"),
                           path(), systemReason(err));
    };
    if (!replacing) {
        if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) !=
                0 &&
            (errno != EINVAL || ::rename(from.constData(), to.constData()) != 0))
            throw fail(errno);
    } else if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_EXCHANGE) !=
               0) {
        if (errno != EINVAL && errno != ENOSYS)
            throw fail(errno);
        // No exchange on this file system: set the old folder aside, then move in.
        const QByteArray aside = encoded(makeHiddenFolder(m_parent, SetAsidePrefix));
        if (::rename(to.constData(), aside.constData()) != 0) {
            const int err = errno;
            ::rmdir(aside.constData());
            throw fail(err);
        }
        if (::rename(from.constData(), to.constData()) != 0) {
            const int err = errno;
            ::rename(aside.constData(), to.constData());
            throw fail(err);
        }
        // The staging folder's name now holds the old folder, to be removed.
        ::rename(aside.constData(), from.constData());
    }
    syncFolder(m_parent);
}
