#pragma once

#include "skin/ColourTable.h"
#include "skin/SkinLint.h"

#include <QList>
#include <QString>

// The factory skin the editor would start from, read once for every skin of a command.
struct FactorySkin
{
    explicit FactorySkin(QString path);

    QString path;
    SkinLint lint;   // its codes and where they stand
    QString problem; // why it could not be read, or nothing
};

// A skin file as the editor would show it: read over the factory skin, so that an item
// it leaves unset keeps its factory colour.
struct CheckedSkin
{
    QByteArray bytes;  // the file as it was read
    bool read = false; // whether it could be read at all; if not, the one error says why
    ColourTable colours;
    std::array<int, ItemCount> lineOf{}; // where the file sets each item; 0 where it does not
    // Errors for anything the preview cannot draw or that is no skin, warnings for what
    // will not show as its author meant; line 0 for the file as a whole. A skin without
    // errors is drawn.
    QList<SkinProblem> problems;
    // The items the file leaves to the factory skin, in the order of the skin file.
    QList<int> leftToFactory;

    bool drawable() const;
};
// `path` "-" is standard input, read up to the size of the largest skin file.
CheckedSkin readSkin(const QString &path, const FactorySkin &factory);

class StillPicture;

// The picture `path` names, into `picture`; nothing for the empty path. Returns why it
// cannot be read, as "PATH: reason", or nothing.
QString loadBackground(const QString &path, StillPicture &picture);
// What a command draws from: the skin it names, read over the factory skin and refused
// when the check has an error for it, and its picture if it names one. Returns why they
// cannot be drawn, in one line ("s.ini:5: ..."), or nothing.
QString readForDrawing(const QString &skinPath, const QString &picturePath,
                       const FactorySkin &factory, CheckedSkin &skin, StillPicture &picture);
