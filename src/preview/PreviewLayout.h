#pragma once

#include "preview/SceneElements.h"

#include "skin/SkinItems.h"

#include "platform/Widgets.h"

#include <QLatin1StringView>
#include <QRectF>

#include <array>
#include <span>

// The preview window: where it stands and the controls below its scenes.
namespace PreviewControls {
using namespace Qt::Literals::StringLiterals;
inline constexpr QRect Window{530, 89, 495, 457};
inline constexpr QPoint ColourSceneAt{8, 8};
// The picture scene lies inside the colour scene, over its border.
inline constexpr QPoint PictureSceneAt{-1, -1};
inline constexpr ControlLayout TextFrame{"Frame1"_L1, {32, 376, 201, 41}, "Preview Text"_L1};
// The text options lie over their frame, not inside it.
inline constexpr ControlLayout SkinningText{"Option1"_L1, {48, 395, 89, 13}, "Skinning text"_L1};
inline constexpr ControlLayout ActualText{"Option2"_L1, {144, 395, 81, 13}, "Actual text"_L1};
inline constexpr ControlLayout BackgroundFrame{"Frame2"_L1, {256, 376, 201, 41}, "Background"_L1};
// Inside the background frame.
inline constexpr ControlLayout ColourBackground{"Option3"_L1, {24, 20, 81, 13}, "Color BG"_L1};
inline constexpr ControlLayout PictureBackground{"Option4"_L1, {104, 20, 73, 13}, "Picture BG"_L1};
inline constexpr ControlLayout Import{"Command1"_L1, {32, 424, 105, 25}, "Import Backround"_L1};
inline constexpr ControlLayout ProjectNameLabel{
    "Label27"_L1, {168, 430, 73, 17}, "Project Name:"_L1};
inline constexpr ControlLayout ProjectName{
    "Text1"_L1, {248, 428, 113, 19}, "Project1"_L1, "Project name"_L1};
inline constexpr ControlLayout CreatePackage{
    "Command2"_L1, {368, 424, 105, 25}, "Create Package"_L1};
} // namespace PreviewControls

// The mock-up of the Zantho screen, described once for both scenes: each role has an
// element in the colour-background scene and one in the picture-background scene.

// The two rounds of blending: the panels over the background, then the bars and the
// pop-up over the panels.
enum class BlendPhase
{
    OverBackground,
    OverPanels
};

struct TextRole
{
    const char *colourScene;
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
    const char *colourScene;
    const char *pictureScene;
    QRectF geometry;
    SceneShape::Corners corners;
    int fillRow; // fill colour and the opacity of its blend
    int outlineRow;
    BlendPhase phase;
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
extern const std::array<const char *, 20> ColourSceneStacking;
extern const std::array<const char *, 20> PictureSceneStacking;

// The element colours are read in the order of a skin file, after its two background
// colours, which the gradient takes.
static_assert(SkinFileOrder[0] == Row::BgColour1 && SkinFileOrder[1] == Row::BgColour2);
inline constexpr std::span<const int> ColouringOrder = std::span(SkinFileOrder).subspan<2>();
