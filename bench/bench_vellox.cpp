// Timings of what the user waits for, with the targets they are held to. Run with
// `make bench`; the figures of record are in bench/README.md.
#include "readability/Readability.h"
#include "scene/Blend.h"
#include "scene/SceneRenderer.h"

#include "skin/SkinFile.h"

#include "skin/SkinItems.h"

#include "platform/FittingStyle.h"
#include "platform/Numeric.h"

#include "common/EditorSession.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <map>
#include <optional>
#include <random>
#include <string>

namespace {

QImage scenePicture(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            line[x] = qRgb(x * 255 / size.width(), y * 255 / size.height(), (x ^ y) & 0xFF);
    }
    return image;
}

// The blend written the plain way, one pixel at a time through the image's accessors.
// Kept only as the yardstick for the real one.
QImage perPixelBlend(const QImage &s, DisplayColour c, QRect rect, float a)
{
    const int x = rect.x(), y = rect.y(), w = rect.width(), h = rect.height();
    QImage out(w, h, QImage::Format_RGB32);
    const Rgb fill = rgbOf(c);
    const int rc = fill.red, gc = fill.green, bc = fill.blue;
    const double op = a;
    for (int r = 0; r < h; ++r) {
        for (int k = 0; k < w; ++k) {
            const QRgb p = s.pixel(x + k, y + r);
            const auto ch = [&](int xp, int xc) {
                return static_cast<int>(roundHalfEven(xp - op * (xp - xc)));
            };
            out.setPixel(k, r, qRgb(ch(qRed(p), rc), ch(qGreen(p), gc), ch(qBlue(p), bc)));
        }
    }
    return out;
}

constexpr QRect Panel{48, 64, 188, 251};

