#pragma once

#include "scene/SceneLayout.h"

#include "colour/Vision.h"

#include <QString>
#include <QStringList>

// What the command line asks of the program.
struct CommandLine
{
    enum class Mode
    {
        Window,  // the editor, loading `skin` when one is given
        Render,  // `skin` drawn into `output`, with no window; or each of `skins` into
                 // the folder `output`
        Check,   // `skins` checked and reported, over `background` too if given
        Suggest, // a skin for the picture `background` written to `output`
        Fix,     // `skin` with its hard-to-read texts mended written to `output`
        Gallery, // the scenes of `skins` drawn side by side into the one picture `output`
        Help,    // `message` on standard output, success
        Version, // the same
        Misused, // `message` on standard error, exit status 2
    };
    Mode mode = Mode::Window;
    QString skin;
    QStringList skins;
    QString output;
    QString background; // a picture for the picture scene, or empty for the colour scene
    TextMode text = TextMode::Skinning;
    Vision vision = Vision::Normal;
    double severity = DefaultSeverity; // of an anomalous `vision`
    int variant = 1;                   // of a suggestion, from 1
    bool panels = false; // --fix raises the opacity of panels whose texts no hue mends
    QString message;
    // What the user asked of Qt for the window (-style or QT_STYLE_OVERRIDE, -platform,
    // -display), or nothing; Qt takes these from the arguments itself.
    QString style;
    QString platform;
    QString display;
};

// `arguments` as the program got them, its own name first, with QT_STYLE_OVERRIDE. Needs
// no application object, so that help and misuse are answered without a display.
CommandLine parseCommandLine(const QStringList &arguments);

// The name that messages give a skin: "standard input" for "-".
QString skinName(const QString &path);
