#include "common/CommandRun.h"

#include <QRegularExpression>
#include <QtEndian>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>

using namespace Qt::Literals::StringLiterals;

// The command line's options: what each says and writes, its refusals, its completion.
class tst_commandline : public QObject
{
    Q_OBJECT

private slots:
    void commandLine_data();
    void commandLine();
    void completion_data();
    void completion();
};

namespace {

// `png` with a header claiming `side` × `side` pixels, its checksum made good, so that
// only the size is wrong with it.
QByteArray pngClaiming(QByteArray png, quint32 side)
{
    constexpr int Width = 16, Height = 20, Checksum = 29, ChunkType = 12;
    qToBigEndian(side, png.data() + Width);
    qToBigEndian(side, png.data() + Height);
    quint32 crc = 0xFFFFFFFF;
    for (int i = ChunkType; i < Checksum; ++i) {
        crc ^= uchar(png[i]);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    qToBigEndian(~crc, png.data() + Checksum);
    return png;
}

// A row of commandLine_data: the arguments split at spaces, the exit status, the
// beginning of standard output, standard error and the files written.
void row(const char *name, const QString &args, int status, const char *out,
         const QString &err = {}, const char *written = "")
{
    QTest::newRow(name) << args.split(u' ', Qt::SkipEmptyParts) << status << QByteArray(out) << err
                        << QString::fromLatin1(written);
}

// A misuse is told with the way to the help, and nothing is done.
void misuse(const char *name, const QString &args, const QString &what)
{
    row(name, args, 2, "", u"vellox: "_s + what + u".\nTry 'vellox --help'.\n"_s);
}

// Another user's pipe, or a device, given as an output or a background: refused, never
// opened, and the pipe's reader (the test) gets nothing.
void refused(const char *name, const char *args, const char *what = "a named pipe")
{
    row(name, args, 1, "",
        u"*\": it is %1, not a file. Vellox writes no named pipe or device it is given by "
        "name; to write into one, give \"-o -\" and lead standard output there"_s.arg(what));
}

// The help, the version and the user's language; what is written where, and what is refused.
void languageAndOutputRows()
{
    const char *bogus = "Unknown option 'bogus'",
               *german = "Aufruf: vellox [Optionen] [SKIN...]\nBearbeitet den Farb-Skin "
                         "(skin.ini) von Zantho";
    row("help names the looks", "--help", 0, "Usage", "*the look, 1 light, 2 dark, 3 vivid");
    // The catalogues travel inside the program: a copy alone in a folder speaks German.
    row("a copied program in German", "env:LANG=de_DE.UTF-8 copied: --help", 0, german, "");
    row("a check in German", "env:LANG=de_DE.UTF-8 --check bad.ini", 1,
        "bad.ini:1: warning: Zeile übersprungen: „HG-Farbe 1“ (BgColor1) wird nur mit", "");
    row("figures in German",
        "env:LANG=de_DE.UTF-8 --check dark.ini --vision deuteranomaly --severity 0.5", 0,
        "dark.ini:7: warning: „Textfarbe“ (TextColor) erreicht 1,0:1 auf dem Verlauf gesehen mit "
        "Deuteranomalie bei Schweregrad 0,5 (4,5:1",
        "");
    // The user's language, as gettext chooses it, with Qt's own texts in it too.
    row("a misuse in German", "env:LC_MESSAGES=de_DE.UTF-8 --bogus", 2, "",
        "vellox: Unbekannte Option 'bogus'.\nMehr dazu mit „vellox --help“.\n");
    row("help in the C locale", "env:LANG=C --help", 0,
        "Usage: vellox [options] [SKIN...]\nEdits the colour skin (skin.ini) of Zantho, draws "
        "skins as pictures and checks them.\n\nOptions:\n  -h, --help                Show "
        "this help and exit.\n");
    misuse("German asked for in the C locale", "env:LANG=C env:LANGUAGE=de --bogus", bogus);
    misuse("English before German", "env:LANG=de_DE.UTF-8 env:LANGUAGE=en_GB:de --bogus", bogus);
    row("an unknown language, then German", "env:LANG=fr_FR env:LANGUAGE=xx:de --check gone.ini", 1,
        "gone.ini: error: „gone.ini“ kann nicht gelesen werden: ", "");
    row("version", "-v", 0, "vellox " VELLOX_VERSION "\n", "");
    misuse("unknown option", "--bogus", bogus);
    misuse("unknown text mode", "--render dark.ini -o o.png --text loud",
           "--text is skinning or actual, not \"loud\"");
    row("missing skin", "--render gone.ini -o o.png", 1, "",
        "vellox: Cannot read \"gone.ini\": No such file or directory\n");
    row("no folder", "--render dark.ini -o no/o.png", 1, "",
        "vellox: Cannot write \"no/o.png\": No such file or directory\n");
    row("no picture", "--render dark.ini -o o.png --background dark.ini", 1, "",
        "vellox: dark.ini: Cannot load the picture \"dark.ini\": Unsupported...");
    row("a picture for a skin", "--render pic.bmp -o o.png", 1, "",
        "vellox: pic.bmp: the file is a bitmap, not a skin\n");
    row("undrawable skin", "--render bad.ini -o o.png", 1, "",
        "vellox: bad.ini:4: \"Title Color\" (TitleColor) = 0xFFGG0000: the red \"GG\" is...");
    row("standard output", "--render dark.ini -o -", 0, "\x89PNG\r\n", "");
    refused("a device", "--render dark.ini -o /dev/null", "a device");
    refused("a full device", "--render dark.ini -o /dev/full", "a device");
    refused("a named pipe", "--render dark.ini -o pipe");
    refused("a named pipe for the gallery", "--gallery dark.ini default.ini -o pipe");
    refused("a named pipe for the mended skin", "--fix dark.ini -o pipe");
    refused("a named pipe for the suggestion", "--suggest pic.bmp -o pipe");
    refused("a named pipe in the output folder", "--render dark.ini -o outs");
    refused("fix onto a full device", "--fix dark.ini -o /dev/full", "a device");
    row("a full disk", "limit:4 --render dark.ini -o old.png", 1, "", "*old.png\": File too large");
    row("bitmap by suffix", "--render dark.ini -o o.BMP", 0, "", "", "o.BMP:BM");
    row("JPEG by suffix", "--render dark.ini -o o.jpeg", 0, "", "", "o.jpeg:\xff\xd8\xff");
    row("PNG without a suffix", "--render dark.ini -o o", 0, "", "", "o:\x89PNG");
    row("through a link", "--render dark.ini -o link.png", 0, "", "", "sub/to.png:\x89PNG");
    row("another user's link in a sticky folder", "--render dark.ini -o theirs.png", 1, "",
        "*theirs.png\" is a link that the user nobody made in");
    misuse("two outputs", "--render dark.ini -o a -o b", "--output is given more than once");
    misuse("an output to a check", "--check dark.ini -o a",
           "--output goes only with --render, --suggest, --fix or --gallery");
    misuse("twice", "--fix dark.ini -o - --panels --panels", "--panels is given more than once");
    row("a pipe as background", "--render dark.ini -o o.png --background pipe", 1, "",
        "*\"pipe\": it is a named pipe, not a file");
    row("a device as background", "--check --background /dev/zero dark.ini", 1, "",
        "*\"/dev/zero\": it is a device, not a file");
    row("unknown suffix", "--render dark.ini -o o.gif", 1, "",
        "vellox: o.gif: Vellox writes pictures as .png, .bmp, .jpg or .jpeg (or PNG...");
    row("onto the skin", "--render dark.ini -o alias.png", 1, "", "*alias.png: this is the skin");
    row("onto the background", "--render dark.ini --background pic.bmp -o ./pic.bmp", 1, "",
        "*./pic.bmp: this is the picture");
}

// Checks, visions, pictures, mending and suggestions.
void taskRows()
{
    const char *severity = "--severity goes only with --vision protanomaly, deuteranomaly or "
                           "tritanomaly",
               *panels = "--panels goes only with --fix over a --background",
               *overPicture = "dark.ini:7: warning: \"Text Color\" (TextColor) reads 1.0:1 on the "
                              "gradient (4.5:1 wanted)\ndark.ini:7: warning: \"Text Color\" "
                              "(TextColor) reads 1.1:1 on the picture";
    row("check", "--check default.ini gone.ini", 1,
        "default.ini: warning: with achromatopsia, \"Select Item Color\" (SelectColor) and "
        "\"Change To Item Color\" (ChangeColor) differ by \u0394E00 6.6 on the gradient (10 "
        "wanted): they look alike\n");
    row("check as seen with one vision", "--check --vision deuteranopia default.ini", 0,
        "default.ini:20: warning: \"Not Supported Color\" (NotSupported) reads 4.4:1 on the "
        "gradient as seen with deuteranopia (4.5:1 wanted)\n");
    row("check at a severity", "--check --vision DEUTERANOMALY --severity 0.5 default.ini", 0, "-");
    row("at the least severity", "--check --vision protanomaly --severity 0.1 default.ini", 0, "-");
    row("at the greatest", "--check --vision tritanomaly --severity 0.9 default.ini", 0, "-");
    row("render at a severity", "--render dark.ini --vision protanomaly --severity .3 -o o.png", 0,
        "", "", "o.png:\x89PNG");
    for (const auto &[name, args, value] :
         {std::tuple{"severity too high", "--render dark.ini -o o.png --vision tritanomaly", "1"},
          {"severity not a number", "--check dark.ini --vision deuteranomaly", "nan"},
          {"severity in a comma locale", "--check dark.ini --vision tritanomaly", "0,5"},
          {"severity just above", "--check dark.ini --vision protanomaly", "0.91"},
          {"severity just below", "--check dark.ini --vision protanomaly", "0.09"}})
        misuse(name, args + u" --severity "_s + value,
               u"--severity is a number from 0.1 to 0.9, not \"%1\""_s.arg(value));
    misuse("severity of a dichromacy", "--check dark.ini --vision protanopia --severity 0.5",
           severity);
    misuse("severity without a vision", "--check dark.ini --severity 0.5", severity);
    // Pictures of any format Qt reads, with the limits and refusals of the others.
    row("check over a picture", "--check --background pic.bmp dark.ini", 0, overPicture, "");
    row("check over a PNG", "--check --background pic.png dark.ini", 0, overPicture, "");
    row("render over a PNG", "--render dark.ini -o o.png --background pic.png", 0, "", "",
        "o.png:\x89PNG");
    row("suggest from a PNG", "--suggest pic.png -o - --variant 3", 0, "BgColor1 = 0x", "");
    row("PNG claiming 60000 square", "--render dark.ini -o o.png --background huge.png", 1, "",
        "vellox: huge.png: Cannot load the picture \"huge.png\": the picture is 60000 × 60000 "
        "pixels; Vellox takes pictures of up to 200 megapixels\n");
    row("PNG cut short", "--suggest cut.png -o s.ini", 1, "",
        "*Cannot load the picture \"cut.png\": the file ends early; it is damaged\n");
    row("fix", "--fix dark.ini -o f.ini", 0, "-",
        "dark.ini:7: \"Text Color\" (TextColor) reads 1.0:1 on the gradient: 0xFF203040 -> 0xFF...",
        "f.ini:BgColor1 = 0xFF1B2A41\r\n");
    const QString darker = u"vellox: the %1 look's gradient is darker at the %2 (lightness %3; "
                           "%4 or more keeps the look), so that %5, in a colour that reads on "
                           "the picture, reads on it too\n"_s,
                  light = darker.arg(u"light"_s, u"%1"_s, u"%2"_s, u"0.75"_s, u"%3"_s),
                  muted = darker.arg(u"muted"_s, u"%1"_s, u"%2"_s, u"0.60"_s, u"%3"_s),
                  title = u"\"Title Color\" (TitleColor)"_s,
                  bottom = u"\"Bottom Text Color\" (BottomTextColor)"_s;
    row("suggest a light look on a black picture", "--suggest pic.bmp -o - --variant 1", 0,
        "BgColor1 = 0xFF6D6D6D",
        light.arg(u"top"_s, u"0.53"_s, title) + light.arg(u"top"_s, u"0.53"_s, bottom) +
            light.arg(u"bottom"_s, u"0.57"_s, bottom));
    row("a muted look on a black picture", "--suggest pic.bmp -o - --variant 4", 0, "BgColor1",
        muted.arg(u"top"_s, u"0.55"_s, title) + muted.arg(u"bottom"_s, u"0.56"_s, bottom));
    row("suggest a dark look on a black picture", "--suggest pic.bmp -o - --variant 2", 0,
        "BgColor1 = 0x", "");
    row("suggest onto its picture", "--suggest pic.bmp -o pic.bmp", 1, "",
        "*pic.bmp: this is the picture");
    misuse("fifth variant", "--suggest pic.bmp -o s.ini --variant 5",
           "--variant is 1 (light), 2 (dark), 3 (vivid) or 4 (muted), not \"5\"");
    misuse("unknown vision", "--render dark.ini -o o.png --vision bogus",
           "--vision is protanomaly, protanopia, deuteranomaly, deuteranopia, tritanomaly, "
           "tritanopia or achromatopsia, not \"bogus\"");
    misuse("an option astray", "--suggest pic.bmp -o s.ini --vision protanopia",
           "--vision goes only with --render, --gallery or --check");
    misuse("panels without --fix", "--check dark.ini --panels", panels);
    misuse("panels without a picture", "--fix dark.ini --panels -o -", panels);
}

// Several skins, standard input, displays, and names no file can have.
void batchAndInputRows()
{
    row("several skins into a folder", "--render dark.v2.ini default.ini -o sub", 0, "-", "",
        "sub/dark.v2.png:\x89PNG|sub/default.png:\x89PNG");
    row("one skin into a folder", "--render dark.ini -o sub/", 0, "-", "", "sub/dark.png:\x89PNG");
    misuse("several skins, one file", "--render dark.ini default.ini -o o.png",
           "--render of several skins writes into a folder, and -o \"o.png\" is none");
    misuse("two skins of one name", "--render dark.ini ./dark.ini -o sub",
           "\"dark.ini\" and \"./dark.ini\" would both be drawn into \"sub/dark.png\"");
    misuse("standard input into a folder", "--render dark.ini - -o sub",
           "Standard input (-) has no name for a picture in a folder; draw it alone, with -o FILE");
    row("a folder not there", "--render dark.ini default.ini -o gone/", 1, "",
        "vellox: Cannot write into the folder \"gone/\": No such file or directory\n");
    row("a batch with a bad skin", "--render bad.ini dark.ini -o sub", 1, "",
        "vellox: bad.ini:4: \"Title Color\" (TitleColor) = 0xFFGG0000: the red...",
        "sub/dark.png:\x89PNG");
    row("gallery", "stdin:dark.ini --gallery - default.ini -o g.bmp", 0, "-", "", "g.bmp:BM");
    row("gallery with a bad skin", "--gallery dark.ini bad.ini gone.ini -o old.png", 1, "",
        "*vellox: old.png: 2 of 3 skins cannot be drawn; nothing was written\n");
    row("gallery to an unknown suffix", "--gallery dark.ini -o g.xyz", 1, "",
        "*g.xyz: Vellox writes pictures as .png, .bmp, .jpg or .jpeg (or PNG for a name without "
        "a suffix), not as .xyz; nothing was written\n");
    misuse("gallery without skins", "--gallery -o g.png", "--gallery wants one or more skins");
    misuse("gallery reading standard input twice", "--gallery - - -o g.png",
           "Standard input (-) can be read only once");
    misuse("check without skins", "--check", "--check wants one or more skins");
    misuse("render without an output", "--render dark.ini", "--render wants -o OUT");
    misuse("suggest without an output", "--suggest pic.bmp",
           "--suggest wants -o OUT and no other skin");
    misuse("two skins to start with", "dark.ini default.ini", "Start with at most one skin");
    misuse("completion for another shell", "--completion fish",
           "--completion is bash or zsh, not \"fish\"");
    row("gallery onto a skin", "--gallery default.ini alias.png -o alias.png", 1, "",
        "*alias.png: this is the skin");
    misuse("standard input twice", "--check - dark.ini -",
           "Standard input (-) can be read only once");
    row("check standard input", "stdin:dark.ini --check -", 0,
        "standard input:7: warning: \"Text Color\" (TextColor) reads 1.0:1", "");
    row("render standard input", "stdin:dark.ini --render - -o -", 0, "\x89PNG\r\n", "");
    row("fix standard input", "stdin:dark.ini --fix - -o f.ini", 0, "-",
        "standard input:7: \"Text Color\" (TextColor) reads 1.0:1 on the gradient: 0xFF203040...",
        "f.ini:BgColor1 = 0xFF1B2A41\r\n");
    row("an endless standard input", "stdin:/dev/zero --render - -o o.png", 1, "",
        "vellox: Cannot read standard input: it holds more than 1,048,576 bytes, the most Vellox "
        "reads of a skin\n");
    row("a folder as standard input", "stdin:sub --check -", 1,
        "standard input: error: Cannot read standard input: Is a directory\n", "");
    row("no display", "", 1, "",
        "vellox: there is no display to open: neither DISPLAY nor WAYLAND_DISPLAY is set\n");
    row("an X display not there", "env:DISPLAY=:987 -style windows", 1, "",
        "vellox: cannot open the X display \":987\"\n");
    row("a Wayland display not there", "env:WAYLAND_DISPLAY=nowhere", 1, "",
        "vellox: cannot open the Wayland display \"nowhere\"\n");
    row("-platform over DISPLAY", "env:DISPLAY=:987 env:WAYLAND_DISPLAY=nowhere -platform wayland",
        1, "", "vellox: cannot open the Wayland display \"nowhere\"\n");
    misuse("two tasks", "--fix dark.ini --suggest pic.bmp -o o.ini",
           "Ask for one of --render, --check, --suggest, --fix and --gallery at a time");
    const QString longName = QString(300, u'x') + ".ini"_L1;
    for (const QString &args : {u"--check %1"_s, u"--render %1 -o o.png"_s, u"%1"_s})
        row(qPrintable("name too long: " + args), args.arg(longName), 1,
            args.startsWith("--check"_L1) ? "xxx" : "", u"*File name too long"_s);
    row("a missing skin to open", "gone.ini", 1, "",
        "vellox: gone.ini: No such file or directory\n");
    row("a folder to open", ".", 1, "", "vellox: .: it is a folder, not a skin file\n");
    row("a link to a folder to open", "/proc/self/cwd", 1, "",
        "vellox: /proc/self/cwd: it is a folder, not a skin file\n");
    row("no UTF-8", "--check printf:\\377.ini", 1, "",
        "vellox: the name \"\\xff.ini\" is not valid UTF-8, and Vellox would read it...");
}

} // namespace

void tst_commandline::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments"); // in a folder with default.ini
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("out"); // the beginning of standard output; "-": nothing
    // All of standard error, or its beginning and "...", or "*" and a part.
    QTest::addColumn<QString>("err");
    // Each file that is written, ":" and its first bytes; "|" between files.
    QTest::addColumn<QString>("written");
    languageAndOutputRows();
    taskRows();
    batchAndInputRows();
}

