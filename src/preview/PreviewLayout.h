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
inline constexpr ControlLayout TextFrame{
    "Frame1"_L1,
    {32, 376, 201, 41},
    QLatin1StringView(QT_TRANSLATE_NOOP("ControlLayout", "Preview Text"))};
// The text options lie over their frame, not inside it.
inline constexpr ControlLayout SkinningText{
    "Option1"_L1,
    {48, 395, 89, 13},
    QLatin1StringView(QT_TRANSLATE_NOOP("ControlLayout", "Skinning text"))};
inline constexpr ControlLayout ActualText{
    "Option2"_L1,
    {144, 395, 81, 13},
    QLatin1StringView(QT_TRANSLATE_NOOP("ControlLayout", "Actual text"))};
inline constexpr ControlLayout BackgroundFrame{
    "Frame2"_L1,
    {256, 376, 201, 41},
    QLatin1StringView(QT_TRANSLATE_NOOP("ControlLayout", "Background"))};
// Inside the background frame.
inline constexpr ControlLayout ColourBackground{
    "Option3"_L1,
    {24, 20, 81, 13},
    QLatin1StringView(QT_TRANSLATE_NOOP("ControlLayout", "Color BG"))};
inline constexpr ControlLayout PictureBackground{
    "Option4"_L1,
    {104, 20, 73, 13},
    QLatin1StringView(QT_TRANSLATE_NOOP("ControlLayout", "Picture BG"))};
inline constexpr ControlLayout Import{
    "Command1"_L1,
    {32, 424, 105, 25},
    QLatin1StringView(QT_TRANSLATE_NOOP("ControlLayout", "Import Backround"))};
inline constexpr ControlLayout ProjectNameLabel{
    "Label27"_L1,
    {168, 430, 73, 17},
    QLatin1StringView(QT_TRANSLATE_NOOP("ControlLayout", "Project Name:"))};
inline constexpr ControlLayout ProjectName{
    "Text1"_L1,
    {248, 428, 113, 19},
    "Project1"_L1,
    QLatin1StringView(QT_TRANSLATE_NOOP("ControlLayout", "Project Name"))};
inline constexpr ControlLayout CreatePackage{
    "Command2"_L1,
    {368, 424, 105, 25},
    QLatin1StringView(QT_TRANSLATE_NOOP("ControlLayout", "Create Package"))};
} // namespace PreviewControls
