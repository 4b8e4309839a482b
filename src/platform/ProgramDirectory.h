#pragma once

#include <QLatin1StringView>
#include <QString>

// The folder that holds the program: the factory skin, the working files and the
// projects folder live there. The real program uses the executable's folder, or the
// user's data folder when installed; tests hand in a temporary one.
class ProgramDirectory
{
public:
    // The program's fixed files inside it. The working pictures are named by the object
    // that owns them.
    static constexpr QLatin1StringView FactorySkin{"default.ini"};
    static constexpr QLatin1StringView WorkingSkin{"temp.ini"};
    static constexpr QLatin1StringView Projects{"My Projects"};

    // How the build lays the program out; chosen when it is built, never guessed.
    enum class Layout
    {
        Portable, // one folder: the executable beside its factory skin and working files
        System,   // installed under a prefix; the working files live in the user's folder
    };

    explicit ProgramDirectory(QString path, Layout layout = Layout::Portable);

    // Where the program keeps its files. Portable: the executable's folder, whatever it
    // holds. System: the user's data folder, made whole on the first start with a copy of
    // the installed factory skin (share/vellox beside the bin folder) and an empty
    // projects folder; a factory skin missing there later is copied again. Throws Error
    // when that fails.
    static ProgramDirectory locate(Layout layout);
    // The factory skin the editor would load, found without setting anything up: the
    // program folder's, or the installed one before a first start has copied it.
    static QString factorySkinToRead(Layout layout);

    // Whether a new file can be made in the folder. Empty when it can, else the system's
    // reason.
    QString unwritableReason() const;

    const QString &path() const { return m_path; }
    // `name` is relative to the program directory, e.g. WorkingSkin or "My Projects/x".
    QString file(const QString &name) const;

    // For a message that speaks of "the Vellox directory": a line naming it where users
    // cannot guess it, the user's data folder of an installed program; else nothing.
    QString whereItIs() const;

private:
    QString m_path;
    Layout m_layout;
};
