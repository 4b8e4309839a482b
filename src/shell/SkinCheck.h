#pragma once

#include "skin/ColourTable.h"
#include "skin/SkinLint.h"

#include "readability/Readability.h"

#include "colour/Vision.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

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
// The one warning naming the items `skin` leaves to the factory skin, if it leaves any.
std::optional<SkinProblem> notSet(const CheckedSkin &skin, const FactorySkin &factory);

class BackgroundPicture;
class SceneRenderer;

// The viewer a check measures for.
struct Seeing
{
    Vision vision = Vision::Normal;
    double severity = DefaultSeverity; // of an anomalous vision
};
// " as seen with deuteranomaly at severity 0.5"
QString seenWords(const Seeing &seeing);
class StillPicture;

// The picture `path` names, into `picture`; nothing for the empty path. Returns why it
// cannot be read, as "PATH: reason", or nothing.
QString loadBackground(const QString &path, StillPicture &picture);
// What a command draws from: the skin it names, read over the factory skin and refused
// when the check has an error for it, and its picture if it names one. Returns why they
// cannot be drawn, in one line ("s.ini:5: ..."), or nothing.
QString readForDrawing(const QString &skinPath, const QString &picturePath,
                       const FactorySkin &factory, CheckedSkin &skin, StillPicture &picture);
// The texts that do not read well over the scenes `renderer` draws of a drawable skin,
// as `seeing` sees them: the colour scene, and the picture scene when there is a picture.
// One warning for each item and scene, at the line that sets the item (`lineOf`).
QList<SkinProblem> hardToRead(SceneRenderer &renderer, const ColourTable &colours,
                              BackgroundPicture &picture, const std::array<int, ItemCount> &lineOf,
                              const Seeing &seeing = {});

// The parts of the scenes `renderer` drew last that look alike, under every vision for a
// normal `seeing`, else under its own; one warning each, for the skin as a whole.
QList<SkinProblem> lookAlike(const SceneRenderer &renderer, Readability::Scenes scenes,
                             const Seeing &seeing);

// Everything the check says of one file: its problems, and, when it can be drawn, the
// texts that do not read well, in the order of the lines; then the parts that look alike.
QList<SkinProblem> checkSkin(const QString &path, const FactorySkin &factory,
                             SceneRenderer &renderer, BackgroundPicture &picture,
                             const Seeing &seeing = {});

// Checks each file and prints its problems one a line, "FILE:LINE: error: ..." or
// "FILE:LINE: warning: ...", over `background` too when one is named. Writes nothing
// anywhere. Returns 1 when any file has an error or the background cannot be read,
// else 0.
int checkSkins(const QStringList &paths, const FactorySkin &factory, const QString &background,
               const Seeing &seeing = {});
