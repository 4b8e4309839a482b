#pragma once

#include <QString>
#include <QStringList>

struct CommandLine;
struct FactorySkin;

// Draws the preview scene for the skin the command line names, in memory and without a
// window, and writes it where -o says, in the format its name asks for. Writes nothing
// else and never the skin or the background. Returns the exit status; a failure is one
// line on standard error.
int renderSkin(const CommandLine &command, const FactorySkin &factory);

// "a, b, c or d", as a sentence lists choices.
QString choices(const QStringList &names);
// The suffixes of the pictures --render writes, ".png" first.
QStringList pictureSuffixes();

// Why writing `output` would overwrite the skin or the picture the command reads, or
// nothing. Links are followed: the same file under another name is found too.
QString overwritesInput(const QString &output, const CommandLine &command);
// Says `what` on standard error, after the program's name; returns the failure status.
int failedCommand(const QString &what);
