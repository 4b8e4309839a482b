#include "skin/Conversions.h"

#include "skin/ColourTable.h"

#include "platform/Error.h"
#include "platform/Numeric.h"

#include <limits>

#include <QCoreApplication>

namespace {

constexpr double OpacityFactor = 2.55;

QString twoDigits(int value)
{
    QString digits = QString::number(value, 16).toUpper();
    if (value < 16)
        digits.prepend(QLatin1Char('0'));
    return digits;
}

// One or two hex digits, nothing else; nothing for any other text.
std::optional<int> strictByte(QStringView pair)
{
    if (pair.isEmpty())
        return std::nullopt;
    int value = 0;
    for (QChar c : pair) {
        const int digit = hexDigitValue(c);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + digit;
    }
    return value;
}

// Each channel's reasons are whole sentences, so that a language may word them its own way.
struct Channel
{
    qsizetype at;        // 1-based position of its digits in a code
    const char *missing; // a code too short to hold its digits
    const char *notHex;  // its digits, %1, are not hexadecimal
};
constexpr Channel Channels[] = {
    {5, QT_TRANSLATE_NOOP("Conversions", "it has no red digits"),
     QT_TRANSLATE_NOOP("Conversions", "the red \"%1\" is not hexadecimal")},
    {7, QT_TRANSLATE_NOOP("Conversions", "it has no green digits"),
     QT_TRANSLATE_NOOP("Conversions", "the green \"%1\" is not hexadecimal")},
    {9, QT_TRANSLATE_NOOP("Conversions", "it has no blue digits"),
     QT_TRANSLATE_NOOP("Conversions", "the blue \"%1\" is not hexadecimal")},
};

int channelOf(QStringView code, const Channel &channel)
{
    const std::optional<int> value = strictByte(mid1(code, channel.at, 2));
    if (!value)
        throw Error::typeMismatch();
    return *value;
}

Components decoded(const ColourTable &table, int row)
{
    const std::optional<Components> parts = colourFromCode(table.at(row));
    // An empty code has no components to take the first of.
    if (!parts)
        throw Error::subscriptOutOfRange();
    return *parts;
}

} // namespace

int hexDigitValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

QString codeFromColour(std::int16_t opacity, std::uint8_t red, std::uint8_t green,
                       std::uint8_t blue)
{
    QString digits = QString::number(opacityByte(opacity), 16).toUpper();
    if (opacity < 7)
        digits.prepend(QLatin1Char('0'));
    return QLatin1String("0x") + digits + twoDigits(red) + twoDigits(green) + twoDigits(blue);
}

std::int64_t opacityByte(std::int16_t percent)
{
    return roundHalfEven(percent * OpacityFactor);
}

QString codeFromBytes(std::uint8_t opacity, std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    return QLatin1String("0x") + twoDigits(opacity) + twoDigits(red) + twoDigits(green) +
           twoDigits(blue);
}

std::int32_t lenientHex(QStringView text)
{
    std::int64_t value = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int count = std::max(hexDigitValue(text[i]), 0);
        value += count;
        if (i + 1 < text.size())
            value *= 16;
        if (value > std::numeric_limits<std::int32_t>::max())
            throw Error::overflow();
    }
    return static_cast<std::int32_t>(value);
}

int opacityPercent(QStringView digits)
{
    return static_cast<int>(roundHalfEven(lenientHex(digits) / OpacityFactor));
}

std::optional<Components> colourFromCode(QStringView code)
{
    if (code.isEmpty())
        return std::nullopt;
    return Components{
        opacityPercent(mid1(code, 3, 2)),
        channelOf(code, Channels[0]),
        channelOf(code, Channels[1]),
        channelOf(code, Channels[2]),
    };
}

QString whyNotDrawable(QStringView code)
{
    if (code.isEmpty())
        return QCoreApplication::translate("Conversions", "the code is empty");
    for (const Channel &channel : Channels) {
        const QStringView pair = mid1(code, channel.at, 2);
        if (pair.isEmpty())
            return QCoreApplication::translate("Conversions", channel.missing);
        if (!strictByte(pair))
            return QCoreApplication::translate("Conversions", channel.notHex).arg(pair);
    }
    return {};
}

DisplayColour displayColourOf(const ColourTable &table, int row)
{
    const Components c = decoded(table, row);
    return displayColour({c.red, c.green, c.blue});
}

float opacityOf(const ColourTable &table, int row)
{
    // The quotient is formed in double and stored as single, as the blend expects.
    return static_cast<float>(decoded(table, row).opacity / 100.0);
}