void tst_commandline::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QByteArray, out);
    QFETCH(QString, err);
    QFETCH(QString, written);
    ProgramFolder folder;
    folder.write(u"dark.ini"_s, factoryWith("TextColor = 0xFFDCE3EE", "TextColor = 0xFF203040"));
    folder.write(u"bad.ini"_s, "BgColor1=0xFF000000\r\nRectBgg = 0x80102030\r\nColour = 0x1\r\n"
                               "TitleColor = 0xFFGG0000\r\n" +
                                   factoryWith("TitleColor = 0xFFF2F5FA\r\n", ""));
    folder.write(u"dark.v2.ini"_s, "TextColor = 0xFF203040\r\n"); // named to the last dot
    folder.write(u"pic.bmp"_s, encodedPicture(qRgb(1, 2, 3), "BMP"));
    const QByteArray png = encodedPicture(qRgb(1, 2, 3), "PNG");
    folder.write(u"pic.png"_s, png);
    folder.write(u"cut.png"_s, png.left(png.size() - 20));
    folder.write(u"huge.png"_s, pngClaiming(png, 60000));
    folder.write(u"old.png"_s, "the user's own");
    QDir(folder.dir().path()).mkdir(u"sub"_s);
    QFile::link(u"sub/to.png"_s, folder.file(u"link.png"_s));
    QFile::link(u"dark.ini"_s, folder.file(u"alias.png"_s));
    // The folder is open to all and sticky, as /tmp: only others' links there are refused.
    QFile::link(u"old.png"_s, folder.file(u"theirs.png"_s));
    lchown(QFile::encodeName(folder.file(u"theirs.png"_s)).constData(), 65534, 65534);
    chmod(QFile::encodeName(folder.dir().path()).constData(), 01777);
    // Another user's pipes, with a reader at each from the start: what is written there
    // would fit the pipe's buffer.
    QDir(folder.dir().path()).mkdir(u"outs"_s);
    QFile readers[2];
    for (QFile &reader : readers) {
        const QByteArray pipe =
            QFile::encodeName(folder.file(&reader == readers ? u"pipe"_s : u"outs/dark.png"_s));
        QVERIFY(mkfifo(pipe.constData(), 0666) == 0);
        lchown(pipe.constData(), 65534, 65534);
        reader.open(::open(pipe.constData(), O_RDONLY | O_NONBLOCK), QIODevice::ReadOnly,
                    QFileDevice::AutoCloseHandle);
    }
    const auto before = folder.contents();
    const Finished run = vellox(folder, arguments);

    QCOMPARE(run.status, status);
    QVERIFY2(out == "-" ? run.out.isEmpty() : run.out.startsWith(out), run.out.constData());
    if (err.endsWith("..."_L1))
        QVERIFY2(run.err.startsWith(err.chopped(3)), qPrintable(run.err));
    else if (err.startsWith(u'*'))
        QVERIFY2(run.err.contains(err.mid(1)) || run.out.contains(err.mid(1).toUtf8()),
                 qPrintable(run.err));
    else
        QCOMPARE(run.err, err);
    // Only --render writes, and only its picture: through a link, never over one.
    QMap<QString, QByteArray> after = folder.contents();
    for (const QString &each : written.split(u'|', Qt::SkipEmptyParts)) {
        const QString file = each.section(u':', 0, 0);
        const QByteArray got = after.take(file);
        QVERIFY2(got.startsWith(each.section(u':', 1).toLatin1()), qPrintable(file));
    }
    QCOMPARE(after, before);
    for (QFile &reader : readers)
        QCOMPARE(reader.readAll(), QByteArray());
    QVERIFY(QFileInfo(u"/dev/null"_s).exists() && !QFileInfo(u"/dev/null"_s).isFile());
}

