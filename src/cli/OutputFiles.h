#pragma once

#include "platform/Pictures.h"

#include <QString>
#include <QStringList>

#include <optional>

struct CommandLine;

// Where a command writes: the formats of its pictures, and what it must not overwrite.

// The name of the picture a skin of a batch is drawn into: "dark.png" for "skins/dark.ini".
QString pictureNameOf(const QString &skin);

// The picture format an output's name asks for: PNG without a suffix (standard output, a
// device, a pipe, a plain name); nothing for a suffix Vellox does not write.
std::optional<PictureFormat> formatFor(const QString &output);
// What is said of an output whose suffix asks for no format Vellox writes.
QString unknownSuffix(const QString &output);

// The suffixes of the pictures --render writes, ".png" first.
QStringList pictureSuffixes();

// Why writing `output` would overwrite the skin or the picture the command reads, or
// nothing. Links are followed: the same file under another name is found too.
QString overwritesInput(const QString &output, const CommandLine &command);