void BM_Startup(benchmark::State &state)
{
    ProgramFolder folder;
    ScriptedDialogs dialogs;
    for (auto _ : state) {
        EditorWindow editor(folder.dir(), dialogs);
        editor.open();
        QApplication::processEvents();
        benchmark::DoNotOptimize(editor.loadedPreview());
        state.PauseTiming();
        editor.close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_Startup)->Unit(benchmark::kMillisecond);

void BM_BlendPanel(benchmark::State &state)
{
    const QImage source = scenePicture({480, 360});
    QImage target = source.copy();
    for (auto _ : state) {
        blendOnto(target, source, 0x5E3A22, Panel, 0.5f);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_BlendPanel)->Unit(benchmark::kMicrosecond);

void BM_BlendPanelPerPixel(benchmark::State &state)
{
    const QImage source = scenePicture({480, 360});
    QImage target = source.copy();
    blendOnto(target, source, 0x5E3A22, Panel, 0.5f);
    if (perPixelBlend(source, 0x5E3A22, Panel, 0.5f) != target.copy(Panel))
        state.SkipWithError("the reference disagrees with the blend");
    for (auto _ : state)
        benchmark::DoNotOptimize(perPixelBlend(source, 0x5E3A22, Panel, 0.5f));
}
BENCHMARK(BM_BlendPanelPerPixel)->Unit(benchmark::kMicrosecond);

// The editor over the factory skin, a picture background present.
struct OpenSession : Session
{
    OpenSession()
    {
        scenePicture({480, 360}).save(folder.file(QStringLiteral("temp2.bmp")), "BMP");
        editor->open();
    }
};

// The preview's renderer redraws a skin it drew last only where it changed: the panels'
// opacity changes each time, so that every redraw is whole.
void BM_UpdateWithPicture(benchmark::State &state)
{
    OpenSession s;
    std::array<ColourTable, 2> skins{s.editor->document().colours(),
                                     s.editor->document().colours()};
    skins[1].set(Row::RectBg, QStringLiteral("0x40FF8000"));
    StillPicture picture(scenePicture({480, 360}));
    SceneRenderer renderer;
    int n = 0;
    for (auto _ : state)
        renderer.redraw(skins[size_t(n++ % 2)], picture);
}
BENCHMARK(BM_UpdateWithPicture)->Unit(benchmark::kMillisecond);

void BM_ApplyChange(benchmark::State &state)
{
    OpenSession s;
    s.choose(Row::RectBg);
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        s.code()->setText(QStringLiteral("0x80%1FF00").arg(n++ % 256, 2, 16, QLatin1Char('0')));
        state.ResumeTiming();
        s.get<QPushButton>("Command1")->click();
    }
}
BENCHMARK(BM_ApplyChange)->Unit(benchmark::kMillisecond);

// Writes a JPEG photo in a child process, so that making it does not count toward this
// process's peak memory.
void writePhoto(const QString &path, QSize size)
{
    const pid_t child = fork();
    if (child == 0)
        _exit(scenePicture(size).save(path, "JPEG", 90) ? 0 : 1);
    int status = -1;
    waitpid(child, &status, 0);
}

// "Import Backround" with `photo` chosen, the preview shown over the factory skin.
void importRepeatedly(benchmark::State &state, Session &s, const QString &photo)
{
    for (auto _ : state) {
        state.PauseTiming();
        s.dialogs.chosenFiles = {photo};
        state.ResumeTiming();
        s.click("Command1");
    }
}

void BM_Import100MegapixelJpeg(benchmark::State &state)
{
    Session s;
    s.editor->open();
    const QString photo = s.elsewhere.filePath(QStringLiteral("photo.jpg"));
    writePhoto(photo, {10000, 10000});
    importRepeatedly(state, s, photo);
    if (!s.folder.exists(QStringLiteral("temp.jpg")))
        state.SkipWithError("the photo was not imported");
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_Import100MegapixelJpeg)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

// A JPEG whose header claims 60000 x 60000 pixels: refused before anything is decoded.
void BM_RefuseHugePicture(benchmark::State &state)
{
    Session s;
    s.editor->open();
    QByteArray jpeg = encoded(scenePicture({64, 64}), "JPEG");
    jpeg.replace(jpeg.indexOf("\xff\xc0") + 5, 4, "\xea\x60\xea\x60");
    importRepeatedly(state, s, s.outside(QStringLiteral("huge.jpg"), jpeg));
}
BENCHMARK(BM_RefuseHugePicture)->Unit(benchmark::kMillisecond);

// A whole process, from its start until it has ended, on the offscreen platform: the
// time a shell waits for it, in milliseconds, or nothing when it fails.
std::optional<double> runOnce(std::vector<std::string> arguments, const char *output = nullptr)
{
    std::vector<char *> argv;
    for (std::string &argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    // Qt's notes about the session on standard error would interleave with the report.
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    if (output)
        posix_spawn_file_actions_addopen(&quiet, STDOUT_FILENO, output, O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    int status = -1;
    if (posix_spawn(&child, argv[0], &quiet, nullptr, argv.data(), environ) == 0)
        waitpid(child, &status, 0);
    posix_spawn_file_actions_destroy(&quiet);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// vellox --render of the factory skin into a PNG, beside two yardsticks: the minimal Qt
// program (an empty window shown, a quit as soon as its event loop runs) and the minimal
// render (one text drawn into a 480 x 360 image, saved as PNG), the floor for this job.
// They run in turn, so that all three meet the machine in the same state.
void BM_RenderBesideMinimal(benchmark::State &state)
{
    ProgramFolder folder;
    const std::vector<std::string> render{
        VELLOX_EXECUTABLE, "--render", qPrintable(folder.file(QStringLiteral("default.ini"))), "-o",
        qPrintable(folder.file(QStringLiteral("render.png")))};
    const std::vector<std::string> drawing{MINIMAL_RENDER,
                                           qPrintable(folder.file(QStringLiteral("floor.png")))};
    std::vector<double> minimal, drawn, vellox;
    for (auto _ : state) {
        for (int pair = 0; pair < 20; ++pair) {
            const auto m = runOnce({MINIMAL_QT});
            const auto d = runOnce(drawing);
            const auto v = runOnce(render);
            if (!m || !d || !v) {
                state.SkipWithError("a program failed");
                return;
            }
            minimal.push_back(*m);
            drawn.push_back(*d);
            vellox.push_back(*v);
        }
    }
    state.counters["minimal_ms"] = median(minimal);
    state.counters["floor_ms"] = median(drawn);
    state.counters["render_ms"] = median(vellox);
    state.counters["ratio"] = median(vellox) / median(minimal);
    state.counters["floor_ratio"] = median(vellox) / median(drawn);
}
BENCHMARK(BM_RenderBesideMinimal)->Unit(benchmark::kMillisecond)->Iterations(1);

// `count` skins of random colours in `folder`, their paths appended to `arguments`.
void addRandomSkins(ProgramFolder &folder, int count, std::vector<std::string> &arguments)
{
    std::minstd_rand random(1);
    for (int i = 0; i < count; ++i) {
        QByteArray skin;
        for (int row : SkinFileOrder)
            skin += SkinItems[size_t(row)].key.toString().toLatin1() + " = 0x" +
                    QByteArray::number(quint32(random()), 16).rightJustified(8, '0') + "\r\n";
        const QString name = QStringLiteral("s%1.ini").arg(i);
        folder.write(name, skin);
        arguments.push_back(qPrintable(folder.file(name)));
    }
}

// vellox --check of 1000 skins of random colours in one call.
void BM_Check1000Process(benchmark::State &state)
{
    ProgramFolder folder;
    std::vector<std::string> arguments{VELLOX_EXECUTABLE, "--check"};
    addRandomSkins(folder, 1000, arguments);
    // Texts of low contrast are warnings: the check succeeds.
    for (auto _ : state) {
        if (!runOnce(arguments, "/dev/null"))
            state.SkipWithError("the check failed");
    }
}
BENCHMARK(BM_Check1000Process)->Unit(benchmark::kMillisecond)->Iterations(1);

// A run that draws `count` skins of random colours (--render into a folder, or --gallery
// onto one sheet), beside one --render of the factory skin: they alternate, so that both
// meet the machine in the same state. Counters: the medians and their ratio.
void drawManyBesideOne(benchmark::State &state, const char *task, int count, const char *output)
{
    ProgramFolder folder;
    QDir(folder.dir().path()).mkdir(QStringLiteral("out"));
    std::vector<std::string> many{VELLOX_EXECUTABLE, task};
    addRandomSkins(folder, count, many);
    many.insert(many.end(), {"-o", qPrintable(folder.file(QString::fromLatin1(output)))});
    const std::vector<std::string> one{VELLOX_EXECUTABLE, "--render",
                                       qPrintable(folder.file(QStringLiteral("default.ini"))), "-o",
                                       qPrintable(folder.file(QStringLiteral("one.png")))};
    std::vector<double> single, batch;
    for (auto _ : state) {
        for (int pair = 0; pair < 7; ++pair) {
            const auto o = runOnce(one);
            const auto m = runOnce(many);
            if (!o || !m) {
                state.SkipWithError("a drawing failed");
                return;
            }
            single.push_back(*o);
            batch.push_back(*m);
        }
    }
    state.counters["one_ms"] = median(single);
    state.counters["many_ms"] = median(batch);
    state.counters["ratio"] = median(batch) / median(single);
}

void BM_Render100BesideOne(benchmark::State &state)
{
    drawManyBesideOne(state, "--render", 100, "out/");
}
BENCHMARK(BM_Render100BesideOne)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_Gallery20BesideOne(benchmark::State &state)
{
    drawManyBesideOne(state, "--gallery", 20, "sheet.png");
}
BENCHMARK(BM_Gallery20BesideOne)->Unit(benchmark::kMillisecond)->Iterations(1);

// The contrast of every text of both scenes, over a picture, glyph masks included: what a
// hover or "Check Readability" measures.
void BM_ContrastOfAllTexts(benchmark::State &state)
{
    ColourTable colours;
    readSkinBytes(ProgramFolder::factorySkin(), colours);
    StillPicture picture(scenePicture({480, 360}));
    SceneRenderer renderer;
    renderer.redraw(colours, picture);
    for (auto _ : state)
        benchmark::DoNotOptimize(Readability(renderer, Readability::Scenes::Both).readings());
}
BENCHMARK(BM_ContrastOfAllTexts)->Unit(benchmark::kMillisecond);

// "Colours from Picture" in the window with a 12-megapixel photo imported: the suggestion,
// the table replaced, temp.ini written, both scenes redrawn.
void BM_SuggestInWindow12Megapixel(benchmark::State &state)
{
    Session s;
    s.editor->open();
    const QString photo = s.elsewhere.filePath(QStringLiteral("photo.jpg"));
    writePhoto(photo, {4000, 3000});
    s.click("Option2");
    s.importPicture(photo);
    QWidget *scene = s.inPreview("Picture2");
    for (auto _ : state) {
        if (!Session::chooseInMenu(scene, {5, 5}, {QStringLiteral("Colours from Picture")}))
            state.SkipWithError("no such entry");
    }
}
BENCHMARK(BM_SuggestInWindow12Megapixel)->Unit(benchmark::kMillisecond);

// vellox --suggest of a 12-megapixel JPEG, as a whole process, beside vellox --render of
// the factory skin over the same JPEG: decoding the picture dominates both, so the
// suggestion's own work is what the ratio shows. Alternating pairs, so that both meet the
// machine in the same state.
void BM_SuggestBesideRender12Megapixel(benchmark::State &state)
{
    ProgramFolder folder;
    const QString photo = folder.file(QStringLiteral("photo.jpg"));
    writePhoto(photo, {4000, 3000});
    // Into a file: a device given by name is refused.
    const std::vector<std::string> suggest{VELLOX_EXECUTABLE, "--suggest", qPrintable(photo), "-o",
                                           qPrintable(folder.file(QStringLiteral("s.ini")))};
    const std::vector<std::string> render{VELLOX_EXECUTABLE,
                                          "--render",
                                          qPrintable(folder.file(QStringLiteral("default.ini"))),
                                          "--background",
                                          qPrintable(photo),
                                          "-o",
                                          qPrintable(folder.file(QStringLiteral("render.png")))};
    std::vector<double> suggesting, rendering;
    for (auto _ : state) {
        for (int pair = 0; pair < 3; ++pair) {
            const auto r = runOnce(render);
            const auto s = runOnce(suggest);
            if (!r || !s) {
                state.SkipWithError("a program failed");
                return;
            }
            rendering.push_back(*r);
            suggesting.push_back(*s);
        }
    }
    state.counters["suggest_ms"] = median(suggesting);
    state.counters["render_ms"] = median(rendering);
    state.counters["ratio"] = median(suggesting) / median(rendering);
}
BENCHMARK(BM_SuggestBesideRender12Megapixel)->Unit(benchmark::kMillisecond)->Iterations(1);

// vellox --check --background of 100 skins over one 1920 x 1080 photo, as a whole process.
void BM_CheckOverPicture100Process(benchmark::State &state)
{
    ProgramFolder folder;
    const QString photo = folder.file(QStringLiteral("photo.jpg"));
    writePhoto(photo, {1920, 1080});
    std::vector<std::string> arguments{VELLOX_EXECUTABLE, "--check", "--background",
                                       qPrintable(photo)};
    for (int i = 0; i < 100; ++i) {
        const QString name = QStringLiteral("s%1.ini").arg(i);
        folder.write(name, ProgramFolder::factorySkin().replace(
                               "TextColor = 0xFFDCE3EE", QStringLiteral("TextColor = 0xFF%1E3EE")
                                                             .arg(i, 2, 16, QLatin1Char('0'))
                                                             .toLatin1()));
        arguments.push_back(qPrintable(folder.file(name)));
    }
    for (auto _ : state) {
        if (!runOnce(arguments, "/dev/null"))
            state.SkipWithError("the check failed");
    }
}
BENCHMARK(BM_CheckOverPicture100Process)->Unit(benchmark::kMillisecond)->Iterations(1);

// Collects the medians so that the targets can be checked at the end.
class Recorder final : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (run.aggregate_name != "median")
                continue;
            medians[run.run_name.function_name] =
                run.GetAdjustedRealTime() * (run.time_unit == benchmark::kMicrosecond ? 1e-3 : 1.0);
            for (const auto &[name, counter] : run.counters)
                medians[run.run_name.function_name + '.' + name] = counter.value;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> medians; // milliseconds
};

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setStyle(new FittingStyle);
    std::vector<char *> args(argv, argv + argc);
    std::string reps = "--benchmark_repetitions=9",
                aggregates = "--benchmark_report_aggregates_only=true";
    args.push_back(reps.data());
    args.push_back(aggregates.data());
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    Recorder recorder;
    benchmark::RunSpecifiedBenchmarks(&recorder);

    const auto &m = recorder.medians;
    const auto at = [&](const char *name) {
        const auto it = m.find(name);
        return it == m.end() ? -1.0 : it->second;
    };
    std::printf("\n%-34s %12s %12s\n", "median", "measured", "target");
    const auto row = [](const char *what, double value, const char *unit, const char *target,
                        bool met) {
        std::printf("%-34s %9.2f %-2s %12s  %s\n", what, value, unit, target,
                    met ? "met" : "MISSED");
    };
    row("full Update, picture present", at("BM_UpdateWithPicture"), "ms", "<= 3 ms",
        at("BM_UpdateWithPicture") <= 3);
    row("Apply Change end to end", at("BM_ApplyChange"), "ms", "<= 16 ms",
        at("BM_ApplyChange") <= 16);
    row("start-up, both windows shown", at("BM_Startup"), "ms", "<= 250 ms",
        at("BM_Startup") <= 250);
    const double ratio = at("BM_BlendPanelPerPixel") / at("BM_BlendPanel");
    row("panel blend speed-up vs per-pixel", ratio, "x", ">= 20x", ratio >= 20);
    row("import of a 100-megapixel JPEG", at("BM_Import100MegapixelJpeg"), "ms", "<= 3000 ms",
        at("BM_Import100MegapixelJpeg") <= 3000);
    const double render = at("BM_RenderBesideMinimal.ratio");
    row("--render vs minimal Qt program", render, "x", "<= 1.5x", render <= 1.5);
    const double floorRatio = at("BM_RenderBesideMinimal.floor_ratio");
    row("--render vs minimal text render", floorRatio, "x", "<= 1.15x", floorRatio <= 1.15);
    row("--check of 1000 skins", at("BM_Check1000Process"), "ms", "<= 5000 ms",
        at("BM_Check1000Process") <= 5000);
    const double batch = at("BM_Render100BesideOne.ratio");
    row("--render of 100 skins vs one", batch, "x", "<= 20x", batch <= 20);
    const double gallery = at("BM_Gallery20BesideOne.ratio");
    row("--gallery of 20 skins vs one render", gallery, "x", "<= 8x", gallery <= 8);
    row("refusal of a 60000 x 60000 header", at("BM_RefuseHugePicture"), "ms", "<= 50 ms",
        at("BM_RefuseHugePicture") <= 50);
    row("contrast of all texts, both scenes", at("BM_ContrastOfAllTexts"), "ms", "<= 5 ms",
        at("BM_ContrastOfAllTexts") <= 5);
    row("suggest in window, 12 MP picture", at("BM_SuggestInWindow12Megapixel"), "ms", "<= 300 ms",
        at("BM_SuggestInWindow12Megapixel") <= 300);
    const double suggest = at("BM_SuggestBesideRender12Megapixel.ratio");
    row("--suggest vs --render, 12 MP JPEG", suggest, "x", "<= 1.2x", suggest <= 1.2);
    row("--check --background of 100 skins", at("BM_CheckOverPicture100Process"), "ms",
        "<= 3000 ms", at("BM_CheckOverPicture100Process") <= 3000);
    benchmark::Shutdown();
    return 0;
}
