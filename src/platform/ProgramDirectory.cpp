#include "platform/ProgramDirectory.h"

#include <QCoreApplication>
#include <QDir>

ProgramDirectory::ProgramDirectory(QString path) : m_path(QDir::cleanPath(std::move(path))) {}

ProgramDirectory ProgramDirectory::ofExecutable()
{
    return ProgramDirectory(QCoreApplication::applicationDirPath());
}

QString ProgramDirectory::file(const QString &name) const
{
    QString path = m_path;
    path += u'/';
    path += name;
    return path;
}
