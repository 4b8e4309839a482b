#include "skin/SkinLint.h"

#include "skin/Conversions.h"
#include "skin/SkinFile.h"

#include "platform/Numeric.h"

#include <QCoreApplication>
#include <QtEndian>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr qsizetype FarthestMisspelling = 2; // edits from a real key
constexpr auto Utf8Bom = "\xEF\xBB\xBF";

qsizetype editDistance(QStringView a, QStringView b)
{
    QList<qsizetype> previous(b.size() + 1), current(b.size() + 1);
    for (qsizetype j = 0; j <= b.size(); ++j)
        previous[j] = j;
    for (qsizetype i = 1; i <= a.size(); ++i) {
        current[0] = i;
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const bool same = a[i - 1].toLower() == b[j - 1].toLower();
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + !same});
        }
        std::swap(previous, current);
    }
    return previous[b.size()];
}

bool isControl(uchar c)
{
    return (c < 0x20 && c != '\t' && c != '\r' && c != '\n') || c == 0x7F;
}

// Why the file is no text a skin could be in, or nothing.
QString notText(const QByteArray &bytes)
{
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))
        return QCoreApplication::translate(
            "SkinLint", "the file is UTF-16 text; Vellox reads 8-bit text: save it as plain text "
                        "(ANSI, Latin-1 or UTF-8 without a byte order mark)");
    for (auto [magic, kind] : {std::pair{"\x89PNG", QT_TRANSLATE_NOOP("SkinLint", "a PNG picture")},
                               {"\xFF\xD8\xFF", QT_TRANSLATE_NOOP("SkinLint", "a JPEG picture")},
                               {"BM", QT_TRANSLATE_NOOP("SkinLint", "a bitmap")},
                               {"GIF8", QT_TRANSLATE_NOOP("SkinLint", "a GIF picture")},
                               {"%PDF", QT_TRANSLATE_NOOP("SkinLint", "a PDF")},
                               {"PK\x03\x04", QT_TRANSLATE_NOOP("SkinLint", "a ZIP archive")},
                               {"\x7F"
                                "ELF",
                                QT_TRANSLATE_NOOP("SkinLint", "a program")}}) {
        // Two letters alone are no proof of a bitmap: its header must give its own size.
        const bool bitmap =
            bytes.size() > 14 &&
            qFromLittleEndian<quint32>(bytes.constData() + 2) == quint32(bytes.size());
        if (bytes.startsWith(magic) && (qstrcmp(magic, "BM") != 0 || bitmap))
            return QCoreApplication::translate("SkinLint", "the file is %1, not a skin")
                .arg(QCoreApplication::translate("SkinLint", kind));
    }
    // UTF-16 without its mark: every other byte of plain text is zero.
    const qsizetype zeros = bytes.count('\0');
    if (bytes.size() >= 4 && zeros * 3 >= bytes.size())
        return QCoreApplication::translate(
            "SkinLint", "the file looks like UTF-16 text (every other byte is zero); Vellox reads "
                        "8-bit text: save it as plain text");
    const auto controls =
        std::count_if(bytes.begin(), bytes.end(), [](char c) { return isControl(uchar(c)); });
    if (controls * 16 > bytes.size())
        return QCoreApplication::translate("SkinLint",
                                           "the file holds binary data, not the text of a skin");
    return {};
}

// Why a line the program skips looks meant as a colour line, or nothing.
QString skippedColourLine(const QString &line)
{
    const qsizetype equals = line.indexOf(u'=');
    if (equals < 0) {
        if (const int row = rowOfKey(line.trimmed()); row >= 0)
            return QCoreApplication::translate("SkinLint",
                                               "line skipped: %1 has no \" = \" and no code")
                .arg(itemName(row));
        return {};
    }
    const QString key = line.left(equals).trimmed();
    const QString value = line.mid(equals + 1).trimmed();
    if (const int row = rowOfKey(key); row >= 0)
        return QCoreApplication::translate(
                   "SkinLint",
                   "line skipped: %1 is read only with exactly one space either side of \"=\" "
                   "and no tab, as in \"%2 = %3\"")
            .arg(itemName(row), SkinItems[size_t(row)].key, printable(value));
    if (!value.startsWith("0x"_L1, Qt::CaseInsensitive))
        return {};
    for (int row = 0; row < ItemCount; ++row) {
        const SkinItem &item = SkinItems[size_t(row)];
        if (item.isColour() && editDistance(key, QString(item.key)) <= FarthestMisspelling)
            return QCoreApplication::translate(
                       "SkinLint",
                       "line skipped: \"%1\" is no item of a skin; did you mean \"%2\"?")
                .arg(printable(key), item.key);
    }
    return QCoreApplication::translate("SkinLint", "line skipped: \"%1\" is no item of a skin")
        .arg(printable(key));
}

bool isHex(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return hexDigitValue(c) >= 0; });
}

