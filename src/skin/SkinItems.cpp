#include "skin/SkinItems.h"

#include <QCoreApplication>

using namespace Qt::Literals::StringLiterals;

namespace {

// Labels are marked for translation, and shown through shownLabel().
constexpr SkinItem header(const char *label)
{
    return {QLatin1StringView(label), ItemKind::Header, {}, Opacity::Fixed};
}
constexpr SkinItem separator(QLatin1StringView label)
{
    return {label, ItemKind::Separator, {}, Opacity::Fixed};
}
constexpr SkinItem blank()
{
    return {""_L1, ItemKind::Blank, {}, Opacity::Fixed};
}
constexpr SkinItem colour(const char *label, QLatin1StringView key, Opacity o = Opacity::Fixed)
{
    return {QLatin1StringView(label), ItemKind::Colour, key, o};
}

} // namespace

const std::array<SkinItem, ItemCount> SkinItems = {{
    header(QT_TRANSLATE_NOOP("SkinItems", "[ Backgrounds ]")),
    separator("----------"_L1),
    colour(QT_TRANSLATE_NOOP("SkinItems", "BG Color 1"), "BgColor1"_L1),
    colour(QT_TRANSLATE_NOOP("SkinItems", "BG Color 2"), "BgColor2"_L1),
    colour(QT_TRANSLATE_NOOP("SkinItems", "Menu BG"), "RectBg"_L1, Opacity::Translucent),
    colour(QT_TRANSLATE_NOOP("SkinItems", "Menu Outline"), "RectOutline"_L1),
    blank(),
    header(QT_TRANSLATE_NOOP("SkinItems", "[ Text Colors ]")),
    separator("-----------"_L1),
    colour(QT_TRANSLATE_NOOP("SkinItems", "Title Color"), "TitleColor"_L1),
    colour(QT_TRANSLATE_NOOP("SkinItems", "Section Text Color"), "SectionTextColor"_L1),
    colour(QT_TRANSLATE_NOOP("SkinItems", "Text Color"), "TextColor"_L1),
    colour(QT_TRANSLATE_NOOP("SkinItems", "Bottom Text Color"), "BottomTextColor"_L1),
    colour(QT_TRANSLATE_NOOP("SkinItems", "Title Shadow"), "Shadow"_L1, Opacity::Translucent),
    blank(),
    header(QT_TRANSLATE_NOOP("SkinItems", "[ Selection Colors ]")),
    separator("----------------"_L1),
    colour(QT_TRANSLATE_NOOP("SkinItems", "Select Item Color"), "SelectColor"_L1,
           Opacity::Translucent),
    colour(QT_TRANSLATE_NOOP("SkinItems", "Select Item Outline"), "SelectOutline"_L1),
    colour(QT_TRANSLATE_NOOP("SkinItems", "Selected Item Text Color"), "SelectedTextColor"_L1),
    colour(QT_TRANSLATE_NOOP("SkinItems", "Change To Item Color"), "ChangeColor"_L1,
           Opacity::Translucent),
    colour(QT_TRANSLATE_NOOP("SkinItems", "Change To Item Outline"), "ChangeOutline"_L1),
    colour(QT_TRANSLATE_NOOP("SkinItems", "Change To Item Text Color"), "ChangeTextColor"_L1),
    blank(),
    header(QT_TRANSLATE_NOOP("SkinItems", "[ Popup Menu ]")),
    separator("----------"_L1),
    colour(QT_TRANSLATE_NOOP("SkinItems", "Pop-up Title Color"), "MenuTitleColor"_L1),
    colour(QT_TRANSLATE_NOOP("SkinItems", "Pop-Up BG Color"), "MenuBgColor"_L1,
           Opacity::Translucent),
    colour(QT_TRANSLATE_NOOP("SkinItems", "Pop-Up Outline Color"), "MenuOutlineColor"_L1),
    colour(QT_TRANSLATE_NOOP("SkinItems", "Pop-Up Selected Color"), "MenuSelectedColor"_L1),
    colour(QT_TRANSLATE_NOOP("SkinItems", "Not Supported Color"), "NotSupported"_L1),
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

QString shownLabel(const SkinItem &item)
{
    return item.label.isEmpty() || item.kind == ItemKind::Separator
               ? item.label.toString()
               : QCoreApplication::translate("SkinItems", item.label.data());
}
