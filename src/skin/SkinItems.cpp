#include "skin/SkinItems.h"

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr SkinItem header(QLatin1StringView label)
{
    return {label, ItemKind::Header, {}, Opacity::Fixed};
}
constexpr SkinItem separator(QLatin1StringView label)
{
    return {label, ItemKind::Separator, {}, Opacity::Fixed};
}
constexpr SkinItem blank()
{
    return {""_L1, ItemKind::Blank, {}, Opacity::Fixed};
}
constexpr SkinItem color(QLatin1StringView label, QLatin1StringView key, Opacity o = Opacity::Fixed)
{
    return {label, ItemKind::Color, key, o};
}

} // namespace

const std::array<SkinItem, ItemCount> SkinItems = {{
    header("[ Backgrounds ]"_L1),
    separator("----------"_L1),
    color("BG Color 1"_L1, "BgColor1"_L1),
    color("BG Color 2"_L1, "BgColor2"_L1),
    color("Menu BG"_L1, "RectBg"_L1, Opacity::Translucent),
    color("Menu Outline"_L1, "RectOutline"_L1),
    blank(),
    header("[ Text Colors ]"_L1),
    separator("-----------"_L1),
    color("Title Color"_L1, "TitleColor"_L1),
    color("Section Text Color"_L1, "SectionTextColor"_L1),
    color("Text Color"_L1, "TextColor"_L1),
    color("Bottom Text Color"_L1, "BottomTextColor"_L1),
    color("Title Shadow"_L1, "Shadow"_L1, Opacity::Translucent),
    blank(),
    header("[ Selection Colors ]"_L1),
    separator("----------------"_L1),
    color("Select Item Color"_L1, "SelectColor"_L1, Opacity::Translucent),
    color("Select Item Outline"_L1, "SelectOutline"_L1),
    color("Selected Item Text Color"_L1, "SelectedTextColor"_L1),
    color("Change To Item Color"_L1, "ChangeColor"_L1, Opacity::Translucent),
    color("Change To Item Outline"_L1, "ChangeOutline"_L1),
    color("Change To Item Text Color"_L1, "ChangeTextColor"_L1),
    blank(),
    header("[ Popup Menu ]"_L1),
    separator("----------"_L1),
    color("Pop-up Title Color"_L1, "MenuTitleColor"_L1),
    color("Pop-Up BG Color"_L1, "MenuBgColor"_L1, Opacity::Translucent),
    color("Pop-Up Outline Color"_L1, "MenuOutlineColor"_L1),
    color("Pop-Up Selected Color"_L1, "MenuSelectedColor"_L1),
    color("Not Supported Color"_L1, "NotSupported"_L1),
}};

const std::array<int, 20> SkinFileOrder = {
    Row::BgColor1,
    Row::BgColor2,
    Row::TitleColor,
    Row::Shadow,
    Row::RectBg,
    Row::RectOutline,
    Row::TextColor,
    Row::SelectColor,
    Row::SelectOutline,
    Row::ChangeColor,
    Row::ChangeOutline,
    Row::ChangeTextColor,
    Row::SelectedTextColor,
    Row::BottomTextColor,
    Row::SectionTextColor,
    Row::MenuTitleColor,
    Row::MenuBgColor,
    Row::MenuOutlineColor,
    Row::MenuSelectedColor,
    Row::NotSupported,
};

int rowOfKey(QStringView key)
{
    // Lines come from 8-bit files, where case-insensitive equality with an ASCII key is
    // exactly equality after lowering the line's key.
    for (int row = 0; row < ItemCount; ++row) {
        const SkinItem &item = SkinItems[static_cast<size_t>(row)];
        if (item.isColor() && key.compare(item.key, Qt::CaseInsensitive) == 0)
            return row;
    }
    return -1;
}
