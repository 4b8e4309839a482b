#pragma once

#include "platform/DisplayColor.h"

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

class ColorTable;

// A colour code is "0x" and eight hexadecimal digits AARRGGBB. Only characters 3 to 10
// are read; the opacity byte is shown as a percentage, converted with the factor 2.55.

struct Components
{
    int opacity; // percent, 0..100
    int red;
    int green;
    int blue;

    friend bool operator==(const Components &, const Components &) = default;
};

// Ten characters: "0x" and upper-case digits. `o` is a percentage 0..100.
QString rgbtohex(std::int16_t o, std::uint8_t r, std::uint8_t g, std::uint8_t b);

// Nothing for the empty code. Opacity digits are read leniently (see hextodec); red,
// green and blue must each be one or two hex digits, else Error type mismatch.
std::optional<Components> hextorgb(QStringView hexcolor);

// Lenient: characters that are not hex digits count 0; the empty text is 0. Throws
// Error overflow past 32 bits.
std::int32_t hextodec(QStringView text);

// The lenient reading of a percentage from two opacity digits.
int opacityPercent(QStringView digits);

// Display colour and opacity (0..1) of a row. Throw Error for a row out of range, an
// empty code, or colour digits that are not hexadecimal.
DisplayColor SetColor(const ColorTable &table, int x);
float SetTrans(const ColorTable &table, int x);
