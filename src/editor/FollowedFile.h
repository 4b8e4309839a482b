#pragma once

#include <QByteArray>
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

// The skin file last loaded or saved, watched on the disk, so that a skin edited in
// another program shows at once. A text editor's save may write the file where it is or
// replace it whole by a rename, so both the file and its folder are watched, and the
// watches are set anew after every change, whatever the name leads to then; `changed` is
// told once the writing has settled. Content that Vellox itself last read or wrote there
// is no change, nor is a file that is gone or cannot be read.
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
    QString m_path;
    QByteArray m_known;
};
