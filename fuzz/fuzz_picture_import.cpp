// Arbitrary bytes as the file chosen for a background, through the import: either a
// working picture is written that reads back as the same picture, and whose colours the
// quantiser accounts for pixel by pixel, or nothing is written and the problem is told.
#include "FuzzSupport.h"

#include "scene/WorkingPicture.h"

#include "colour/Quantiser.h"

#include "platform/Files.h"
#include "platform/Pictures.h"

#include <QImageReader>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    scratch();
    // The same decoders with a smaller budget, so that a header claiming a large picture
    // costs milliseconds rather than seconds; the limit itself is Qt's, tested elsewhere.
    QImageReader::setAllocationLimit(8);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const ProgramDirectory programDir(scratch().path());
    const QString chosen = scratch().filePath((data[0] & 1) ? QStringLiteral("chosen.bmp")
                                                            : QStringLiteral("chosen.jpg"));
    writeFile(chosen, data + 1, size - 1);
    WorkingPicture working(programDir);
    const ImportOutcome outcome = working.import(chosen);
    const auto [jpg, bmp] = working.files();
    if (outcome.kind == ImportOutcome::Written) {
        FUZZ_CHECK(jpg != bmp && !working.picture().isNull());
        const QImage back = loadPicture(working.path());
        FUZZ_CHECK(back.size() == working.picture().size());
        const QList<ColourCluster> clusters = quantise(back, 8);
        qint64 pixels = 0;
        for (const ColourCluster &c : clusters)
            pixels += c.pixels;
        FUZZ_CHECK(!clusters.isEmpty() && clusters.size() <= 8);
        FUZZ_CHECK(pixels == qint64(back.width()) * back.height());
    } else {
        FUZZ_CHECK(outcome.kind == ImportOutcome::Undecodable && !outcome.problem.isEmpty());
        FUZZ_CHECK(!jpg && !bmp);
    }
    return 0;
}
