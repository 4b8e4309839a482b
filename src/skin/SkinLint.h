#pragma once

#include "skin/ColourTable.h"
#include "skin/SkinItems.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>

// One problem of a skin file, at a line counted from 1 as the program splits lines, or
// line 0 for the file as a whole.
struct SkinProblem
{
    enum Severity
    {
        Warning, // the skin is drawn, but not as its author meant
        Error,   // the skin cannot be drawn, or is no skin at all
    };
    int line;
    Severity severity;
    QString text;
};

// A skin file read as the program reads it, with what its author got wrong: line ends,
// byte order marks, keys spelt or spaced so that the program skips them, keys set twice,
// and codes that are empty, of the wrong length or form, or not hexadecimal. A code the
// program cannot draw is an error, any other problem a warning.
struct SkinLint
{
    ColourTable codes;                   // what the file sets: the last line of each key
    std::array<int, ItemCount> lineOf{}; // where each item is set; 0 where it is not
    QList<SkinProblem> problems;         // in the order of the lines
    bool isSkin = true;   // false for an empty, binary or UTF-16 file, or one setting nothing
    bool oneLine = false; // lines end in LF alone, so most of the file is one line
};
SkinLint lintSkin(const QByteArray &bytes);
// Puts problems in the order of their lines, those of one line in the order found, and
// those of the file as a whole after them: a reader goes through the file from the top.
void sortByLine(QList<SkinProblem> &problems);

// A colour item as messages name it: "Menu BG" (RectBg).
QString itemName(int row);
// A text from a file, safe to print: control characters as \xNN, and cut after
// `longest` characters, so that nothing in a file can cut or flood a message.
QString printable(QStringView text, qsizetype longest = 40);

// Why `bytes` are no text a skin could be in (a picture, a program, UTF-16 text, binary
// data), or nothing.
QString whyNotSkinText(const QByteArray &bytes);
