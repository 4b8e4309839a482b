#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// True when `path` is not empty and names an existing ordinary file that is not hidden.
// Folders do not count. The empty path never touches the disk.
bool fileExists(const QString &path);

class Error;

// Each of these throws Error naming the path and the system's reason.
void deleteFile(const QString &path);
// Deletes the file at `path` if there is one; a failure goes to `report`, not up.
void deleteIfPresent(const QString &path, const std::function<void(const Error &)> &report);
// Creates exactly one folder; its parent must exist.
void createFolder(const QString &path);

// How a file is written. Files the user keeps are replaced as a whole: a full disk or a
// crash leaves the old file or the new one, never a part. A scratch file that lives for
// a moment skips the trip to the disk and is removed again when its writing fails.
enum class Durability
{
    Atomic,
    Scratch
};

// What a write does with a symbolic link at its path. The program's own files replace
// the link itself, so that nothing outside its folders is written through one; a file
// the user chose by name is written where the link leads, as in any editor.
enum class AtLink
{
    ReplaceLink,
    FollowLink
};

// Who may read a file the program creates. Working files and kept copies hold the user's
// unsaved work, and are the user's alone; what the user saves is readable as usual.
enum class Readers
{
    AsUsual,
    OwnerOnly
};

// Receives the bytes of a file as they are produced; each call is checked and throws
// Error when the system takes fewer bytes than given.
using ByteSink = std::function<void(const char *data, qsizetype size)>;

// Writes the bytes `produce` hands to its sink, checked to the last byte. The target's
// folder is opened once, each name on the way looked up in the folder reached so far, and
// the file is written as a new file in that folder and renamed over the target there: no
// path is looked at and then opened again. What stands at the target and is no ordinary
// file (a named pipe, a socket, a device, a folder) is refused, never opened. A folder
// that may not be written to, holding a file that may, gets the file rewritten in place
// through the descriptor that was checked, its room reserved first and its earlier
// content kept by the keeper below. Throws Error naming the path and the system's reason.
void writeFile(const QString &path, Durability durability, AtLink atLink,
               const std::function<void(const ByteSink &)> &produce,
               Readers readers = Readers::AsUsual);

// Where a file's earlier content was kept while it is rewritten in place, and the step
// that lets the copy go once the new content is whole.
struct KeptEarlier
{
    QString copy;
    std::function<void()> release;
    // Called before each change of the file, and after it with the file's status-change
    // time (nanoseconds since the epoch) and size as the change left them.
    std::function<void()> changing = {};
    std::function<void(qint64 changedAt, qint64 size)> changed = {};
};

// Which file is rewritten (device and inode), and its status-change time and size just
// before the rewrite touches it.
struct FileIdentity
{
    qint64 device;
    qint64 inode;
    qint64 changedAt;
    qint64 size;

    bool operator==(const FileIdentity &) const = default;
};

// Who keeps earlier content for rewrites in place. The keeping lives above this file, so
// it is handed in once at start; a run without a keeper refuses rewrites in place rather
// than risk a file's only content.
struct EarlierContentKeeper
{
    // Keeps `earlier` on the disk before `file` is touched; throws Error when it cannot,
    // and the file is then left alone.
    std::function<KeptEarlier(const QString &file, const FileIdentity &identity,
                              const QByteArray &earlier, const QByteArray &next)>
        keep;
    // A write of `file` that began at `began` (nanoseconds since the epoch, to compare with
    // the times files are stamped with) is whole: what was kept for an earlier, unfinished
    // rewrite of it holds nothing the user still needs.
    std::function<void(const QString &file, qint64 began)> written;
};
void setEarlierContentKeeper(EarlierContentKeeper keeper);

// The whole of an ordinary file of at most `maxBytes`; anything else (a folder, a pipe,
// a device, a larger file) throws Error before a byte is read, so nothing can block.
QByteArray readSmallFile(const QString &path, qint64 maxBytes);

// Every byte to an open descriptor, however many calls it takes. Throws Error naming
// `what` and the system's reason.
void writeAll(int fd, const QByteArray &bytes, const QString &what);

// Every line followed by CR LF, as 8-bit text. Throws Error naming the characters when
// a line holds one that 8-bit text cannot.
QByteArray encodeLines8bit(const QStringList &lines);
// Writes encodeLines8bit(lines) as an atomic file.
void writeLines8bit(const QString &path, const QStringList &lines, AtLink atLink,
                    Readers readers = Readers::AsUsual);

// What stands at `path` when it is not an ordinary file, in words for a message ("it is a
// named pipe"), found without opening it; nothing for an ordinary file or no file.
QString notAFileReason(const QString &path);

// Whether both paths name one file (the same device and inode, links followed). False
// when either does not exist.
bool sameFile(const QString &a, const QString &b);

// The file `path` leads to now, links followed, as its identity; nothing when none does.
// Any write to it, or another file in its place, gives another identity.
std::optional<FileIdentity> identityAt(const QString &path);

// A size to the byte, as people read it: "1,048,577 bytes".
QString exactSize(qint64 bytes);
