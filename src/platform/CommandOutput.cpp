#include "platform/CommandOutput.h"

#include "platform/Error.h"
#include "platform/Files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

QString plantedLinkReason(const QString &path)
{
    QStringList ahead = QDir::cleanPath(QDir::current().absoluteFilePath(path)).split(u'/');
    QString reached; // the folder walked to so far, with no link in it
    for (int hops = 0; !ahead.isEmpty();) {
        const QString name = ahead.takeFirst();
        if (name.isEmpty() || name == QLatin1String("."))
            continue;
        if (name == QLatin1String("..")) {
            reached = reached.section(u'/', 0, -2);
            continue;
        }
        const QString next = reached + u'/' + name;
        struct stat link, folder;
        if (::lstat(QFile::encodeName(next).constData(), &link) != 0)
            return {}; // nothing more on the way: the write itself says what is missing
        if (!S_ISLNK(link.st_mode)) {
            reached = next;
            continue;
        }
        // Links that lead round in circles are left to the system to refuse.
        if (++hops > 40 || ::stat(QFile::encodeName(reached + u'/').constData(), &folder) != 0)
            return {};
        const bool openToAll = (folder.st_mode & S_ISVTX) && (folder.st_mode & S_IWOTH);
        if (openToAll && link.st_uid != ::geteuid() && link.st_uid != folder.st_uid) {
            const passwd *owner = ::getpwuid(link.st_uid);
            return QCoreApplication::translate(
                       "CommandOutput",
                       "\"%1\" is a link that the user %2 made in \"%3\", a folder "
                       "every user may write to; Vellox, as the system, follows such "
                       "a link only for its owner or the folder's")
                .arg(QDir::toNativeSeparators(next),
                     owner ? QString::fromLocal8Bit(owner->pw_name) : QString::number(link.st_uid),
                     QDir::toNativeSeparators(reached.isEmpty() ? QStringLiteral("/") : reached));
        }
        const QString target = QFileInfo(next).symLinkTarget();
        if (target.isEmpty())
            return {};
        // symLinkTarget() is absolute and clean; /proc's links to pipes lead nowhere.
        ahead = target.split(u'/') + ahead;
        reached.clear();
    }
    return {};
}

void writeOutput(const QString &path, const QByteArray &bytes)
{
    if (path == QLatin1String("-")) {
        writeAll(STDOUT_FILENO, bytes,
                 QCoreApplication::translate("CommandOutput", "standard output"));
        return;
    }
    if (const QString planted = plantedLinkReason(path); !planted.isEmpty())
        throw Error::file(Error::PathFileAccess,
                          QT_TRANSLATE_NOOP("Error", "Cannot write \"%1\": %2"), path, planted);
    const QByteArray name = QFile::encodeName(path);
    struct stat st;
    const bool exists = ::stat(name.constData(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode))
        throw Error::file(Error::PathFileAccess,
                          QT_TRANSLATE_NOOP("Error", "Cannot write \"%1\": %2"), path,
                          QCoreApplication::translate("CommandOutput", "it is a folder"));
    if (!exists || S_ISREG(st.st_mode)) {
        writeFile(path, Durability::Atomic, AtLink::FollowLink,
                  [&bytes](const ByteSink &sink) { sink(bytes.constData(), bytes.size()); });
        return;
    }
    // A device or a pipe cannot be replaced, only written into.
    const int fd = ::open(name.constData(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        throw Error::file(Error::PathFileAccess,
                          QT_TRANSLATE_NOOP("Error", "Cannot write \"%1\": %2"), path,
                          systemReason(errno));
    try {
        writeAll(fd, bytes, path);
    } catch (const Error &) {
        ::close(fd);
        throw;
    }
    if (::close(fd) != 0)
        throw Error::file(Error::PathFileAccess,
                          QT_TRANSLATE_NOOP("Error", "Cannot write \"%1\": %2"), path,
                          systemReason(errno));
}
