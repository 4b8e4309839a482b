#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// A folder inside a parent folder, written whole: it is built in a hidden folder beside
// its final place and moved in with one rename, so a failure, a full disk or a crash at
// any moment leaves either no folder or the previous one whole, never a mixture.
// Replacing exchanges the two folders in one step and removes the old one only after the
// new one is in place; what else the user kept in the old folder moves over. Hidden
// folders a crash left behind are removed at the next build. Builds into one parent run
// one at a time, also between programs.
class StagedFolder
{
public:
    // `ownFiles` are the names the builder writes; the user's other files in an existing
    // folder are kept.
    StagedFolder(QString parent, QString name, QStringList ownFiles);

    QString path() const { return m_parent + u'/' + m_name; }
    // Whether a folder of that name exists. Throws Error when the name is
    // taken by a symbolic link: nothing is written through one.
    bool exists() const;

    // Calls `writeFiles` with the folder to write into, then moves it into place. Throws
    // Error naming the final paths, not the hidden ones.
    void build(const std::function<void(const QString &folder)> &writeFiles) const;

private:
    void removeLeftovers() const;
    QString makeStagingFolder() const;
    void carryUserFiles(const QString &from, const QString &to) const;
    void moveIntoPlace(const QString &staging, bool replacing) const;

    QString m_parent;
    QString m_name;
    QStringList m_ownFiles;
};
