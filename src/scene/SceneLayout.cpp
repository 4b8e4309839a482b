#include "scene/SceneLayout.h"

using namespace Qt::Literals::StringLiterals;

namespace {

using enum Role;
using enum ElementKind;
constexpr auto Bold = Weight::Bold;
constexpr auto Panels = BlendPhase::OverBackground;
constexpr auto Bars = BlendPhase::OverPanels;

constexpr std::array<ElementLayout, RoleCount> Layout = {{
    {.role = TitleText,
     .kind = Text,
     .names = {"Label1", "Label24"},
     .geometry = {192, 12, 97, 25},
     .pixelSize = 19,
     .textRow = Row::TitleColour,
     .skinningText = "Title Color"_L1,
     .actualText = "Zelvik Cache Editor"_L1,
     .actualSpan = Span{160, 169}},
    // One pixel right of and below the title, in both modes.
    {.role = TitleShadow,
     .kind = Text,
     .names = {"Label5", "Label26"},
     .geometry = {193, 13, 97, 25},
     .pixelSize = 19,
     .textRow = Row::Shadow,
     .skinningText = "Title Color"_L1,
     .actualText = "Zelvik Cache Editor"_L1,
     .actualSpan = Span{161, 169}},
    {.role = TitleBar,
     .kind = Rectangle,
     .names = {"Shape3", "Shape13"},
     .geometry = {48, 37.47, 380, 25},
     .fillRow = Row::RectBg,
     .outlineRow = Row::RectOutline,
     .phase = Panels},
    {.role = HeaderLine,
     .kind = Text,
     .names = {"Label13", "Label4"},
     .geometry = {56, 41, 337, 17},
     .pixelSize = 15,
     .weight = Bold,
     .textRow = Row::TextColour,
     .skinningText = "text color"_L1,
     .actualText = "Dunmarch"_L1},
    {.role = LeftPanel,
     .kind = Rectangle,
     .names = {"Shape", "Shape11"},
     .geometry = {48, 64, 188.27, 251.27},
     .fillRow = Row::RectBg,
     .outlineRow = Row::RectOutline,
     .phase = Panels},
    {.role = RightPanel,
     .kind = Rectangle,
     .names = {"Shape2", "Shape10"},
     .geometry = {240, 64, 188.27, 251.27},
     .fillRow = Row::RectBg,
     .outlineRow = Row::RectOutline,
     .phase = Panels},
    {.role = SectionLine,
     .kind = Text,
     .names = {"Label9", "Label19"},
     .geometry = {56, 68, 369, 25},
     .pixelSize = 16,
     .weight = Bold,
     .textRow = Row::SectionTextColour,
     .skinningText = "section text                          section text"_L1,
     .actualText = "Projectiles                            Page 1/X"_L1},
    {.role = FirstListLine,
     .kind = Text,
     .names = {"Label6", "Label22"},
     .geometry = {56, 88, 65, 17},
     .pixelSize = 13,
     .weight = Bold,
     .textRow = Row::TextColour,
     .skinningText = "text color"_L1,
     .actualText = "AR"_L1},
    {.role = ChangeBar,
     .kind = RoundedRectangle,
     .names = {"Shape6", "Shape7"},
     .geometry = {50, 112, 184, 17},
     .fillRow = Row::ChangeColour,
     .outlineRow = Row::ChangeOutline,
     .phase = Bars},
    {.role = ChangeLine,
     .kind = Text,
     .names = {"Label12", "Label16"},
     .geometry = {56, 112, 153, 17},
     .pixelSize = 13,
     .weight = Bold,
     .textRow = Row::ChangeTextColour,
     .skinningText = "change to text color"_L1,
     .actualText = "Pistol"_L1},
    {.role = LeftSelectionBar,
     .kind = RoundedRectangle,
     .names = {"Shape5", "Shape8"},
     .geometry = {50, 144, 184, 17},
     .fillRow = Row::SelectColour,
     .outlineRow = Row::SelectOutline,
     .phase = Bars},
    {.role = LeftSelectedLine,
     .kind = Text,
     .names = {"Label11", "Label17"},
     .geometry = {56, 144, 153, 17},
     .pixelSize = 13,
     .weight = Bold,
     .textRow = Row::SelectedTextColour,
     .skinningText = "select item text color"_L1,
     .actualText = "Sniper"_L1},
    {.role = RightSelectionBar,
     .kind = RoundedRectangle,
     .names = {"Shape4", "Shape9"},
     .geometry = {242, 144, 184, 17},
     .fillRow = Row::SelectColour,
     .outlineRow = Row::SelectOutline,
     .phase = Bars},
    {.role = RightSelectedLine,
     .kind = Text,
     .names = {"Label10", "Label18"},
     .geometry = {248, 144, 153, 17},
     .pixelSize = 13,
     .weight = Bold,
     .textRow = Row::SelectedTextColour,
     .skinningText = "select item text color"_L1,
     .actualText = "Sniper"_L1},
    {.role = PopupBox,
     .kind = Rectangle,
     .names = {"Shape1", "Shape12"},
     .geometry = {72, 200, 313, 65},
     .fillRow = Row::MenuBgColour,
     .outlineRow = Row::MenuOutlineColour,
     .phase = Bars},
    {.role = PopupTitle,
     .kind = Text,
     .names = {"Label2", "Label25"},
     .geometry = {80, 200, 161, 17},
     .pixelSize = 16,
     .weight = Bold,
     .textRow = Row::MenuTitleColour,
     .skinningText = " pop-up title"_L1,
     .actualText = " Select cache file..."_L1},
    {.role = PopupFirstRow,
     .kind = Text,
     .names = {"Label14", "Label15"},
     .geometry = {80, 218, 97, 17},
     .pixelSize = 13,
     .weight = Bold,
     .textRow = Row::TextColour,
     .skinningText = "text color"_L1,
     .actualText = "cache001.map"_L1},
    {.role = PopupSelectedRow,
     .kind = Text,
     .names = {"Label8", "Label20"},
     .geometry = {80, 232, 153, 17},
     .pixelSize = 13,
     .weight = Bold,
     .textRow = Row::MenuSelectedColour,
     .skinningText = "selected color"_L1,
     .actualText = "cache002.map"_L1},
    {.role = PopupUnsupportedRow,
     .kind = Text,
     .names = {"Label7", "Label21"},
     .geometry = {80, 246, 153, 17},
     .pixelSize = 13,
     .weight = Bold,
     .textRow = Row::NotSupported,
     .skinningText = "not supported text"_L1,
     .actualText = "cache003.map"_L1},
    {.role = BottomLine,
     .kind = Text,
     .names = {"Label3", "Label23"},
     .geometry = {56, 315, 137, 17},
     .pixelSize = 13,
     .weight = Bold,
     .textRow = Row::BottomTextColour,
     .skinningText = "bottom text"_L1,
     .actualText = "Region: NTSC"_L1},
}};

constexpr bool indexedByRole()
{
    for (size_t i = 0; i < Layout.size(); ++i) {
        if (Layout[i].role != Role(i))
            return false;
    }
    return true;
}
static_assert(indexedByRole(), "the layout lists every role once, in the order of the enum");

constexpr std::array<std::array<Role, RoleCount>, SceneCount> Stacking = {{
    {ChangeBar,        LeftSelectionBar,    RightSelectionBar, RightPanel,
     HeaderLine,       LeftPanel,           PopupFirstRow,     ChangeLine,
     LeftSelectedLine, RightSelectedLine,   PopupBox,          SectionLine,
     PopupSelectedRow, PopupUnsupportedRow, FirstListLine,     BottomLine,
     TitleText,        PopupTitle,          TitleBar,          TitleShadow},
    {TitleBar,          PopupTitle,          TitleText,        BottomLine,
     FirstListLine,     PopupUnsupportedRow, PopupSelectedRow, SectionLine,
     PopupBox,          RightSelectedLine,   LeftSelectedLine, ChangeLine,
     PopupFirstRow,     LeftPanel,           HeaderLine,       RightPanel,
     RightSelectionBar, LeftSelectionBar,    ChangeBar,        TitleShadow},
}};

} // namespace

QRectF ElementLayout::box(TextMode mode) const
{
    QRectF box = geometry;
    if (mode == TextMode::Actual && actualSpan) {
        box.moveLeft(actualSpan->left);
        box.setWidth(actualSpan->width);
    }
    return box;
}

const ElementLayout &layoutOf(Role role)
{
    return Layout[size_t(role)];
}

std::span<const ElementLayout, RoleCount> sceneLayout()
{
    return Layout;
}

std::span<const Role, RoleCount> stacking(SceneKind scene)
{
    return Stacking[size_t(scene)];
}
