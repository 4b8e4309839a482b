// Arbitrary bytes as a skin file under the check: it never fails, every problem stands
// at a line of the file and prints without a control character, a file that is no skin
// says so with an error, and a skin with no error holds only codes the preview draws,
// exactly the codes the program's own reader takes.
#include "FuzzSupport.h"

#include "skin/ColourTable.h"
#include "skin/Conversions.h"
#include "skin/SkinFile.h"
#include "skin/SkinLint.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const SkinLint lint = lintSkin(bytes);
    const QStringList lines = skinLines(bytes);
    bool error = false;
    for (const SkinProblem &p : lint.problems) {
        FUZZ_CHECK(p.line >= 0 && p.line <= lines.size());
        FUZZ_CHECK(std::none_of(p.text.begin(), p.text.end(), [](QChar c) { return c < u' '; }));
        error |= p.severity == SkinProblem::Error;
    }
    FUZZ_CHECK(lint.isSkin || error);
    if (!lint.isSkin || error)
        return 0;
    ColourTable read;
    for (const QString &line : lines)
        applySkinLine(line, read);
    for (int row = 0; row < ItemCount; ++row) {
        FUZZ_CHECK(lint.codes.at(row) == read.at(row));
        if (lint.lineOf[size_t(row)] != 0)
            FUZZ_CHECK(whyNotDrawable(read.at(row)).isEmpty());
    }
    return 0;
}
