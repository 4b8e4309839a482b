// Arbitrary bytes as a skin file: every code read converts or fails with a defined
// error, and what was read writes back and reads again into the same table. The bytes go
// through the readers' line rule and line parser in memory, as readSkinFile feeds them.
#include "FuzzSupport.h"

#include "skin/ColourTable.h"
#include "skin/Conversions.h"
#include "skin/SkinFile.h"
#include "skin/SkinItems.h"

#include "platform/Error.h"
#include "platform/Files.h"

namespace {

ColourTable read(const QByteArray &bytes)
{
    ColourTable table;
    for (const QString &line : skinLines(bytes))
        applySkinLine(line, table);
    return table;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const ColourTable table =
        read(QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)));
    for (int row = 0; row < ItemCount; ++row) {
        if (!SkinItems[size_t(row)].isColour()) {
            FUZZ_CHECK(table.at(row).isEmpty());
            continue;
        }
        try {
            const DisplayColour c = displayColourOf(table, row);
            const float a = opacityOf(table, row);
            FUZZ_CHECK(c >= 0 && c <= 0xFFFFFF && a >= 0.0f && a <= 1.0f);
        } catch (const Error &e) {
            FUZZ_CHECK(e.code() == Error::TypeMismatch || e.code() == Error::SubscriptOutOfRange);
        }
    }
    const ColourTable back = read(encodeLines8bit(skinFileLines(skinText(table))));
    for (int row = 0; row < ItemCount; ++row)
        FUZZ_CHECK(back.at(row) == table.at(row));
    return 0;
}
