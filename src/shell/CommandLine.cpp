#include "shell/CommandLine.h"

#include "shell/Render.h"

#include "readability/SkinSuggestion.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

// The names --text takes, first the default.
constexpr std::pair<QLatin1StringView, TextMode> TextModes[] = {
    {"skinning"_L1, TextMode::Skinning},
    {"actual"_L1, TextMode::Actual},
};

QStringList textModeNames()
{
    QStringList names;
    for (const auto &[name, mode] : TextModes)
        names << name;
    return names;
}

// The visions --vision draws, named as in the preview's menu but in lower case; the
// normal one is the default and goes unnamed in the choices.
QStringList visionNames()
{
    QStringList names;
    for (Vision v : Visions) {
        if (v != Vision::Normal)
            names << QLatin1StringView(visionName(v)).toString().toLower();
    }
    return names;
}

bool isNormal(const QString &vision)
{
    return vision.compare(QLatin1StringView(visionName(Vision::Normal)), Qt::CaseInsensitive) == 0;
}

QStringList variantNumbers()
{
    QStringList numbers;
    for (int n = 1; n <= SuggestionCount; ++n)
        numbers << QString::number(n);
    return numbers;
}

// Every option the program takes, with its help.
struct Options
{
    QCommandLineOption help{{"h"_L1, "help"_L1}, "Show this help and exit."_L1};
    QCommandLineOption version{{"v"_L1, "version"_L1}, "Show the version and exit."_L1};
    QCommandLineOption render{
        "render"_L1, "Draw the preview of SKIN into a PNG picture, with no window."_L1, "SKIN"_L1};
    QCommandLineOption check{"check"_L1,
                             "Check each SKIN and report its problems and the texts that do "
                             "not read well, one line each."_L1};
    QCommandLineOption suggest{
        "suggest"_L1, "Write a skin made from the colours of PICTURE that reads well on it."_L1,
        "PICTURE"_L1};
    QCommandLineOption fix{"fix"_L1,
                           "Write SKIN with each text that does not read well given a readable "
                           "colour of its hue."_L1,
                           "SKIN"_L1};
    QCommandLineOption output{{"o"_L1, "output"_L1},
                              "Where --render, --suggest or --fix write: for --render a "_L1 +
                                  choices(pictureSuffixes()) +
                                  " file (PNG without a suffix); - for standard output."_L1,
                              "OUT"_L1};
    QCommandLineOption background{
        "background"_L1,
        "With --render, --check or --fix: the picture (BMP or JPEG) of the picture scene."_L1,
        "PICTURE"_L1};
    QCommandLineOption text{"text"_L1,
                            "With --render: the preview's texts, "_L1 +
                                choices(textModeNames().replaceInStrings(
                                    TextModes[0].first, TextModes[0].first + " (the default)"_L1)) +
                                u'.',
                            textModeNames().join(u'|'), TextModes[0].first};
    QCommandLineOption vision{
        "vision"_L1, "With --render: draw as seen with "_L1 + choices(visionNames()) + u'.',
        "KIND"_L1, QLatin1StringView(visionName(Vision::Normal)).toString().toLower()};
    QCommandLineOption variant{"variant"_L1,
                               "With --suggest: which of the suggestions, "_L1 +
                                   choices(variantNumbers()) + u'.',
                               "N"_L1, "1"_L1};
    // Those that take a value, which one occurrence gives.
    QList<const QCommandLineOption *> valued() const
    {
        return {&render, &suggest, &fix, &output, &background, &text, &vision, &variant};
    }
};

void declare(QCommandLineParser &parser, const Options &o)
{
    parser.setApplicationDescription(
        "Edits the colour skin (skin.ini) of Zantho, draws skins as pictures and checks "
        "them."_L1);
    parser.addOptions({o.help, o.version, o.render, o.check, o.suggest, o.fix, o.output,
                       o.background, o.text, o.vision, o.variant});
    parser.addPositionalArgument("SKIN"_L1,
                                 "A skin to load on start (with --check: the skins to check)."_L1,
                                 "[SKIN...]"_L1);
}

// Qt names the program only once an application object exists.
QString usage(const QCommandLineParser &parser)
{
    return parser.helpText().replace("<executable_name>"_L1, "vellox"_L1);
}

// One line naming the problem and where to learn more, as command-line programs answer a
// misuse; the whole help would bury the line that matters.
CommandLine misused(const QString &problem)
{
    CommandLine command;
    command.mode = CommandLine::Mode::Misused;
    command.message = "vellox: "_L1 + problem + "\nTry 'vellox --help'.\n"_L1;
    return command;
}

// Why the value of `option` is not one of `names`, or nothing.
QString notAmong(const QString &value, const QCommandLineOption &option, const QStringList &names)
{
    if (names.contains(value, Qt::CaseInsensitive))
        return {};
    return u"--%1 is %2, not \"%3\"."_s.arg(option.names().constLast(), choices(names), value);
}

