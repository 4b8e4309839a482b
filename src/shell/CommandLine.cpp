#include "shell/CommandLine.h"

#include "readability/SkinSuggestion.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

// Qt names the program only once an application object exists.
QString usage(const QCommandLineParser &parser)
{
    return parser.helpText().replace("<executable_name>"_L1, "vellox"_L1);
}

CommandLine misused(const QString &problem, const QCommandLineParser &parser)
{
    CommandLine command;
    command.mode = CommandLine::Mode::Misused;
    command.message = "vellox: "_L1 + problem + u'\n' + usage(parser);
    return command;
}

} // namespace

CommandLine parseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Edits the colour skin (skin.ini) of Zantho, draws skins as pictures and checks "
        "them."_L1);
    const QCommandLineOption help({"h"_L1, "help"_L1}, "Show this help and exit."_L1);
    const QCommandLineOption version({"v"_L1, "version"_L1}, "Show the version and exit."_L1);
    const QCommandLineOption render(
        "render"_L1, "Draw the preview of SKIN into a PNG picture, with no window."_L1, "SKIN"_L1);
    const QCommandLineOption check(
        "check"_L1, "Check each SKIN and report its problems and the texts that do not read "
                    "well, one line each."_L1);
    const QCommandLineOption suggest(
        "suggest"_L1, "Write a skin made from the colours of PICTURE that reads well on it."_L1,
        "PICTURE"_L1);
    const QCommandLineOption fix(
        "fix"_L1,
        "Write SKIN with each text that does not read well given a readable colour "
        "of its hue."_L1,
        "SKIN"_L1);
    const QCommandLineOption output(
        {"o"_L1, "output"_L1},
        "Where --render, --suggest or --fix write: for --render a .png, .bmp, .jpg or .jpeg "
        "file (PNG without a suffix); - for standard output."_L1,
        "OUT"_L1);
    const QCommandLineOption background(
        "background"_L1,
        "With --render, --check or --fix: the picture (BMP or JPEG) of the picture scene."_L1,
        "PICTURE"_L1);
    const QCommandLineOption text(
        "text"_L1, "With --render: the preview's texts, skinning (the default) or actual."_L1,
        "skinning|actual"_L1, "skinning"_L1);
    const QCommandLineOption vision(
        "vision"_L1,
        "With --render: draw as seen with protanopia, deuteranopia, tritanopia or "
        "achromatopsia."_L1,
        "KIND"_L1, "normal"_L1);
    const QCommandLineOption variant(
        "variant"_L1,
        "With --suggest: which of the suggestions, 1 to 4 (light, dark, vivid, "
        "muted)."_L1,
        "N"_L1, "1"_L1);
    parser.addOptions(
        {help, version, render, check, suggest, fix, output, background, text, vision, variant});
    parser.addPositionalArgument("SKIN"_L1,
                                 "A skin to load on start (with --check: the skins to check)."_L1,
                                 "[SKIN...]"_L1);

    if (!parser.parse(arguments))
        return misused(parser.errorText(), parser);
    CommandLine command;
    const QStringList positional = parser.positionalArguments();
    const auto tasks = int(parser.isSet(render)) + int(parser.isSet(check)) +
                       int(parser.isSet(suggest)) + int(parser.isSet(fix));
    if (parser.isSet(help)) {
        command.mode = CommandLine::Mode::Help;
        command.message = usage(parser);
        return command;
    }
    if (parser.isSet(version)) {
        command.mode = CommandLine::Mode::Version;
        command.message = "vellox "_L1 + QCoreApplication::applicationVersion() + u'\n';
        return command;
    }
    if (tasks > 1)
        return misused("Ask for one of --render, --check, --suggest and --fix at a time."_L1,
                       parser);
    const bool rendering = parser.isSet(render), suggesting = parser.isSet(suggest);
    // Options that go with some tasks only.
    const std::pair<const QCommandLineOption *, bool> belongs[] = {
        {&output, tasks == 1 && !parser.isSet(check)},
        {&background, tasks == 1 && !suggesting},
        {&text, rendering},
        {&vision, rendering},
        {&variant, suggesting},
    };
    for (const auto &[option, fits] : belongs) {
        if (parser.isSet(*option) && !fits)
            return misused(u"--%1 does not go with what was asked; see --help."_s.arg(
                               option->names().constLast()),
                           parser);
    }
    command.background = parser.value(background);
    if (parser.isSet(check)) {
        if (positional.isEmpty())
            return misused("--check wants one or more skins."_L1, parser);
        command.mode = CommandLine::Mode::Check;
        command.skins = positional;
        return command;
    }
    if (tasks == 0) {
        if (positional.size() > 1)
            return misused("Start with at most one skin."_L1, parser);
        command.skin = positional.value(0);
        return command;
    }
    const QLatin1StringView task = rendering    ? "--render"_L1
                                   : suggesting ? "--suggest"_L1
                                                : "--fix"_L1;
    if (!parser.isSet(output) || !positional.isEmpty())
        return misused(task + " wants -o OUT and no other skin."_L1, parser);
    command.output = parser.value(output);
    if (rendering) {
        const QString mode = parser.value(text);
        if (mode != "skinning"_L1 && mode != "actual"_L1)
            return misused("--text is skinning or actual, not \""_L1 + mode + "\"."_L1, parser);
        const QString seen = parser.value(vision);
        const auto kind = std::find_if(std::begin(Visions), std::end(Visions), [&](Vision v) {
            return seen.compare(QLatin1StringView(visionName(v)), Qt::CaseInsensitive) == 0;
        });
        if (kind == std::end(Visions))
            return misused("--vision is protanopia, deuteranopia, tritanopia or achromatopsia, "
                           "not \""_L1 +
                               parser.value(vision) + "\"."_L1,
                           parser);
        command.mode = CommandLine::Mode::Render;
        command.skin = parser.value(render);
        command.text = mode == "actual"_L1 ? TextMode::Actual : TextMode::Skinning;
        command.vision = *kind;
    } else if (suggesting) {
        bool number = false;
        command.variant = parser.value(variant).toInt(&number);
        if (!number || command.variant < 1 || command.variant > SuggestionCount)
            return misused(
                "--variant is 1, 2, 3 or 4, not \""_L1 + parser.value(variant) + "\"."_L1, parser);
        command.mode = CommandLine::Mode::Suggest;
        command.background = parser.value(suggest);
    } else {
        command.mode = CommandLine::Mode::Fix;
        command.skin = parser.value(fix);
    }
    return command;
}
