#pragma once

#include <QLatin1StringView>
#include <QString>

// The folder that holds the program: the factory skin, the working files and the
// projects folder live there. The real program uses the executable's folder; tests
// hand in a temporary one.
class ProgramDirectory
{
public:
    // The program's fixed files inside it. The working pictures are named by the object
    // that owns them.
    static constexpr QLatin1StringView FactorySkin{"default.ini"};
    static constexpr QLatin1StringView WorkingSkin{"temp.ini"};
    static constexpr QLatin1StringView Snapshot{"temp.bmp"};
    static constexpr QLatin1StringView Projects{"My Projects"};

    explicit ProgramDirectory(QString path);

    // Where the program keeps its files. Portable: the executable's folder, when the
    // factory skin lies beside it. Installed: the user's data folder, made on the first
    // start with a copy of the installed factory skin (share/vellox beside the bin folder)
    // and an empty projects folder. Throws Error when that first start fails.
    static ProgramDirectory locate();

    // Whether a new file can be made in the folder. Empty when it can, else the system's
    // reason.
    QString unwritableReason() const;

    const QString &path() const { return m_path; }
    // `name` is relative to the program directory, e.g. WorkingSkin or "My Projects/x".
    QString file(const QString &name) const;

private:
    QString m_path;
};
