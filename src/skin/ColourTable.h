#pragma once

#include "skin/SkinItems.h"

#include <QString>

#include <array>

// The skin's colour codes, one text per row of the item list. Codes are stored as
// given and only interpreted when converted; rows outside the list are an error.
class ColourTable
{
public:
    const QString &at(int row) const;
    void set(int row, const QString &code);

    friend bool operator==(const ColourTable &, const ColourTable &) = default;

private:
    std::array<QString, ItemCount> m_codes;
};