// The command a parsed command line asks for, or why it is misused.
CommandLine checked(const QCommandLineParser &parser, const Options &o)
{
    CommandLine command;
    if (parser.isSet(o.help)) {
        command.mode = CommandLine::Mode::Help;
        command.message = usage(parser);
        return command;
    }
    if (parser.isSet(o.version)) {
        command.mode = CommandLine::Mode::Version;
        command.message = "vellox "_L1 + QCoreApplication::applicationVersion() + u'\n';
        return command;
    }
    // Qt keeps the last of two values: the first would be dropped without a word.
    for (const QCommandLineOption *option : o.valued()) {
        if (parser.values(*option).size() > 1)
            return misused(u"--%1 is given more than once."_s.arg(option->names().constLast()));
    }
    const QStringList positional = parser.positionalArguments();
    const bool rendering = parser.isSet(o.render), suggesting = parser.isSet(o.suggest);
    const auto tasks =
        int(rendering) + int(parser.isSet(o.check)) + int(suggesting) + int(parser.isSet(o.fix));
    if (tasks > 1)
        return misused("Ask for one of --render, --check, --suggest and --fix at a time."_L1);
    // Options that go with some tasks only, and those tasks.
    const std::tuple<const QCommandLineOption *, bool, QLatin1StringView> belongs[] = {
        {&o.output, tasks == 1 && !parser.isSet(o.check), "--render, --suggest or --fix"_L1},
        {&o.background, tasks == 1 && !suggesting, "--render, --check or --fix"_L1},
        {&o.text, rendering, "--render"_L1},
        {&o.vision, rendering, "--render"_L1},
        {&o.variant, suggesting, "--suggest"_L1},
    };
    for (const auto &[option, fits, tasksOf] : belongs) {
        if (parser.isSet(*option) && !fits)
            return misused(u"--%1 goes only with %2."_s.arg(option->names().constLast(), tasksOf));
    }
    command.background = parser.value(o.background);
    if (parser.isSet(o.check)) {
        if (positional.isEmpty())
            return misused("--check wants one or more skins."_L1);
        if (positional.count("-"_L1) > 1)
            return misused("Standard input (-) can be read only once."_L1);
        command.mode = CommandLine::Mode::Check;
        command.skins = positional;
        return command;
    }
    if (tasks == 0) {
        if (positional.size() > 1)
            return misused("Start with at most one skin."_L1);
        command.skin = positional.value(0);
        return command;
    }
    const QLatin1StringView task = rendering    ? "--render"_L1
                                   : suggesting ? "--suggest"_L1
                                                : "--fix"_L1;
    if (!parser.isSet(o.output) || !positional.isEmpty())
        return misused(task + " wants -o OUT and no other skin."_L1);
    command.output = parser.value(o.output);
    if (rendering) {
        const QString mode = parser.value(o.text), seen = parser.value(o.vision);
        for (const QString &problem :
             {notAmong(mode, o.text, textModeNames()),
              isNormal(seen) ? QString() : notAmong(seen, o.vision, visionNames())}) {
            if (!problem.isEmpty())
                return misused(problem);
        }
        command.mode = CommandLine::Mode::Render;
        command.skin = parser.value(o.render);
        command.text = std::find_if(std::begin(TextModes), std::end(TextModes), [&](auto &m) {
                           return m.first.compare(mode, Qt::CaseInsensitive) == 0;
                       })->second;
        command.vision = *std::find_if(std::begin(Visions), std::end(Visions), [&](Vision v) {
            return seen.compare(QLatin1StringView(visionName(v)), Qt::CaseInsensitive) == 0;
        });
    } else if (suggesting) {
        if (const QString problem = notAmong(parser.value(o.variant), o.variant, variantNumbers());
            !problem.isEmpty())
            return misused(problem);
        command.mode = CommandLine::Mode::Suggest;
        command.variant = parser.value(o.variant).toInt();
        command.background = parser.value(o.suggest);
    } else {
        command.mode = CommandLine::Mode::Fix;
        command.skin = parser.value(o.fix);
    }
    return command;
}

// Qt's own options for the window, which QApplication takes out of the arguments itself
// (as -name VALUE, -name=VALUE, and with two dashes): those that take a value, then those
// that do not.
constexpr QLatin1StringView QtValued[] = {
    "platform"_L1,      "platformpluginpath"_L1,
    "platformtheme"_L1, "plugin"_L1,
    "display"_L1,       "qwindowgeometry"_L1,
    "geometry"_L1,      "qwindowtitle"_L1,
    "title"_L1,         "qwindowicon"_L1,
    "icon"_L1,          "session"_L1,
    "name"_L1,          "style"_L1,
    "stylesheet"_L1,
};
constexpr QLatin1StringView QtFlags[] = {"reverse"_L1, "widgetcount"_L1, "nograb"_L1, "dograb"_L1};

// `arguments` without Qt's own options, whose values are noted in `command`. Stops at
// "--", after which every argument is a skin.
QStringList withoutQtOptions(const QStringList &arguments, CommandLine &command)
{
    QStringList ours = arguments.mid(0, 1);
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        if (a == "--"_L1) {
            ours += arguments.mid(i);
            break;
        }
        const QString option = a.mid(a.startsWith("--"_L1) ? 2 : 1);
        const QString name = option.section(u'=', 0, 0);
        const auto among = [&name](const auto &names) {
            return std::find(std::begin(names), std::end(names), name) != std::end(names);
        };
        const bool valued = among(QtValued);
        if (!a.startsWith(u'-') || (!valued && !among(QtFlags))) {
            ours << a;
            continue;
        }
        if (!valued)
            continue;
        const QString value =
            option.contains(u'=') ? option.section(u'=', 1) : arguments.value(++i);
        if (name == "style"_L1)
            command.style = value;
        else if (name == "platform"_L1)
            command.platform = value;
        else if (name == "display"_L1)
            command.display = value;
    }
    return ours;
}

} // namespace

QString skinName(const QString &path)
{
    return path == "-"_L1 ? u"standard input"_s : path;
}

CommandLine parseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    const Options options;
    declare(parser, options);
    CommandLine qt;
    qt.style = qEnvironmentVariable("QT_STYLE_OVERRIDE");
    if (!parser.parse(withoutQtOptions(arguments, qt)))
        return misused(parser.errorText());
    CommandLine command = checked(parser, options);
    command.style = qt.style;
    command.platform = qt.platform;
    command.display = qt.display;
    return command;
}
