#include "shell/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>

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
    const QCommandLineOption output(
        {"o"_L1, "output"_L1},
        "Where --render writes its picture: a .png, .bmp, .jpg or .jpeg file (PNG without a "
        "suffix), or - for standard output."_L1,
        "OUT"_L1);
    const QCommandLineOption background(
        "background"_L1,
        "With --render: draw over PICTURE (BMP or JPEG) instead of the gradient."_L1, "PICTURE"_L1);
    const QCommandLineOption text(
        "text"_L1, "With --render: the preview's texts, skinning (the default) or actual."_L1,
        "skinning|actual"_L1, "skinning"_L1);
    const QCommandLineOption check("check"_L1,
                                   "Check each SKIN and report its problems, one line each."_L1);
    parser.addOptions({help, version, render, output, background, text, check});
    parser.addPositionalArgument("SKIN"_L1,
                                 "A skin to load on start (with --check: the skins to check)."_L1,
                                 "[SKIN...]"_L1);

    if (!parser.parse(arguments))
        return misused(parser.errorText(), parser);
    CommandLine command;
    const QStringList positional = parser.positionalArguments();
    if (parser.isSet(help)) {
        command.mode = CommandLine::Mode::Help;
        command.message = usage(parser);
    } else if (parser.isSet(version)) {
        command.mode = CommandLine::Mode::Version;
        command.message = "vellox "_L1 + QCoreApplication::applicationVersion() + u'\n';
    } else if (parser.isSet(check)) {
        if (parser.isSet(render) || positional.isEmpty())
            return misused("--check wants one or more skins and no --render."_L1, parser);
        command.mode = CommandLine::Mode::Check;
        command.skins = positional;
    } else if (parser.isSet(render)) {
        if (!parser.isSet(output) || !positional.isEmpty())
            return misused("--render SKIN wants -o OUT and no other skin."_L1, parser);
        const QString mode = parser.value(text);
        if (mode != "skinning"_L1 && mode != "actual"_L1)
            return misused("--text is skinning or actual, not \""_L1 + mode + "\"."_L1, parser);
        command.mode = CommandLine::Mode::Render;
        command.skin = parser.value(render);
        command.output = parser.value(output);
        command.background = parser.value(background);
        command.text = mode == "actual"_L1 ? TextMode::Actual : TextMode::Skinning;
    } else {
        if (positional.size() > 1 || parser.isSet(output) || parser.isSet(background) ||
            parser.isSet(text))
            return misused("Start with at most one skin; -o, --background and --text go "
                           "with --render."_L1,
                           parser);
        command.skin = positional.value(0);
    }
    return command;
}
