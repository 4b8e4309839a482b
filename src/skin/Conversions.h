#pragma once

#include "platform/DisplayColour.h"

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

class ColourTable;

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

// Ten characters: "0x" and upper-case digits. `opacity` is a percentage 0..100.
QString codeFromColour(std::int16_t opacity, std::uint8_t red, std::uint8_t green,
                       std::uint8_t blue);

// The opacity byte of a percentage, as a code holds it.
std::int64_t opacityByte(std::int16_t percent);

// Ten characters: "0x" and upper-case digits, the opacity given as its byte.
QString codeFromBytes(std::uint8_t opacity, std::uint8_t red, std::uint8_t green,
                      std::uint8_t blue);

// Nothing for the empty code. Opacity digits are read leniently (see lenientHex); red,
// green and blue must each be one or two hex digits, else Error type mismatch.
std::optional<Components> colourFromCode(QStringView code);

// Why a code cannot be drawn, in words ("the green "ZZ" is not hexadecimal"), or the
// empty text when it can: exactly when displayColourOf and opacityOf fail for it. The
// text quotes the code's characters as they are.
QString whyNotDrawable(QStringView code);

// 0 to 15 for a hexadecimal digit of either case, -1 for any other character.
int hexDigitValue(QChar c);

// Hexadecimal read leniently: characters that are not hex digits count 0; the empty
// text is 0. Throws Error overflow past 32 bits.
std::int32_t lenientHex(QStringView text);

// The lenient reading of a percentage from two opacity digits.
int opacityPercent(QStringView digits);

// Display colour and opacity (0..1) of a row. Throw Error for a row out of range, an
// empty code, or colour digits that are not hexadecimal.
DisplayColour displayColourOf(const ColourTable &table, int row);
float opacityOf(const ColourTable &table, int row);
