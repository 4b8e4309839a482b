#include "platform/ProgramDirectory.h"

#include "platform/Error.h"
#include "platform/Files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <cerrno>

using namespace Qt::Literals::StringLiterals;

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error::file(Error::FileNotFound, "read the installed factory skin", path,
                          file.errorString());
    QByteArray bytes = file.readAll();
    if (file.error() != QFile::NoError)
        throw Error::file(Error::PathFileAccess, "read the installed factory skin", path,
                          file.errorString());
    return bytes;
}

} // namespace

ProgramDirectory::ProgramDirectory(QString path) : m_path(QDir::cleanPath(std::move(path))) {}

ProgramDirectory ProgramDirectory::locate()
{
    const QString beside = QCoreApplication::applicationDirPath();
    if (fileExists(QDir(beside).filePath(FactorySkin)))
        return ProgramDirectory(beside);

    const ProgramDirectory user(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    // Only a first start sets the folder up; later, a factory skin the user removed is
    // missed as it is in a portable folder.
    if (QFileInfo::exists(user.path()))
        return user;
    const QString installed = QDir(beside).filePath("../share/vellox/"_L1 + FactorySkin);
    const QByteArray skin = readAll(installed);
    if (!QDir().mkpath(user.path()))
        throw Error::file(Error::PathFileAccess, "create the folder", user.path(),
                          systemReason(errno));
    writeFile(user.file(FactorySkin), Durability::Atomic, AtLink::ReplaceLink,
              [&skin](const ByteSink &sink) { sink(skin.constData(), skin.size()); });
    createFolder(user.file(Projects));
    return user;
}

QString ProgramDirectory::unwritableReason() const
{
    QTemporaryFile probe(file(QStringLiteral(".vellox-probe-XXXXXX")));
    return probe.open() ? QString() : probe.errorString();
}

QString ProgramDirectory::file(const QString &name) const
{
    QString path = m_path;
    path += u'/';
    path += name;
    return path;
}
