#include "skin/SkinFile.h"

#include "skin/ColourTable.h"
#include "skin/SkinItems.h"

#include "platform/Files.h"

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr QLatin1StringView Separator = " = "_L1;
constexpr QLatin1StringView BackgroundLine = "background = background.bmp"_L1;
constexpr QLatin1StringView CommentLine = "Zantho Skin created with Vellox v1.6.1 Beta 1"_L1;

enum class Background
{
    Without,
    With
};

void appendSkinFile(QStringList &lines, const QString &text, Background background)
{
    lines << text;
    if (background == Background::With)
        lines << BackgroundLine;
    lines << QString() << CommentLine;
}

// Two blocks of twenty lines (key of at most 24 characters, " = ", code, CR LF), the
// background line, two closing lines each.
static_assert(2 * 20 * (24 + 3 + ColourTable::LongestCode + 2) + 2 * 64 <= LargestSkinFile,
              "a skin written from a table must be one the reader takes");

} // namespace

QList<LineSpan> skinLineSpans(const QByteArray &bytes)
{
    QList<LineSpan> spans;
    for (qsizetype start = 0; start < bytes.size();) {
        qsizetype cr = bytes.indexOf('\r', start);
        if (cr < 0)
            cr = bytes.size();
        spans.append({start, cr});
        start = cr + 1 + (cr + 1 < bytes.size() && bytes[cr + 1] == '\n');
    }
    return spans;
}

QStringList skinLines(const QByteArray &bytes)
{
    QStringList lines;
    for (const LineSpan &span : skinLineSpans(bytes))
        lines << QString::fromLatin1(bytes.constData() + span.start, span.end - span.start);
    return lines;
}

QStringList skinFileLines(const QString &text)
{
    QStringList lines;
    appendSkinFile(lines, text, Background::Without);
    return lines;
}

QString skinText(const ColourTable &table)
{
    QStringList lines;
    for (int row : SkinFileOrder)
        lines << SkinItems[static_cast<size_t>(row)].key + Separator + table.at(row);
    return lines.join("\r\n"_L1);
}

void readSkinFile(const QString &path, ColourTable &table)
{
    readSkinBytes(readSmallFile(path, LargestSkinFile), table);
}

void readSkinBytes(const QByteArray &bytes, ColourTable &table)
{
    for (const QString &line : skinLines(bytes))
        applySkinLine(line, table);
}

std::optional<SkinLine> readSkinLine(QStringView line)
{
    const qsizetype first = line.indexOf(Separator);
    if (first < 0)
        return std::nullopt;
    const int row = rowOfKey(line.left(first));
    if (row < 0)
        return std::nullopt;
    const qsizetype start = first + Separator.size();
    const qsizetype second = line.indexOf(Separator, start);
    const QStringView code = second < 0 ? line.mid(start) : line.mid(start, second - start);
    return SkinLine{row, code.toString()};
}

void applySkinLine(QStringView line, ColourTable &table)
{
    if (const std::optional<SkinLine> read = readSkinLine(line))
        table.set(read->row, read->code);
}

void writeWorkingSkin(const QString &path, const QString &text)
{
    if (!path.isEmpty())
        writeLines8bit(path, skinFileLines(text), AtLink::ReplaceLink, Readers::OwnerOnly);
}

void writeSkinFile(const QString &path, const QString &text)
{
    if (!path.isEmpty())
        writeLines8bit(path, skinFileLines(text), AtLink::FollowLink);
}

void writePackageSkin(const QString &path, const QString &text, PackagePictures pictures)
{
    if (path.isEmpty())
        return;
    // With both working pictures present the file holds the plain skin followed by the
    // skin with its background line; ordinarily only one of them exists.
    QStringList lines;
    if (pictures.jpg || !pictures.bmp)
        appendSkinFile(lines, text, Background::Without);
    if (pictures.bmp)
        appendSkinFile(lines, text, Background::With);
    writeLines8bit(path, lines, AtLink::ReplaceLink);
}
