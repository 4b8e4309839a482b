#pragma once

#include "platform/Widgets.h"

// The editor window's controls: their names, places and captions.
namespace EditorControls {
using namespace Qt::Literals::StringLiterals;

inline constexpr QSize ClientSize{520, 317};
// Beside the preview window, whose client area starts at (530, 89): the editor's client
// area spans 4 to 524 and starts level with it.
inline constexpr QPoint ClientAt{4, 89};

inline constexpr ControlLayout ColourFrame{
    "Frame1"_L1,
    {8, 8, 257, 305},
    QLatin1StringView(QT_TRANSLATE_NOOP("ControlLayout", "Backround/Foreground"))};
// Inside the colour frame.
inline constexpr ControlLayout ItemLabel{
    "Label4"_L1,
    {16, 24, 145, 17},
    QLatin1StringView(QT_TRANSLATE_NOOP("ControlLayout", "Select Item:"))};
inline constexpr ControlLayout ItemList{"Combo1"_L1, {16, 40, 201, 21}};
inline constexpr ControlLayout ColourLabel{
    "Label5"_L1,
    {16, 72, 73, 17},
    QLatin1StringView(QT_TRANSLATE_NOOP("ControlLayout", "Preview Color:"))};
inline constexpr ControlLayout ColourSwatch{
    "Shape1"_L1,
    {16, 88, 73, 105},
    {},
    QLatin1StringView(QT_TRANSLATE_NOOP("ControlLayout", "Preview Color"))};
inline constexpr ControlLayout RedLabel{
    "Label1"_L1, {104, 72, 24, 19}, QLatin1StringView(QT_TRANSLATE_NOOP("ControlLayout", "Red:"))};
inline constexpr ControlLayout RedSlider{
    "Slider1"_L1,
    {96, 88, 153, 17},
    {},
    QLatin1StringView(QT_TRANSLATE_NOOP("ControlLayout", "Red"))};
inline constexpr ControlLayout GreenLabel{
    "Label2"_L1,
    {104, 112, 33, 17},
    QLatin1StringView(QT_TRANSLATE_NOOP("ControlLayout", "Green:"))};
inline constexpr ControlLayout GreenSlider{
    "Slider2"_L1,
    {96, 128, 153, 17},
    {},
    QLatin1StringView(QT_TRANSLATE_NOOP("ControlLayout", "Green"))};
inline constexpr ControlLayout BlueLabel{
    "Label3"_L1,
    {104, 152, 25, 17},
    QLatin1StringView(QT_TRANSLATE_NOOP("ControlLayout", "Blue:"))};
inline constexpr ControlLayout BlueSlider{
    "Slider3"_L1,
    {96, 168, 153, 17},
    {},
    QLatin1StringView(QT_TRANSLATE_NOOP("ControlLayout", "Blue"))};
inline constexpr ControlLayout OpacityLabel{
    "Label7"_L1,
    {16, 208, 41, 17},
    QLatin1StringView(QT_TRANSLATE_NOOP("ControlLayout", "Opacity:"))};
inline constexpr ControlLayout OpacitySlider{
    "Slider4"_L1,
    {56, 208, 193, 17},
    {},
    QLatin1StringView(QT_TRANSLATE_NOOP("ControlLayout", "Opacity"))};
inline constexpr ControlLayout CodeLabel{
    "Label8"_L1,
    {16, 240, 65, 17},
    QLatin1StringView(QT_TRANSLATE_NOOP("ControlLayout", "Skin.ini Code:"))};
inline constexpr ControlLayout CodeEdit{
    "Text7"_L1,
    {88, 240, 153, 19},
    {},
    QLatin1StringView(QT_TRANSLATE_NOOP("ControlLayout", "Skin.ini Code"))};
// The buttons belong to the window and lie in front of the colour frame's lower part.
inline constexpr ControlLayout RestoreButton{
    "Command2"_L1,
    {24, 280, 105, 25},
    QLatin1StringView(QT_TRANSLATE_NOOP("ControlLayout", "Restore Defaults"))};
inline constexpr ControlLayout ApplyButton{
    "Command1"_L1,
    {144, 280, 105, 25},
    QLatin1StringView(QT_TRANSLATE_NOOP("ControlLayout", "Apply Change"))};
inline constexpr ControlLayout SkinFrame{
    "Frame2"_L1,
    {272, 8, 241, 305},
    QLatin1StringView(QT_TRANSLATE_NOOP("ControlLayout", "Skin.ini"))};
// Inside the skin frame.
inline constexpr ControlLayout SkinText{
    "Text5"_L1,
    {16, 24, 209, 267},
    {},
    QLatin1StringView(QT_TRANSLATE_NOOP("ControlLayout", "Skin.ini"))};

inline constexpr int ColourMaximum = 255;
inline constexpr int OpacityMaximum = 100;
} // namespace EditorControls
