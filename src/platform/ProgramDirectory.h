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
    static ProgramDirectory ofExecutable();

    const QString &path() const { return m_path; }
    // `name` is relative to the program directory, e.g. WorkingSkin or "My Projects/x".
    QString file(const QString &name) const;

private:
    QString m_path;
};
