#pragma once

#include "cli/CommandLine.h"

#include <QStringList>

// `arguments` without Qt's own options for the window (-style, -platform, -display, ...),
// which QApplication takes out of the arguments itself; the values of those three are
// noted in `command`. Stops at "--", after which every argument is a skin.
QStringList withoutQtOptions(const QStringList &arguments, CommandLine &command);
