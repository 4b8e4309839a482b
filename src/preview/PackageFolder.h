#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// A package is a folder inside the projects folder. It is built whole in a hidden folder
// beside its final place and moved in with one rename, so a failure, a full disk or a
// crash at any moment leaves either no package or the previous package whole, never a
// mixture. Replacing exchanges the two folders in one step and removes the old one only
// after the new one is in place; what else the user kept in the old folder moves over.
// Hidden folders a crash left behind are removed at the next export.
class PackageFolder
{
public:
    // `ownFiles` are the names the package itself writes; the user's other files in an
    // existing package are kept.
    PackageFolder(QString projects, QString name, QStringList ownFiles);

    QString path() const { return m_projects + u'/' + m_name; }
    // Whether a package of that name exists as a folder. Throws Error when the name is
    // taken by a symbolic link: nothing is written through one.
    bool exists() const;

    // Calls `writeFiles` with the folder to write into, then moves the package into place.
    // Throws Error naming the package's own paths.
    void build(const std::function<void(const QString &folder)> &writeFiles) const;

private:
    void removeLeftovers() const;
    QString makeStagingFolder() const;
    void carryUserFiles(const QString &from, const QString &to) const;
    void moveIntoPlace(const QString &staging, bool replacing) const;

    QString m_projects;
    QString m_name;
    QStringList m_ownFiles;
};
