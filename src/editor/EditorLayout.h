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
    "Frame1"_L1, {8, 8, 257, 305}, "Backround/Foreground"_L1};
// Inside the colour frame.
inline constexpr ControlLayout ItemLabel{"Label4"_L1, {16, 24, 145, 17}, "Select Item:"_L1};
inline constexpr ControlLayout ItemList{"Combo1"_L1, {16, 40, 201, 21}};
inline constexpr ControlLayout ColourLabel{"Label5"_L1, {16, 72, 73, 17}, "Preview Color:"_L1};
inline constexpr ControlLayout ColourSwatch{
    "Shape1"_L1, {16, 88, 73, 105}, {}, "Colour preview"_L1};
inline constexpr ControlLayout RedLabel{"Label1"_L1, {104, 72, 24, 19}, "Red:"_L1};
inline constexpr ControlLayout RedSlider{"Slider1"_L1, {96, 88, 153, 17}, {}, "Red"_L1};
inline constexpr ControlLayout GreenLabel{"Label2"_L1, {104, 112, 33, 17}, "Green:"_L1};
inline constexpr ControlLayout GreenSlider{"Slider2"_L1, {96, 128, 153, 17}, {}, "Green"_L1};
inline constexpr ControlLayout BlueLabel{"Label3"_L1, {104, 152, 25, 17}, "Blue:"_L1};
inline constexpr ControlLayout BlueSlider{"Slider3"_L1, {96, 168, 153, 17}, {}, "Blue"_L1};
inline constexpr ControlLayout OpacityLabel{"Label7"_L1, {16, 208, 41, 17}, "Opacity:"_L1};
inline constexpr ControlLayout OpacitySlider{"Slider4"_L1, {56, 208, 193, 17}, {}, "Opacity"_L1};
inline constexpr ControlLayout CodeLabel{"Label8"_L1, {16, 240, 65, 17}, "Skin.ini Code:"_L1};
inline constexpr ControlLayout CodeEdit{"Text7"_L1, {88, 240, 153, 19}, {}, "Colour code"_L1};
// The buttons belong to the window and lie in front of the colour frame's lower part.
inline constexpr ControlLayout RestoreButton{
    "Command2"_L1, {24, 280, 105, 25}, "Restore Defaults"_L1};
inline constexpr ControlLayout ApplyButton{"Command1"_L1, {144, 280, 105, 25}, "Apply Change"_L1};
inline constexpr ControlLayout SkinFrame{"Frame2"_L1, {272, 8, 241, 305}, "Skin.ini"_L1};
// Inside the skin frame.
inline constexpr ControlLayout SkinText{"Text5"_L1, {16, 24, 209, 267}, {}, "Skin text"_L1};

inline constexpr int ColourMaximum = 255;
inline constexpr int OpacityMaximum = 100;
} // namespace EditorControls