void tst_commandline::completion_data()
{
    QTest::addColumn<QString>("typed");   // before the Tab
    QTest::addColumn<QString>("offered"); // sorted; "help": every option --help lists
    QTest::newRow("options, as the help lists them") << u"-"_s << u"help"_s;
    QTest::newRow("an option begun") << u"--vi"_s << u"--vision"_s;
    QTest::newRow("visions") << u"--render dark.ini --vision "_s
                             << u"achromatopsia deuteranomaly deuteranopia protanomaly protanopia "
                                "tritanomaly tritanopia"_s;
    QTest::newRow("variants") << u"--suggest pic.bmp --variant "_s << u"1 2 3 4"_s;
    QTest::newRow("shells") << u"--completion "_s << u"bash zsh"_s;
    QTest::newRow("severities") << u"--check dark.ini --severity 0.3"_s << u"0.3"_s;
    QTest::newRow("texts") << u"--render dark.ini --text a"_s << u"actual"_s;
    QTest::newRow("skins and folders") << u""_s << u"dark.ini default.ini sub"_s;
    QTest::newRow("a skin to fix") << u"--fix "_s << u"dark.ini default.ini sub"_s;
    QTest::newRow("pictures") << u"--check --background "_s << u"pic.bmp pic.png sub"_s;
    QTest::newRow("any output") << u"--render dark.ini -o "_s
                                << u"dark.ini default.ini notes.txt pic.bmp pic.png sub"_s;
}

