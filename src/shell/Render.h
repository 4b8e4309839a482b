#pragma once

#include "platform/Pictures.h"

#include <QImage>
#include <QString>
#include <QStringList>

#include <optional>

struct CommandLine;
struct FactorySkin;
struct CheckedSkin;
class SceneRenderer;
class StillPicture;

// Draws the preview scene for the skin the command line names, in memory and without a
// window, and writes it where -o says, in the format its name asks for. Writes nothing
// else and never the skin or the background. Returns the exit status; a failure is one
// line on standard error.
// With several skins (`skins`), each goes into `<name>.png` in the folder -o names, where
// <name> is its file's name without the last suffix; one that fails is said, and the
// others are still drawn.
int renderSkin(const CommandLine &command, const FactorySkin &factory);

// The scene --render shows for a drawable skin, with the command's texts and vision: the
// picture scene when `picture` is present, else the colour scene. `renderer` may have
// drawn other skins before. Throws Error when a colour cannot be drawn.
QImage drawnScene(SceneRenderer &renderer, const CheckedSkin &skin, StillPicture &picture,
                  const CommandLine &command);
// The name of the picture a skin of a batch is drawn into: "dark.png" for "skins/dark.ini".
QString pictureNameOf(const QString &skin);

// The picture format an output's name asks for: PNG without a suffix (standard output, a
// device, a pipe, a plain name); nothing for a suffix Vellox does not write.
std::optional<PictureFormat> formatFor(const QString &output);
// What is said of an output whose suffix asks for no format Vellox writes.
QString unknownSuffix(const QString &output);

// "a, b, c or d", as a sentence lists choices.
QString choices(const QStringList &names);
// The suffixes of the pictures --render writes, ".png" first.
QStringList pictureSuffixes();

// Why writing `output` would overwrite the skin or the picture the command reads, or
// nothing. Links are followed: the same file under another name is found too.
QString overwritesInput(const QString &output, const CommandLine &command);
// Says `what` on standard error, after the program's name; returns the failure status.
int failedCommand(const QString &what);
