#include "preview/PreviewLayout.h"

#include "skin/SkinItems.h"

using namespace Qt::Literals::StringLiterals;

namespace {
constexpr auto Regular = SceneText::Weight::Regular;
constexpr auto Bold = SceneText::Weight::Bold;
constexpr auto Square = SceneShape::Corners::Square;
constexpr auto Rounded = SceneShape::Corners::Rounded;
constexpr auto Panels = BlendPhase::OverBackground;
constexpr auto Bars = BlendPhase::OverPanels;
} // namespace

const std::array<TextRole, 13> TextRoles = {{
    {"Label1",
     "Label24",
     {192, 12, 97, 25},
     19,
     Regular,
     Row::TitleColour,
     "Title Color"_L1,
     "Zelvik Cache Editor"_L1},
    {"Label5",
     "Label26",
     {193, 13, 97, 25},
     19,
     Regular,
     Row::Shadow,
     "Title Color"_L1,
     "Zelvik Cache Editor"_L1},
    {"Label13",
     "Label4",
     {56, 41, 337, 17},
     15,
     Bold,
     Row::TextColour,
     "text color"_L1,
     "Dunmarch"_L1},
    {"Label9",
     "Label19",
     {56, 68, 369, 25},
     16,
     Bold,
     Row::SectionTextColour,
     "section text                          section text"_L1,
     "Projectiles                            Page 1/X"_L1},
    {"Label6", "Label22", {56, 88, 65, 17}, 13, Bold, Row::TextColour, "text color"_L1, "AR"_L1},
    {"Label12",
     "Label16",
     {56, 112, 153, 17},
     13,
     Bold,
     Row::ChangeTextColour,
     "change to text color"_L1,
     "Pistol"_L1},
    {"Label11",
     "Label17",
     {56, 144, 153, 17},
     13,
     Bold,
     Row::SelectedTextColour,
     "select item text color"_L1,
     "Sniper"_L1},
    {"Label10",
     "Label18",
     {248, 144, 153, 17},
     13,
     Bold,
     Row::SelectedTextColour,
     "select item text color"_L1,
     "Sniper"_L1},
    {"Label2",
     "Label25",
     {80, 200, 161, 17},
     16,
     Bold,
     Row::MenuTitleColour,
     " pop-up title"_L1,
     " Select cache file..."_L1},
    {"Label14",
     "Label15",
     {80, 218, 97, 17},
     13,
     Bold,
     Row::TextColour,
     "text color"_L1,
     "cache001.map"_L1},
    {"Label8",
     "Label20",
     {80, 232, 153, 17},
     13,
     Bold,
     Row::MenuSelectedColour,
     "selected color"_L1,
     "cache002.map"_L1},
    {"Label7",
     "Label21",
     {80, 246, 153, 17},
     13,
     Bold,
     Row::NotSupported,
     "not supported text"_L1,
     "cache003.map"_L1},
    {"Label3",
     "Label23",
     {56, 315, 137, 17},
     13,
     Bold,
     Row::BottomTextColour,
     "bottom text"_L1,
     "Region: NTSC"_L1},
}};

const std::array<ShapeRole, 7> ShapeRoles = {{
    {"Shape", "Shape11", {48, 64, 188.27, 251.27}, Square, Row::RectBg, Row::RectOutline, Panels},
    {"Shape2", "Shape10", {240, 64, 188.27, 251.27}, Square, Row::RectBg, Row::RectOutline, Panels},
    {"Shape3", "Shape13", {48, 37.47, 380, 25}, Square, Row::RectBg, Row::RectOutline, Panels},
    {"Shape6", "Shape7", {50, 112, 184, 17}, Rounded, Row::ChangeColour, Row::ChangeOutline, Bars},
    {"Shape4", "Shape9", {242, 144, 184, 17}, Rounded, Row::SelectColour, Row::SelectOutline, Bars},
    {"Shape5", "Shape8", {50, 144, 184, 17}, Rounded, Row::SelectColour, Row::SelectOutline, Bars},
    {"Shape1",
     "Shape12",
     {72, 200, 313, 65},
     Square,
     Row::MenuBgColour,
     Row::MenuOutlineColour,
     Bars},
}};

TitlePlacement titlePlacement(TextMode mode, size_t role)
{
    // The shadow always lies one pixel right of the title.
    const double shift = role == TitleShadowRole ? 1 : 0;
    return mode == TextMode::Skinning ? TitlePlacement{192 + shift, 97}
                                      : TitlePlacement{160 + shift, 169};
}

const std::array<const char *, 20> ColourSceneStacking = {
    "Shape6",  "Shape5",  "Shape4",  "Shape2", "Label13", "Shape",  "Label14",
    "Label12", "Label11", "Label10", "Shape1", "Label9",  "Label8", "Label7",
    "Label6",  "Label3",  "Label1",  "Label2", "Shape3",  "Label5",
};

const std::array<const char *, 20> PictureSceneStacking = {
    "Shape13", "Label25", "Label24", "Label23", "Label22", "Label21", "Label20",
    "Label19", "Shape12", "Label18", "Label17", "Label16", "Label15", "Shape11",
    "Label4",  "Shape10", "Shape9",  "Shape8",  "Shape7",  "Label26",
};
