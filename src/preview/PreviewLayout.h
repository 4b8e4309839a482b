#pragma once

#include "platform/Widgets.h"

#include <QLatin1StringView>

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
