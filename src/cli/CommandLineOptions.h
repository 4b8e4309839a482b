#pragma once

// Every option the command line takes, with its help, and the values some of them take:
// declared once, for the parser, the help and the shell completion alike.

#include "cli/OutputFiles.h"
#include "cli/Telling.h"

#include "readability/SkinSuggestion.h"
#include "scene/SceneLayout.h"

#include "colour/Vision.h"

#include <QCommandLineOption>
#include <QCoreApplication>
#include <QList>
#include <QStringList>

#include <utility>

namespace commandline {

using namespace Qt::Literals::StringLiterals;

// The names --text takes, first the default.
inline constexpr std::pair<QLatin1StringView, TextMode> TextModes[] = {
    {"skinning"_L1, TextMode::Skinning},
    {"actual"_L1, TextMode::Actual},
};

inline QStringList textModeNames()
{
    QStringList names;
    for (const auto &[name, mode] : TextModes)
        names << name;
    return names;
}

// The visions --vision draws, named as in the preview's menu but in lower case; the
// normal one is the default and goes unnamed in the choices.
inline QStringList visionNames()
{
    QStringList names;
    for (Vision v : Visions) {
        if (v != Vision::Normal)
            names << QLatin1StringView(visionName(v)).toString().toLower();
    }
    return names;
}

inline bool isNormal(const QString &vision)
{
    return vision.compare(QLatin1StringView(visionName(Vision::Normal)), Qt::CaseInsensitive) == 0;
}

// The visions that come in degrees, which --severity sets.
inline QStringList anomalousNames()
{
    QStringList names;
    for (Vision v : Visions) {
        if (hasSeverity(v))
            names << QLatin1StringView(visionName(v)).toString().toLower();
    }
    return names;
}

inline QStringList variantNumbers()
{
    QStringList numbers;
    for (int n = 1; n <= SuggestionCount; ++n)
        numbers << QString::number(n);
    return numbers;
}

// Every option the program takes, with its help.
struct Options
{
    QCommandLineOption help{{"h"_L1, "help"_L1},
                            QCoreApplication::translate("CommandLine", "Show this help and exit.")};
    QCommandLineOption version{
        {"v"_L1, "version"_L1},
        QCoreApplication::translate("CommandLine", "Show the version and exit.")};
    QCommandLineOption render{
        "render"_L1,
        QCoreApplication::translate("CommandLine",
                                    "Draw the preview of SKIN into a PNG picture, with no window; "
                                    "of each further SKIN too, into the folder -o names."),
        "SKIN"_L1};
    QCommandLineOption check{
        "check"_L1,
        QCoreApplication::translate("CommandLine",
                                    "Check each SKIN and report its problems and the texts that do "
                                    "not read well, one line each.")};
    QCommandLineOption suggest{
        "suggest"_L1,
        QCoreApplication::translate(
            "CommandLine", "Write a skin made from the colours of PICTURE that reads well on it."),
        "PICTURE"_L1};
    QCommandLineOption gallery{
        "gallery"_L1,
        QCoreApplication::translate("CommandLine",
                                    "Draw the preview of each SKIN into one picture, four to a "
                                    "row, each named below it; -o names the picture.")};
    QCommandLineOption fix{"fix"_L1,
                           QCoreApplication::translate(
                               "CommandLine",
                               "Write SKIN with each text that does not read well given a readable "
                               "colour of its hue."),
                           "SKIN"_L1};
    QCommandLineOption panels{
        "panels"_L1, QCoreApplication::translate("CommandLine",
                                                 "With --fix: raise each panel whose texts no "
                                                 "colour of their hue mends to the lowest opacity "
                                                 "at which they read well.")};
    QCommandLineOption output{
        {"o"_L1, "output"_L1},
        QCoreApplication::translate("CommandLine",
                                    "Where --render, --suggest, --fix or --gallery write: for "
                                    "--render or --gallery a %1 file (PNG without a suffix); - for "
                                    "standard output; a folder for several skins.")
            .arg(choices(pictureSuffixes())),
        "OUT"_L1};
    QCommandLineOption background{
        "background"_L1,
        QCoreApplication::translate("CommandLine",
                                    "With --render, --check, --fix or --gallery: the picture of "
                                    "the picture scene (PNG, JPEG, BMP or another format Qt "
                                    "reads)."),
        "PICTURE"_L1};
    QCommandLineOption text{
        "text"_L1,
        QCoreApplication::translate("CommandLine",
                                    "With --render or --gallery: the preview's texts, %1.")
            .arg(choices(textModeNames().replaceInStrings(
                TextModes[0].first, QCoreApplication::translate("CommandLine", "%1 (the default)")
                                        .arg(TextModes[0].first)))),
        textModeNames().join(u'|'), TextModes[0].first};
    QCommandLineOption vision{
        "vision"_L1,
        QCoreApplication::translate("CommandLine",
                                    "With --render or --gallery: draw as seen with %1. With "
                                    "--check: measure the texts as seen so, and compare the parts "
                                    "that must be told apart under it alone.")
            .arg(choices(visionNames())),
        "KIND"_L1, QLatin1StringView(visionName(Vision::Normal)).toString().toLower()};
    QCommandLineOption severity{
        "severity"_L1,
        QCoreApplication::translate("CommandLine",
                                    "With --vision %1: how strong, from %2 to %3 (%4 by default).")
            .arg(choices(anomalousNames()))
            .arg(LeastSeverity)
            .arg(GreatestSeverity)
            .arg(DefaultSeverity),
        "S"_L1};
    QCommandLineOption variant{
        "variant"_L1,
        QCoreApplication::translate("CommandLine",
                                    "With --suggest: the look, 1 light, 2 dark, 3 vivid or 4 "
                                    "muted."),
        "N"_L1, "1"_L1};
    // Prints the completion of the options, their values and the files they take for a
    // shell: the package installs it, and a user without the package can.
    QCommandLineOption completion{
        "completion"_L1,
        QCoreApplication::translate("CommandLine",
                                    "Print the completion of these options for SHELL, bash or "
                                    "zsh, to be saved where the shell looks for it (see man "
                                    "vellox, or man ./vellox.1 beside the program)."),
        "SHELL"_L1};
    // Those the help lists, in its order, which the shells complete.
    QList<const QCommandLineOption *> shown() const
    {
        return {&help,   &version,    &render, &check,  &suggest,  &fix,     &panels,    &gallery,
                &output, &background, &text,   &vision, &severity, &variant, &completion};
    }
};

} // namespace commandline
