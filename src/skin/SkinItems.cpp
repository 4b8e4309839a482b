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
constexpr SkinItem colour(QLatin1StringView label, QLatin1StringView key,
                          Opacity o = Opacity::Fixed)
{
    return {label, ItemKind::Colour, key, o};
}

} // namespace

const std::array<SkinItem, ItemCount> SkinItems = {{
    header("[ Backgrounds ]"_L1),
    separator("----------"_L1),
    colour("BG Color 1"_L1, "BgColor1"_L1),
    colour("BG Color 2"_L1, "BgColor2"_L1),
    colour("Menu BG"_L1, "RectBg"_L1, Opacity::Translucent),
    colour("Menu Outline"_L1, "RectOutline"_L1),
    blank(),
    header("[ Text Colors ]"_L1),
    separator("-----------"_L1),
    colour("Title Color"_L1, "TitleColor"_L1),
    colour("Section Text Color"_L1, "SectionTextColor"_L1),
    colour("Text Color"_L1, "TextColor"_L1),
    colour("Bottom Text Color"_L1, "BottomTextColor"_L1),
    colour("Title Shadow"_L1, "Shadow"_L1, Opacity::Translucent),
    blank(),
    header("[ Selection Colors ]"_L1),
    separator("----------------"_L1),
    colour("Select Item Color"_L1, "SelectColor"_L1, Opacity::Translucent),
    colour("Select Item Outline"_L1, "SelectOutline"_L1),
    colour("Selected Item Text Color"_L1, "SelectedTextColor"_L1),
    colour("Change To Item Color"_L1, "ChangeColor"_L1, Opacity::Translucent),
    colour("Change To Item Outline"_L1, "ChangeOutline"_L1),
    colour("Change To Item Text Color"_L1, "ChangeTextColor"_L1),
    blank(),
    header("[ Popup Menu ]"_L1),
    separator("----------"_L1),
    colour("Pop-up Title Color"_L1, "MenuTitleColor"_L1),
    colour("Pop-Up BG Color"_L1, "MenuBgColor"_L1, Opacity::Translucent),
    colour("Pop-Up Outline Color"_L1, "MenuOutlineColor"_L1),
    colour("Pop-Up Selected Color"_L1, "MenuSelectedColor"_L1),
    colour("Not Supported Color"_L1, "NotSupported"_L1),
}};

int rowOfKey(QStringView key)
{
    // Lines come from 8-bit files, where case-insensitive equality with an ASCII key is
    // exactly equality after lowering the line's key.
    for (int row = 0; row < ItemCount; ++row) {
        const SkinItem &item = SkinItems[static_cast<size_t>(row)];
        if (item.isColour() && key.compare(item.key, Qt::CaseInsensitive) == 0)
            return row;
    }
    return -1;
}
