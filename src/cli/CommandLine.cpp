#include "cli/CommandLine.h"

#include "cli/CommandLineOptions.h"
#include "cli/OutputFiles.h"
#include "cli/QtArguments.h"
#include "cli/ShellCompletion.h"
#include "cli/Telling.h"

#include "readability/SkinSuggestion.h"

#include "platform/Translations.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>
#include <optional>

using namespace Qt::Literals::StringLiterals;
using namespace commandline;

namespace {

// The suffixes of the files a shell offers for a skin and for a picture, either case.
const QStringList SkinSuffixes{u"ini"_s, u"INI"_s};
const QStringList PictureSuffixes{u"bmp"_s,  u"BMP"_s,  u"jpg"_s, u"JPG"_s,
                                  u"jpeg"_s, u"JPEG"_s, u"png"_s, u"PNG"_s};

// What a shell completes as the value of `option`: these words, or the files with these
// suffixes, or (both empty) any file.
std::pair<QStringList, QStringList> completionOf(const QCommandLineOption &option, const Options &o)
{
    if (&option == &o.text)
        return {textModeNames(), {}};
    if (&option == &o.vision)
        return {visionNames(), {}};
    if (&option == &o.variant)
        return {variantNumbers(), {}};
    if (&option == &o.completion)
        return {{u"bash"_s, u"zsh"_s}, {}};
    if (&option == &o.severity) {
        // Its tenths: any number between is taken, but these are the ones to offer.
        QStringList tenths;
        for (int tenth = 1; tenth <= 9; ++tenth)
            tenths << QString::number(tenth / 10.0);
        return {tenths, {}};
    }
    if (option.valueName() == "SKIN"_L1)
        return {{}, SkinSuffixes};
    if (option.valueName() == "PICTURE"_L1)
        return {{}, PictureSuffixes};
    return {};
}

// The options as a shell completes them, in the order of the help.
QList<CompletedOption> completedOptions(const Options &o)
{
    QList<CompletedOption> completed;
    for (const QCommandLineOption *option : o.shown()) {
        const auto [words, suffixes] = completionOf(*option, o);
        completed.append(
            {option->names(), option->description(), option->valueName(), words, suffixes});
    }
    return completed;
}

void declare(QCommandLineParser &parser, const Options &o)
{
    parser.setApplicationDescription(QCoreApplication::translate(
        "CommandLine",
        "Edits the colour skin (skin.ini) of Zantho, draws skins as pictures and checks "
        "them."));
    for (const QCommandLineOption *option : o.shown())
        parser.addOption(*option);
    parser.addPositionalArgument(
        "SKIN"_L1,
        QCoreApplication::translate("CommandLine",
                                    "A skin to load on start (with --check, --render or "
                                    "--gallery: the skins to check or draw)."),
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
    command.message =
        QCoreApplication::translate("CommandLine", "vellox: %1\nTry 'vellox --help'.\n")
            .arg(problem);
    return command;
}

// Why the value of `option` is not one of `names`, or nothing.
QString notAmong(const QString &value, const QCommandLineOption &option, const QStringList &names)
{
    if (names.contains(value, Qt::CaseInsensitive))
        return {};
    return QCoreApplication::translate("CommandLine", "--%1 is %2, not \"%3\".")
        .arg(option.names().constLast(), choices(names), value);
}

// The command a parsed command line asks for, or why it is misused.
// --help, --completion and --version, which answer and do nothing else.
std::optional<CommandLine> answered(const QCommandLineParser &parser, const Options &o)
{
    CommandLine command;
    if (parser.isSet(o.help)) {
        command.mode = CommandLine::Mode::Help;
        command.message = usage(parser);
        return command;
    }
    if (parser.isSet(o.completion)) {
        const QString shell = parser.value(o.completion);
        if (shell != "bash"_L1 && shell != "zsh"_L1)
            return misused(QCoreApplication::translate("CommandLine",
                                                       "--completion is bash or zsh, not \"%1\".")
                               .arg(shell));
        command.mode = CommandLine::Mode::Help;
        // Installed as a file: the same bytes whatever the language.
        const Translations::InEnglish english;
        const Options inEnglish;
        command.message = shell == "bash"_L1
                              ? bashCompletion(completedOptions(inEnglish), SkinSuffixes)
                              : zshCompletion(completedOptions(inEnglish), SkinSuffixes);
        return command;
    }
    if (parser.isSet(o.version)) {
        command.mode = CommandLine::Mode::Version;
        command.message = "vellox "_L1 + QCoreApplication::applicationVersion() + u'\n';
        return command;
    }
    return std::nullopt;
}

int tasksAskedFor(const QCommandLineParser &parser, const Options &o)
{
    return int(parser.isSet(o.render)) + int(parser.isSet(o.check)) + int(parser.isSet(o.suggest)) +
           int(parser.isSet(o.fix)) + int(parser.isSet(o.gallery));
}

// What is wrong with the options as given, whatever the task: one given twice, more
// than one task, or an option without a task it goes with. Nothing when all is well.
QString misplacedOptions(const QCommandLineParser &parser, const Options &o)
{
    // Qt keeps the last of two values: the first would be dropped without a word. A
    // switch given twice is a slip too, and told alike.
    const QStringList given = parser.optionNames();
    for (const QCommandLineOption *option : o.shown()) {
        if (std::count_if(given.begin(), given.end(),
                          [&](const QString &name) { return option->names().contains(name); }) > 1)
            return QCoreApplication::translate("CommandLine", "--%1 is given more than once.")
                .arg(option->names().constLast());
    }
    const int tasks = tasksAskedFor(parser, o);
    if (tasks > 1)
        return QCoreApplication::translate(
            "CommandLine", "Ask for one of --render, --check, --suggest, --fix and --gallery at a "
                           "time.");
    const bool rendering = parser.isSet(o.render), suggesting = parser.isSet(o.suggest);
    const bool drawing = rendering || parser.isSet(o.gallery);
    // Options that go with some tasks only, and those tasks.
    const std::tuple<const QCommandLineOption *, bool, QString> belongs[] = {
        {&o.output, tasks == 1 && !parser.isSet(o.check),
         QCoreApplication::translate("CommandLine", "--render, --suggest, --fix or --gallery")},
        {&o.background, tasks == 1 && !suggesting,
         QCoreApplication::translate("CommandLine", "--render, --check, --fix or --gallery")},
        {&o.text, drawing, QCoreApplication::translate("CommandLine", "--render or --gallery")},
        {&o.vision, drawing || parser.isSet(o.check),
         QCoreApplication::translate("CommandLine", "--render, --gallery or --check")},
        {&o.severity, drawing || parser.isSet(o.check),
         QCoreApplication::translate("CommandLine", "--render, --gallery or --check")},
        {&o.variant, suggesting, "--suggest"_L1},
        {&o.panels, parser.isSet(o.fix) && parser.isSet(o.background),
         QCoreApplication::translate("CommandLine", "--fix over a --background")},
    };
    for (const auto &[option, fits, tasksOf] : belongs) {
        if (parser.isSet(*option) && !fits)
            return QCoreApplication::translate("CommandLine", "--%1 goes only with %2.")
                .arg(option->names().constLast(), tasksOf);
    }
    return {};
}

// --vision and --severity into `command`, or why they are misused.
QString seenWith(const QCommandLineParser &parser, const Options &o, CommandLine &command)
{
    const QString seen = parser.value(o.vision);
    if (!isNormal(seen)) {
        if (QString problem = notAmong(seen, o.vision, visionNames()); !problem.isEmpty())
            return problem;
    }
    command.vision = *std::find_if(std::begin(Visions), std::end(Visions), [&](Vision v) {
        return seen.compare(QLatin1StringView(visionName(v)), Qt::CaseInsensitive) == 0;
    });
    if (!parser.isSet(o.severity))
        return {};
    if (!hasSeverity(command.vision))
        return QCoreApplication::translate("CommandLine", "--severity goes only with --vision %1.")
            .arg(choices(anomalousNames()));
    bool isNumber = false;
    const QString given = parser.value(o.severity);
    // A decimal point whatever the locale, as scripts write it.
    command.severity = QLocale::c().toDouble(given, &isNumber);
    // "nan" is a number to the reader, and within no range.
    if (!isNumber || !(command.severity >= LeastSeverity && command.severity <= GreatestSeverity))
        return QCoreApplication::translate("CommandLine",
                                           "--severity is a number from %1 to %2, not \"%3\".")
            .arg(LeastSeverity)
            .arg(GreatestSeverity)
            .arg(given);
    return {};
}

// --text, --vision and --severity into `command`, or why they are misused.
QString drawingOptions(const QCommandLineParser &parser, const Options &o, CommandLine &command)
{
    const QString mode = parser.value(o.text);
    for (const QString &problem :
         {notAmong(mode, o.text, textModeNames()), seenWith(parser, o, command)}) {
        if (!problem.isEmpty())
            return problem;
    }
    command.text = std::find_if(std::begin(TextModes), std::end(TextModes), [&](auto &m) {
                       return m.first.compare(mode, Qt::CaseInsensitive) == 0;
                   })->second;
    return {};
}

// Why the skins of a batch cannot each be drawn into a picture of its own in the folder
// `folder`, or nothing: standard input has no name to give its picture, and two skins of
// one name would be drawn into the same picture, the second over the first.
QString unnamedInFolder(const QStringList &skins, const QString &folder)
{
    if (skins.contains("-"_L1))
        return QCoreApplication::translate(
            "CommandLine",
            "Standard input (-) has no name for a picture in a folder; draw it alone, with -o "
            "FILE.");
    for (qsizetype i = 0; i < skins.size(); ++i) {
        for (qsizetype j = 0; j < i; ++j) {
            if (pictureNameOf(skins[i]) == pictureNameOf(skins[j]))
                return QCoreApplication::translate(
                           "CommandLine", "\"%1\" and \"%2\" would both be drawn into \"%3\".")
                    .arg(skins[j], skins[i], QDir(folder).filePath(pictureNameOf(skins[i])));
        }
    }
    return {};
}

// --render of several skins, or of one into a folder: -o names that folder.
CommandLine renderingTask(const QCommandLineParser &parser, const Options &o, CommandLine command)
{
    command.mode = CommandLine::Mode::Render;
    const QStringList skins = QStringList{parser.value(o.render)} + parser.positionalArguments();
    const QString output = parser.value(o.output);
    const bool intoFolder =
        output != "-"_L1 && (output.endsWith(u'/') || QFileInfo(output).isDir());
    if (skins.size() > 1 && !intoFolder)
        return misused(QCoreApplication::translate("CommandLine",
                                                   "--render of several skins writes into a "
                                                   "folder, and -o \"%1\" is none.")
                           .arg(output));
    if (!intoFolder) {
        command.skin = skins.constFirst();
        return command;
    }
    if (const QString problem = unnamedInFolder(skins, output); !problem.isEmpty())
        return misused(problem);
    command.skins = skins;
    return command;
}

// --gallery: its skins, of which standard input may be one.
CommandLine galleryTask(const QCommandLineParser &parser, CommandLine command)
{
    const QStringList skins = parser.positionalArguments();
    if (skins.isEmpty())
        return misused(
            QCoreApplication::translate("CommandLine", "--gallery wants one or more skins."));
    if (skins.count("-"_L1) > 1)
        return misused(QCoreApplication::translate("CommandLine",
                                                   "Standard input (-) can be read only once."));
    command.mode = CommandLine::Mode::Gallery;
    command.skins = skins;
    return command;
}

// --render, --suggest, --fix or --gallery, which write to -o, their other options checked.
CommandLine writingTask(const QCommandLineParser &parser, const Options &o, CommandLine command)
{
    const bool rendering = parser.isSet(o.render), suggesting = parser.isSet(o.suggest);
    const bool gallery = parser.isSet(o.gallery);
    const QLatin1StringView task = rendering    ? "--render"_L1
                                   : suggesting ? "--suggest"_L1
                                   : gallery    ? "--gallery"_L1
                                                : "--fix"_L1;
    const QString noOther =
        QCoreApplication::translate("CommandLine", "%1 wants -o OUT and no other skin.").arg(task);
    if (!parser.isSet(o.output))
        return misused(
            rendering || gallery
                ? QCoreApplication::translate("CommandLine", "%1 wants -o OUT.").arg(task)
                : noOther);
    if (!rendering && !gallery && !parser.positionalArguments().isEmpty())
        return misused(noOther);
    command.output = parser.value(o.output);
    if (rendering || gallery) {
        if (const QString problem = drawingOptions(parser, o, command); !problem.isEmpty())
            return misused(problem);
        return rendering ? renderingTask(parser, o, command) : galleryTask(parser, command);
    }
    if (suggesting) {
        // The looks by their names, as --help gives them.
        if (const QString value = parser.value(o.variant); !variantNumbers().contains(value))
            return misused(
                QCoreApplication::translate(
                    "CommandLine",
                    "--variant is 1 (light), 2 (dark), 3 (vivid) or 4 (muted), not \"%1\".")
                    .arg(value));
        command.mode = CommandLine::Mode::Suggest;
        command.variant = parser.value(o.variant).toInt();
        command.background = parser.value(o.suggest);
    } else {
        command.mode = CommandLine::Mode::Fix;
        command.skin = parser.value(o.fix);
        command.panels = parser.isSet(o.panels);
    }
    return command;
}

CommandLine checked(const QCommandLineParser &parser, const Options &o)
{
    if (std::optional<CommandLine> answer = answered(parser, o))
        return *answer;
    if (const QString problem = misplacedOptions(parser, o); !problem.isEmpty())
        return misused(problem);
    const QStringList positional = parser.positionalArguments();
    CommandLine command;
    command.background = parser.value(o.background);
    if (parser.isSet(o.check)) {
        if (positional.isEmpty())
            return misused(
                QCoreApplication::translate("CommandLine", "--check wants one or more skins."));
        if (positional.count("-"_L1) > 1)
            return misused(QCoreApplication::translate(
                "CommandLine", "Standard input (-) can be read only once."));
        if (const QString problem = seenWith(parser, o, command); !problem.isEmpty())
            return misused(problem);
        command.mode = CommandLine::Mode::Check;
        command.skins = positional;
        return command;
    }
    if (tasksAskedFor(parser, o) == 0) {
        if (positional.size() > 1)
            return misused(
                QCoreApplication::translate("CommandLine", "Start with at most one skin."));
        command.skin = positional.value(0);
        return command;
    }
    return writingTask(parser, o, command);
}

} // namespace

QString skinName(const QString &path)
{
    return path == "-"_L1 ? QCoreApplication::translate("CommandLine", "standard input") : path;
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
