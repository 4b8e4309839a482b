#pragma once

#include "preview/SceneLayout.h"

#include <QString>
#include <QStringList>

// What the command line asks of the program.
struct CommandLine
{
    enum class Mode
    {
        Window,  // the editor, loading `skin` when one is given
        Render,  // `skin` drawn into `output`, with no window
        Check,   // `skins` checked and reported
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
    QString message;
};

// `arguments` as the program got them, its own name first. Needs no application object,
// so that help and misuse are answered without a display.
CommandLine parseCommandLine(const QStringList &arguments);
