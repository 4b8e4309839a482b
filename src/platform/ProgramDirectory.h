#pragma once

#include <QString>

// The folder that holds the program: the factory skin, the working files and the
// projects folder live there. The real program uses the executable's folder; tests
// hand in a temporary one.
class ProgramDirectory
{
public:
    explicit ProgramDirectory(QString path);
    static ProgramDirectory ofExecutable();

    const QString &path() const { return m_path; }
    // `name` is relative to the program directory, e.g. "temp.ini" or "My Projects/x".
    QString file(const QString &name) const;

private:
    QString m_path;
};
