#include "platform/ProgramDirectory.h"

#include "platform/Error.h"
#include "platform/Files.h"
#include "platform/StagedFolder.h"

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
        throw Error::file(
            Error::FileNotFound,
            QT_TRANSLATE_NOOP("Error", "Cannot read the installed factory skin \"%1\": %2"), path,
            file.errorString());
    QByteArray bytes = file.readAll();
    if (file.error() != QFile::NoError)
        throw Error::file(
            Error::PathFileAccess,
            QT_TRANSLATE_NOOP("Error", "Cannot read the installed factory skin \"%1\": %2"), path,
            file.errorString());
    return bytes;
}

QString installedFactorySkin()
{
    return QDir(QCoreApplication::applicationDirPath())
        .filePath("../share/vellox/"_L1 + ProgramDirectory::FactorySkin);
}

QString userFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

} // namespace

ProgramDirectory::ProgramDirectory(QString path, Layout layout)
    : m_path(QDir::cleanPath(std::move(path))), m_layout(layout)
{
}

ProgramDirectory ProgramDirectory::locate(Layout layout)
{
    if (layout == Layout::Portable)
        return ProgramDirectory(QCoreApplication::applicationDirPath());

    const ProgramDirectory user(userFolder(), Layout::System);
    const auto writeSkin = [](const QString &path, const QByteArray &skin) {
        writeFile(path, Durability::Atomic, AtLink::ReplaceLink,
                  [&skin](const ByteSink &sink) { sink(skin.constData(), skin.size()); });
    };
    if (QFileInfo::exists(user.path())) {
        // A first start cut short, or a factory skin removed: put back from the installed
        // copy, so that no start is ever blocked for it.
        if (!fileExists(user.file(FactorySkin)) && fileExists(installedFactorySkin()))
            writeSkin(user.file(FactorySkin), readAll(installedFactorySkin()));
        return user;
    }
    // The first start sets the folder up whole, beside its place, and moves it in.
    const QByteArray skin = readAll(installedFactorySkin());
    const QFileInfo place(user.path());
    if (!QDir().mkpath(place.path()))
        throw Error::file(Error::PathFileAccess,
                          QT_TRANSLATE_NOOP("Error", "Cannot create the folder \"%1\": %2"),
                          place.path(), systemReason(errno));
    try {
        StagedFolder(place.path(), place.fileName(), {FactorySkin, Projects})
            .build([&](const QString &folder) {
                writeSkin(folder + u'/' + FactorySkin, skin);
                createFolder(folder + u'/' + Projects);
            });
    } catch (const Error &) {
        // Two first starts at once: the other one set the folder up while this one waited
        // for it, and is the program this one hands its skin to.
        if (!fileExists(user.file(FactorySkin)) || !QFileInfo(user.file(Projects)).isDir())
            throw;
    }
    return user;
}

QString ProgramDirectory::factorySkinToRead(Layout layout)
{
    if (layout == Layout::Portable)
        return QDir(QCoreApplication::applicationDirPath()).filePath(FactorySkin);
    const QString user = QDir(userFolder()).filePath(FactorySkin);
    return QFileInfo::exists(userFolder()) ? user : installedFactorySkin();
}

QString ProgramDirectory::whereItIs() const
{
    if (m_layout == Layout::Portable)
        return {};
    return QCoreApplication::translate("ProgramDirectory", "\r\nThe Vellox directory is \"%1\".")
        .arg(QDir::toNativeSeparators(m_path));
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
