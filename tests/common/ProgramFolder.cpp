#include "common/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QtTest>

ProgramFolder::ProgramFolder(Content content)
{
    if (!m_dir.isValid())
        qFatal("cannot create a temporary program directory");
    if (content == Content::FactorySkin)
        write(QStringLiteral("default.ini"), factorySkinBytes());
}

bool ProgramFolder::exists(const QString &name) const
{
    return QFileInfo::exists(file(name));
}

QByteArray ProgramFolder::read(const QString &name) const
{
    QFile f(file(name));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void ProgramFolder::write(const QString &name, const QByteArray &bytes) const
{
    QFile f(file(name));
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(file(name)));
}

QStringList ProgramFolder::entries() const
{
    return QDir(m_dir.path())
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                   QDir::Name);
}

QByteArray factorySkinBytes()
{
    QFile f(QStringLiteral(VELLOX_DEFAULT_INI));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("cannot read the factory skin");
    return f.readAll();
}