// The 0xAARRGGBB form of a code written in another common form, or nothing.
QString otherForm(QStringView code)
{
    if (code.startsWith(u'#')) {
        QString hex = code.mid(1).toString().toUpper();
        if (hex.size() == 3 && isHex(hex))
            hex = QString(hex[0]) + hex[0] + hex[1] + hex[1] + hex[2] + hex[2];
        if (hex.size() == 6 && isHex(hex))
            return QCoreApplication::translate("SkinLint",
                                               "it is written as #RRGGBB; a skin writes colours "
                                               "as 0xAARRGGBB, here 0xFF%1")
                .arg(hex);
        if (hex.size() == 8 && isHex(hex))
            return QCoreApplication::translate("SkinLint",
                                               "it is written as #AARRGGBB; a skin writes colours "
                                               "as 0xAARRGGBB, here 0x%1")
                .arg(hex);
        return QCoreApplication::translate(
            "SkinLint", "it starts with \"#\"; a skin writes colours as 0xAARRGGBB");
    }
    if (!code.isEmpty() &&
        std::all_of(code.begin(), code.end(), [](QChar c) { return c >= u'0' && c <= u'9'; })) {
        bool ok = false;
        const qulonglong value = code.toULongLong(&ok);
        if (!ok || value > 0xFFFFFFFFu)
            return QCoreApplication::translate(
                "SkinLint", "it is a decimal number; a skin writes colours as 0xAARRGGBB");
        const QString hex = QString::number(value, 16).toUpper();
        return QCoreApplication::translate(
                   "SkinLint",
                   "it is a decimal number; a skin writes colours as 0xAARRGGBB, here %1")
            .arg(value <= 0xFFFFFF ? "0xFF"_L1 + hex.rightJustified(6, u'0')
                                   : "0x"_L1 + hex.rightJustified(8, u'0'));
    }
    return {};
}

// What is odd about a code the program can draw, or nothing.
QString oddities(QStringView code)
{
    QStringList odd;
    const QStringView digits = QStringView(code).trimmed().mid(2);
    if (digits.size() != 8) {
        const Components c = *colourFromCode(code);
        odd << QCoreApplication::translate(
                   "SkinLint",
                   "it has %1 digits after \"%2\", not 8; Vellox reads it as 0x%3%4%5%6")
                   .arg(digits.size())
                   .arg(printable(code.left(2)),
                        QString::number(lenientHex(mid1(code, 3, 2)), 16)
                            .toUpper()
                            .rightJustified(2, u'0'),
                        QString::number(c.red, 16).toUpper().rightJustified(2, u'0'),
                        QString::number(c.green, 16).toUpper().rightJustified(2, u'0'),
                        QString::number(c.blue, 16).toUpper().rightJustified(2, u'0'));
    }
    if (const QStringView opacity = mid1(code, 3, 2); !isHex(opacity))
        odd << QCoreApplication::translate(
                   "SkinLint", "the opacity \"%1\" is not hexadecimal; Vellox reads it as %2 %")
                   .arg(printable(opacity.toString()), QString::number(opacityPercent(opacity)));
    if (code.left(2).compare("0x"_L1, Qt::CaseInsensitive) != 0)
        odd << QCoreApplication::translate("SkinLint",
                                           "it starts with \"%1\" where a skin has \"0x\"")
                   .arg(printable(code.left(2)));
    return odd.join("; "_L1);
}

// The problems of the code an item ends up with.
void checkCode(SkinLint &lint, int row)
{
    const int line = lint.lineOf[size_t(row)];
    const QString &code = lint.codes.at(row);
    if (code.contains(u'\n'))
        return; // the line ends are reported, and what they joined is no code
    // Whole sentences with their places, so that a language may order them its own way.
    const auto said = [&](const QString &why) {
        return QCoreApplication::translate("SkinLint", "%1 = %2: %3")
            .arg(itemName(row), printable(code), why);
    };
    const QString raw = whyNotDrawable(code);
    const QString why = printable(raw, raw.size()); // it quotes the code's characters
    const QString form = otherForm(code);
    if (!why.isEmpty()) {
        lint.problems.append(
            {line, SkinProblem::Error,
             code.isEmpty()
                 ? QCoreApplication::translate("SkinLint", "%1: %2").arg(itemName(row), why)
             : form.isEmpty()
                 ? said(why)
                 : said(QCoreApplication::translate("SkinLint", "%1; %2").arg(why, form))});
    } else if (const QString odd = form.isEmpty() ? oddities(code) : form; !odd.isEmpty()) {
        lint.problems.append({line, SkinProblem::Warning, said(odd)});
    }
}

