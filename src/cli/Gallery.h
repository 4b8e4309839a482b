#pragma once

#include <QRect>

struct CommandLine;
struct FactorySkin;

// Where the scene of the skin at `index` lies on a contact sheet: rows of up to
// GalleryColumns scenes at full size, each with a caption strip below it, all apart by a
// margin.
QRect galleryScene(int index);
constexpr int GalleryColumns = 4;

// Draws the scene of each of the command's skins, as --render would draw it alone, onto
// one sheet with the skin's file name below it, and writes the sheet where -o says, in
// the format its name asks for. When any skin cannot be drawn, each such is said and
// nothing is written: a sheet with holes would pass for a whole one. Returns the exit
// status.
int drawGallery(const CommandLine &command, const FactorySkin &factory);
