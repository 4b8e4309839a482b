#pragma once

#include "preview/SceneElements.h"

#include <QLatin1StringView>
#include <QRectF>

#include <array>

// The mock-up of the Zantho screen, described once for both scenes: each role has an
// element in the colour-background scene and one in the picture-background scene.

struct TextRole
{
    const char *colorScene;
    const char *pictureScene;
    QRectF geometry; // the title's left and width come from the text mode
    int pixelSize;
    SceneText::Weight weight;
    int row; // colour item of the text
    QLatin1StringView skinningText;
    QLatin1StringView actualText;
};

struct ShapeRole
{
    const char *colorScene;
    const char *pictureScene;
    QRectF geometry;
    SceneShape::Corners corners;
    int fillRow; // fill colour and the opacity of its blend
    int outlineRow;
    int phase; // phase 1 blends over the background, phase 2 over phase 1's result
};

extern const std::array<TextRole, 13> TextRoles;
// In the order a scene's blends run.
extern const std::array<ShapeRole, 7> ShapeRoles;

// Which role holds the title and its shadow, whose left edge and width the text mode sets.
inline constexpr size_t TitleRole = 0;
inline constexpr size_t TitleShadowRole = 1;

struct TitlePlacement
{
    double left;
    double width;
};
enum class TextMode
{
    Skinning,
    Actual
};
TitlePlacement titlePlacement(TextMode mode, size_t role);

// Stacking, topmost first.
extern const std::array<const char *, 20> ColorSceneStacking;
extern const std::array<const char *, 20> PictureSceneStacking;

// Rows in the order the element colours are read.
extern const std::array<int, 18> ColoringOrder;