// What line `i` of the file sets, and what is wrong with it.
void lintLine(SkinLint &lint, int i, const QString &line, bool bom)
{
    const auto problem = [&lint](int at, SkinProblem::Severity severity, const QString &text) {
        lint.problems.append({at, severity, text});
    };
    if (!lint.oneLine && line.contains(u'\n')) {
        lint.oneLine = true;
        const QStringList joined = line.split(u'\n');
        const auto unread = std::count_if(joined.begin() + 1, joined.end(), [](const QString &l) {
            return readSkinLine(QString(l).remove(u'\r')).has_value();
        });
        problem(i, SkinProblem::Error,
                QCoreApplication::translate(
                    "SkinLint",
                    "the lines end in LF alone, as Linux and macOS write them; Vellox ends a "
                    "line only at CR LF or CR, so it reads the file from here on as one line, "
                    "and %1 colour lines in it are not read: save the file with Windows (CR LF) "
                    "line ends")
                    .arg(unread));
    }
    if (const std::optional<SkinLine> read = readSkinLine(line)) {
        const size_t at = size_t(read->row);
        if (const int earlier = lint.lineOf[at])
            problem(i, SkinProblem::Warning,
                    QCoreApplication::translate(
                        "SkinLint",
                        "%1 is set again; Vellox uses this line's \"%2\", not line %3's \"%4\"")
                        .arg(itemName(read->row), printable(read->code))
                        .arg(earlier)
                        .arg(printable(lint.codes.at(read->row))));
        lint.codes.set(read->row, read->code);
        lint.lineOf[at] = i;
    } else if (i == 1 && bom) {
        const std::optional<SkinLine> meant = readSkinLine(QStringView(line).mid(3));
        problem(i, SkinProblem::Warning,
                QCoreApplication::translate(
                    "SkinLint",
                    "the file starts with a UTF-8 byte order mark, which Vellox reads as part "
                    "of the first key%1: save the file without it")
                    .arg(meant ? QCoreApplication::translate("SkinLint",
                                                             ", so %1 on this line is skipped")
                                     .arg(itemName(meant->row))
                               : QString()));
    } else if (!line.contains(u'\n')) {
        if (const QString why = skippedColourLine(line); !why.isEmpty())
            problem(i, SkinProblem::Warning, why);
    }
}

} // namespace

QString itemName(int row)
{
    const SkinItem &item = SkinItems[size_t(row)];
    // Quoted as the language quotes: „Titelfarbe“ (TitleColor) in German.
    return QCoreApplication::translate("SkinLint", "\"%1\" (%2)").arg(shownLabel(item), item.key);
}

QString printable(QStringView text, qsizetype longest)
{
    QString shown;
    for (QChar c : text.left(longest)) {
        const char16_t u = c.unicode();
        if (u < 0x20 || (u >= 0x7F && u < 0xA0))
            shown += u"\\x%1"_s.arg(uint(u), 2, 16, QLatin1Char('0'));
        else
            shown += c;
    }
    if (text.size() > longest)
        shown += "..."_L1;
    return shown;
}

SkinLint lintSkin(const QByteArray &bytes)
{
    SkinLint lint;
    const auto problem = [&lint](int line, SkinProblem::Severity severity, const QString &text) {
        lint.problems.append({line, severity, text});
    };
    const auto notASkin = [&](const QString &why) {
        problem(0, SkinProblem::Error, why);
        lint.isSkin = false;
        return lint;
    };
    if (bytes.isEmpty())
        return notASkin(QCoreApplication::translate(
            "SkinLint", "the file is empty; a skin sets its twenty colours, one a line"));
    if (const QString why = notText(bytes); !why.isEmpty())
        return notASkin(why);
    if (bytes.trimmed().isEmpty())
        return notASkin(QCoreApplication::translate(
            "SkinLint", "the file holds only blank lines; a skin sets its twenty colours, "
                        "one a line"));

    const bool bom = bytes.startsWith(Utf8Bom);
    const QStringList lines = skinLines(bytes);
    for (int i = 1; i <= lines.size(); ++i)
        lintLine(lint, i, lines[i - 1], bom);

    for (int row : SkinFileOrder) {
        if (lint.lineOf[size_t(row)] != 0)
            checkCode(lint, row);
    }
    if (std::all_of(lint.lineOf.begin(), lint.lineOf.end(), [](int line) { return line == 0; })) {
        if (!lint.oneLine)
            problem(0, SkinProblem::Error,
                    QCoreApplication::translate(
                        "SkinLint", "no line sets a colour item: this is not a skin file"));
        lint.isSkin = false;
    }
    sortByLine(lint.problems);
    return lint;
}

QString whyNotSkinText(const QByteArray &bytes)
{
    return notText(bytes);
}

QString whyNotASkin(const QByteArray &bytes)
{
    const SkinLint lint = lintSkin(bytes);
    if (lint.isSkin && !lint.oneLine)
        return {};
    for (const SkinProblem &problem : lint.problems) {
        if (problem.severity == SkinProblem::Error)
            return problem.text;
    }
    return {};
}

void sortByLine(QList<SkinProblem> &problems)
{
    std::stable_sort(problems.begin(), problems.end(),
                     [](const SkinProblem &a, const SkinProblem &b) {
                         // Line 0, the file as a whole, counts as after the last line.
                         return unsigned(a.line - 1) < unsigned(b.line - 1);
                     });
}
