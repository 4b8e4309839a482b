#include "platform/PathWalk.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <pwd.h>

namespace PathWalk {

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

namespace {

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

} // namespace

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

} // namespace PathWalk
