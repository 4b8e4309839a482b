#pragma once

#include <QLatin1StringView>

#include <array>

// The rows of the editor's item list. A row's index is its place in the list and its
// entry in the colour table.
enum class ItemKind
{
    Header,
    Separator,
    Blank,
    Color
};
enum class Opacity
{
    Fixed,
    Translucent
};

struct SkinItem
{
    QLatin1StringView label;
    ItemKind kind;
    QLatin1StringView key; // as written in a skin file; matched in lower case
    Opacity opacity;

    constexpr bool isColor() const { return kind == ItemKind::Color; }
    constexpr bool isTranslucent() const { return opacity == Opacity::Translucent; }
};

inline constexpr int ItemCount = 31;

// Named rows of the colour items, for the code that colours and edits them.
namespace Row {
inline constexpr int BgColor1 = 2;
inline constexpr int BgColor2 = 3;
inline constexpr int RectBg = 4;
inline constexpr int RectOutline = 5;
inline constexpr int TitleColor = 9;
inline constexpr int SectionTextColor = 10;
inline constexpr int TextColor = 11;
inline constexpr int BottomTextColor = 12;
inline constexpr int Shadow = 13;
inline constexpr int SelectColor = 17;
inline constexpr int SelectOutline = 18;
inline constexpr int SelectedTextColor = 19;
inline constexpr int ChangeColor = 20;
inline constexpr int ChangeOutline = 21;
inline constexpr int ChangeTextColor = 22;
inline constexpr int MenuTitleColor = 26;
inline constexpr int MenuBgColor = 27;
inline constexpr int MenuOutlineColor = 28;
inline constexpr int MenuSelectedColor = 29;
inline constexpr int NotSupported = 30;
} // namespace Row

extern const std::array<SkinItem, ItemCount> SkinItems;

// The twenty colour rows in the order skin files list them.
extern const std::array<int, 20> SkinFileOrder;

// The row whose key matches `key` (compared in lower case, nothing trimmed), or -1.
int rowOfKey(QStringView key);
