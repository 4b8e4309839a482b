#pragma once

#include "skin/SkinItems.h"

#include <QString>

#include <array>

// The skin's colour codes, one text per row of the item list. Codes are stored as
// given and only interpreted when converted; rows outside the list are an error.
class ColourTable
{
public:
    // A code is ten characters; a file may hold one of a megabyte on a line. Codes are cut
    // after this many, so that whatever a table is written as (a working skin, a package
    // skin with both its blocks) is a file the reader takes again.
    static constexpr qsizetype LongestCode = 16 * 1024;

    const QString &at(int row) const;
    void set(int row, const QString &code);

    friend bool operator==(const ColourTable &, const ColourTable &) = default;

private:
    std::array<QString, ItemCount> m_codes;
};
