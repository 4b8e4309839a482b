#include "editor/FollowedFile.h"

#include "skin/SkinFile.h"

#include "platform/Error.h"
#include "platform/Files.h"

#include <QFileInfo>

namespace {

// Editors write a file in a few steps; a moment after the last, it is whole.
constexpr std::chrono::milliseconds Settling{150};
// With the settling, a change no watch saw is still read within a second.
constexpr std::chrono::milliseconds Looking{700};

} // namespace

FollowedFile::FollowedFile()
{
    m_settling.setSingleShot(true);
    m_settling.setInterval(Settling);
    connect(&m_settling, &QTimer::timeout, this, &FollowedFile::check);
    const auto settle = [this] { m_settling.start(); };
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, settle);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, settle);
    m_looking.setInterval(Looking);
    connect(&m_looking, &QTimer::timeout, this, [this, settle] {
        if (identityAt(m_path) != m_seen)
            settle();
    });
}

void FollowedFile::follow(const QString &path, const QByteArray &bytes)
{
    m_known = bytes;
    if (path == m_path)
        return;
    m_path = path;
    watch();
}

void FollowedFile::watch()
{
    m_seen = identityAt(m_path);
    if (m_path.isEmpty())
        m_looking.stop();
    else if (!m_looking.isActive())
        m_looking.start();
    // The watcher watches the file it was given, not its name: once the name leads to
    // another file (a rename over it, a link, a removal and a new file), only a watch set
    // anew follows it. So every look sets the watches anew, on the file the name leads to
    // now, its folder, and the folder of a link's target.
    if (const QStringList watched = m_watcher.files() + m_watcher.directories(); !watched.isEmpty())
        m_watcher.removePaths(watched);
    if (m_path.isEmpty())
        return;
    const QFileInfo info(m_path);
    QStringList paths{info.absolutePath()};
    if (info.exists()) {
        paths << m_path;
        if (const QString target = info.canonicalFilePath(); !target.isEmpty())
            paths << QFileInfo(target).absolutePath();
    }
    paths.removeDuplicates();
    m_watcher.addPaths(paths);
}

void FollowedFile::check()
{
    // Set anew before the read: a change after it is then seen, one before it is read.
    watch();
    QByteArray bytes;
    try {
        bytes = readSmallFile(m_path, LargestSkinFile);
    } catch (const Error &) {
        return;
    }
    if (bytes == m_known)
        return;
    m_known = bytes;
    emit changed();
}
