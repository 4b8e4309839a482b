// Arbitrary bytes as the file chosen for a background or dropped on the preview, through
// the import: either a working picture is written that reads back as the same picture, and
// whose colours the quantiser accounts for pixel by pixel, or the problem is told and no
// working picture is left (chosen) or the earlier one is left as it was (dropped).
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
    // The first byte: bit 1 drops the file, of any format, rather than choosing it; bit 0
    // names it .bmp rather than .jpg.
    const bool dropped = data[0] & 2;
    const QString chosen = scratch().filePath(dropped         ? QStringLiteral("dropped.png")
                                              : (data[0] & 1) ? QStringLiteral("chosen.bmp")
                                                              : QStringLiteral("chosen.jpg"));
    writeFile(chosen, data + 1, size - 1);
    WorkingPicture working(programDir);
    const PackagePictures before = working.files();
    const ImportOutcome outcome =
        working.import(chosen, dropped ? ImportOrigin::Dropped : ImportOrigin::Chosen);
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
        FUZZ_CHECK(dropped ? jpg == before.jpg && bmp == before.bmp : !jpg && !bmp);
    }
    return 0;
}
