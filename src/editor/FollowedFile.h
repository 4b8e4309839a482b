#pragma once

#include "platform/Files.h"

#include <QByteArray>
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

#include <optional>

// The skin file last loaded or saved, watched on the disk, so that a skin edited in
// another program shows at once. A text editor's save may write the file where it is or
// replace it whole by a rename, so both the file and its folder are watched, and the
// watches are set anew after every change, whatever the name leads to then; `changed` is
// told once the writing has settled. Content that Vellox itself last read or wrote there
// is no change, nor is a file that is gone or cannot be read. A watch cannot follow every
// change (a folder on the way replaced, a watch the system refused), so the name is also
// looked up a few times a second, which costs one status read.
class FollowedFile : public QObject
{
    Q_OBJECT

public:
    FollowedFile();

    // Follows `path`, which holds `bytes` as Vellox has just read or written them; the
    // empty path follows nothing.
    void follow(const QString &path, const QByteArray &bytes);
    const QString &path() const { return m_path; }

signals:
    void changed();

private:
    void watch();
    void check();

    QFileSystemWatcher m_watcher;
    QTimer m_settling;
    QTimer m_looking;
    std::optional<FileIdentity> m_seen; // what the name led to at the last look
    QString m_path;
    QByteArray m_known;
};
