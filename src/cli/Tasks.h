#pragma once

#include <QString>

struct CommandLine;

// Runs the task the command line asks for without a window (render, gallery, check, fix,
// suggest), every skin read over the factory skin at `factorySkin`. Needs a running
// QGuiApplication for the fonts. Returns the exit status.
int runTask(const CommandLine &command, const QString &factorySkin);
