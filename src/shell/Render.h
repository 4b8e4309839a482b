#pragma once

struct CommandLine;
struct FactorySkin;

// Draws the preview scene for the skin the command line names, in memory and without a
// window, and writes it where -o says, in the format its name asks for. Writes nothing
// else and never the skin or the background. Returns the exit status; a failure is one
// line on standard error.
int renderSkin(const CommandLine &command, const FactorySkin &factory);
