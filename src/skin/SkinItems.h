#pragma once

#include <QLatin1StringView>
#include <QString>

#include <array>

// The rows of the editor's item list. A row's index is its place in the list and its
// entry in the colour table.
enum class ItemKind
{
    Header,
    Separator,
    Blank,
    Colour
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

    constexpr bool isColour() const { return kind == ItemKind::Colour; }
    constexpr bool isTranslucent() const { return opacity == Opacity::Translucent; }
};

inline constexpr int ItemCount = 31;

// Named rows of the colour items, for the code that colours and edits them.
namespace Row {
inline constexpr int BgColour1 = 2;
inline constexpr int BgColour2 = 3;
inline constexpr int RectBg = 4;
inline constexpr int RectOutline = 5;
inline constexpr int TitleColour = 9;
inline constexpr int SectionTextColour = 10;
inline constexpr int TextColour = 11;
inline constexpr int BottomTextColour = 12;
inline constexpr int Shadow = 13;
inline constexpr int SelectColour = 17;
inline constexpr int SelectOutline = 18;
inline constexpr int SelectedTextColour = 19;
inline constexpr int ChangeColour = 20;
inline constexpr int ChangeOutline = 21;
inline constexpr int ChangeTextColour = 22;
inline constexpr int MenuTitleColour = 26;
inline constexpr int MenuBgColour = 27;
inline constexpr int MenuOutlineColour = 28;
inline constexpr int MenuSelectedColour = 29;
inline constexpr int NotSupported = 30;
} // namespace Row

extern const std::array<SkinItem, ItemCount> SkinItems;

// The twenty colour rows in the order skin files list them.
inline constexpr std::array<int, 20> SkinFileOrder = {
    Row::BgColour1,
    Row::BgColour2,
    Row::TitleColour,
    Row::Shadow,
    Row::RectBg,
    Row::RectOutline,
    Row::TextColour,
    Row::SelectColour,
    Row::SelectOutline,
    Row::ChangeColour,
    Row::ChangeOutline,
    Row::ChangeTextColour,
    Row::SelectedTextColour,
    Row::BottomTextColour,
    Row::SectionTextColour,
    Row::MenuTitleColour,
    Row::MenuBgColour,
    Row::MenuOutlineColour,
    Row::MenuSelectedColour,
    Row::NotSupported,
};

// The row whose key matches `key` (compared in lower case, nothing trimmed), or -1.
int rowOfKey(QStringView key);

// The label as the user reads it, in the user's language; separators stay as they are.
QString shownLabel(const SkinItem &item);
