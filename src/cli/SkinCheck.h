#pragma once

#include "cli/DrawingInput.h"

#include "readability/Readability.h"

#include "colour/Vision.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

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