// Tab in bash offers the options, the values and the files each takes, as the program
// lists them; zsh gets the same options.
void tst_commandline::completion()
{
    QFETCH(QString, typed);
    QFETCH(QString, offered);
    ProgramFolder folder;
    for (auto name : {"dark.ini", "pic.bmp", "pic.png", "notes.txt", "sub/x"})
        folder.write(QString::fromLatin1(name), "x");
    const auto shell = [&](const QString &program, const QString &script) {
        QProcess process;
        process.setWorkingDirectory(folder.dir().path());
        process.start(program, {u"-c"_s, script, QStringLiteral(VELLOX_EXECUTABLE)});
        process.waitForFinished();
        return QString::fromUtf8(process.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    };
    const QStringList words = QStringList{u"vellox"_s} + typed.split(u' ');
    const QStringList seen =
        shell(u"bash"_s, u"eval \"$(\"$0\" --completion bash)\"; COMP_WORDS=('%1'); "
                         "COMP_CWORD=%2; _vellox; printf '%s\\n' \"${COMPREPLY[@]}\" | sort"_s
                             .arg(words.join("' '"_L1))
                             .arg(words.size() - 1));
    if (offered != "help"_L1) {
        QCOMPARE(seen.join(u' '), offered);
        return;
    }
    QStringList options;
    static const QRegularExpression names(u"^  (?:(-[a-z]), )?(--[a-z]+)"_s);
    for (const QString &line : shell(u"sh"_s, u"\"$0\" --help"_s))
        options << names.match(line).capturedTexts().mid(1).filter(u"-"_s);
    options.sort();
    QCOMPARE(seen, options);
    // The manual page tells of every option too, and of what a user looks there for.
    QFile page(QFileInfo(QStringLiteral(VELLOX_DEFAULT_INI)).dir().filePath(u"vellox.1"_s));
    QVERIFY(page.open(QIODevice::ReadOnly));
    const QString manual = QString::fromUtf8(page.readAll()).replace("\\-"_L1, "-"_L1);
    for (const QString &needed :
         options + QStringList{u".SH EXIT STATUS"_s, u".SH ENVIRONMENT"_s, u".SH FILES"_s,
                               u".SH SEE ALSO"_s, u".SH WINDOW KEYS AND GESTURES"_s})
        QVERIFY2(manual.contains(needed), qPrintable(needed));
    QCOMPARE(shell(u"zsh"_s, u"\"$0\" --completion zsh > _vellox && zsh -n _vellox && "
                             "grep -o \"^    '-[-a-z]*\" _vellox | cut -c6- | sort"_s),
             options);
}

QTEST_MAIN(tst_commandline)
#include "tst_commandline.moc"
