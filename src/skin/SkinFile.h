#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

class ColourTable;

// A skin file is 8-bit text with CR LF line ends: the skin text (twenty lines
// "Key = code"), in a package sometimes a background line, an empty line and a closing
// comment line. The skin text travels as one string with CR LF between its lines; a
// lone LF inside it is a character of a code, as a file may hold one.

// The skin text of the table: twenty lines in file order, codes exactly as stored.
QString skinText(const ColourTable &table);

// Where each line of a skin file begins and where its text ends, as the program splits
// them: a line ends at CR LF or at a lone CR; a lone LF stays inside the line; a last
// line without terminator is still a line. Mending a file rewrites codes in these spans,
// so its lines are the ones the reader saw.
struct LineSpan
{
    qsizetype start;
    qsizetype end;
};
QList<LineSpan> skinLineSpans(const QByteArray &bytes);
// The same lines as 8-bit text, every byte kept (Latin-1).
QStringList skinLines(const QByteArray &bytes);

// A real skin file holds about a kilobyte; anything above this is not one, and is
// refused before it is read.
inline constexpr qint64 LargestSkinFile = 1024 * 1024;

// Reads every line of `path` into the table (see applySkinLine). Throws Error when the
// file cannot be opened or read, is not an ordinary file or is larger than
// LargestSkinFile; lines read before a failure stay applied.
void readSkinFile(const QString &path, ColourTable &table);
// The same for the bytes of a skin file already in memory.
void readSkinBytes(const QByteArray &bytes, ColourTable &table);

// One line of a skin file: the key is the text before the first " = ", compared in lower
// case without trimming; the code is what follows, up to a second " = " if any. Lines
// of other keys, and matching lines without " = ", change nothing.
void applySkinLine(QStringView line, ColourTable &table);

// What a line sets, if anything, by the rule above.
struct SkinLine
{
    int row;
    QString code;
};
std::optional<SkinLine> readSkinLine(QStringView line);

// The lines of a skin file holding `text` and no background line.
QStringList skinFileLines(const QString &text);

// Which working pictures lie beside the program when a package is written.
struct PackagePictures
{
    bool jpg = false; // temp.jpg: the picture goes into the package, no background line
    bool bmp = false; // temp2.bmp: the skin names "background.bmp"
};

// The three writers of skin text. Each writes nothing for the empty path, replaces the
// file whole, and throws Error when it cannot. The working skin and the package skin are
// the program's own files: a link in their place is replaced, never written through; a
// skin file the user names is written where a link leads.
void writeWorkingSkin(const QString &path, const QString &text);
void writeSkinFile(const QString &path, const QString &text);
void writePackageSkin(const QString &path, const QString &text, PackagePictures pictures);
