#include "editor/FollowedFile.h"

#include "skin/SkinFile.h"

#include "platform/Error.h"
#include "platform/Files.h"

#include <QFileInfo>

namespace {

// Editors write a file in a few steps; a moment after the last, it is whole.
constexpr std::chrono::milliseconds Settling{150};

} // namespace

FollowedFile::FollowedFile()
{
    m_settling.setSingleShot(true);
    m_settling.setInterval(Settling);
    connect(&m_settling, &QTimer::timeout, this, &FollowedFile::check);
    const auto settle = [this] { m_settling.start(); };
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, settle);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, settle);
}

void FollowedFile::follow(const QString &path, const QByteArray &bytes)
{
    m_known = bytes;
    if (path == m_path)
        return;
    if (const QStringList watched = m_watcher.files() + m_watcher.directories(); !watched.isEmpty())
        m_watcher.removePaths(watched);
    m_path = path;
    watch();
}

void FollowedFile::watch()
{
    if (m_path.isEmpty())
        return;
    // A file replaced by a rename is a new file, which the watcher has to be told of.
    if (m_watcher.files().isEmpty() && QFileInfo::exists(m_path))
        m_watcher.addPath(m_path);
    if (m_watcher.directories().isEmpty())
        m_watcher.addPath(QFileInfo(m_path).absolutePath());
}

void FollowedFile::check()
{
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
