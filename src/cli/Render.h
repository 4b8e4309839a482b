#pragma once

#include <QImage>

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
