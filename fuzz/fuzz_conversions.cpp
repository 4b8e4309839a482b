// Arbitrary texts through the colour conversions: results stay in their ranges, the
// only failures are the defined errors, and codes made by rgbtohex read back exactly.
#include "FuzzSupport.h"

#include "skin/ColourTable.h"
#include "skin/Conversions.h"

#include "platform/Error.h"

#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Half the inputs as 8-bit text, as files hold it; half as UTF-16, as typed.
    const bool wide = size > 0 && (data[0] & 1);
    QString text;
    if (wide) {
        std::u16string units((size - 1) / 2, u'\0');
        std::memcpy(units.data(), data + 1, units.size() * 2);
        text = QString::fromStdU16String(units);
    } else {
        text =
            QString::fromLatin1(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    }
    try {
        FUZZ_CHECK(lenientHex(text) >= 0);
    } catch (const Error &e) {
        FUZZ_CHECK(e.code() == Error::Overflow && text.size() > 7);
    }
    try {
        const std::optional<Components> parts = colourFromCode(text);
        FUZZ_CHECK(parts.has_value() == !text.isEmpty());
        if (!parts)
            return 0;
        FUZZ_CHECK(parts->opacity >= 0 && parts->opacity <= 100);
        for (int c : {parts->red, parts->green, parts->blue})
            FUZZ_CHECK(c >= 0 && c <= 255);
        const QString code = codeFromColour(
            static_cast<std::int16_t>(parts->opacity), static_cast<std::uint8_t>(parts->red),
            static_cast<std::uint8_t>(parts->green), static_cast<std::uint8_t>(parts->blue));
        FUZZ_CHECK(code.size() == 10 && colourFromCode(code) == parts);
        ColourTable table;
        table.set(0, text);
        FUZZ_CHECK(displayColourOf(table, 0) ==
                   parts->red + parts->green * 256 + parts->blue * 65536);
        FUZZ_CHECK(opacityOf(table, 0) == static_cast<float>(parts->opacity / 100.0));
    } catch (const Error &e) {
        FUZZ_CHECK(e.code() == Error::TypeMismatch);
    }
    return 0;
}
