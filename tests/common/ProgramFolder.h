#pragma once

#include "platform/ProgramDirectory.h"

#include <QByteArray>
#include <QStringList>
#include <QTemporaryDir>

// A temporary program directory, by default holding the shipped factory skin.
class ProgramFolder
{
public:
    enum class Content
    {
        FactorySkin,
        Empty
    };

    explicit ProgramFolder(Content content = Content::FactorySkin);

    ProgramDirectory dir() const { return ProgramDirectory(m_dir.path()); }
    QString file(const QString &name) const { return m_dir.filePath(name); }
    bool exists(const QString &name) const;
    QByteArray read(const QString &name) const;
    void write(const QString &name, const QByteArray &bytes) const;
    // File names in the folder, sorted, hidden ones included.
    QStringList entries() const;

private:
    QTemporaryDir m_dir;
};

QByteArray factorySkinBytes();
