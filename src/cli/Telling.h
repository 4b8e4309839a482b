#pragma once

#include <QString>
#include <QStringList>

// How a command tells the user what went wrong.

// Says `what` on standard error, after the program's name; returns the failure status.
int failedCommand(const QString &what);
// "PATH: reason", as command-line programs name what they could not use: one text, for a
// translator to punctuate as the language does.
QString aboutFile(const QString &path, const QString &reason);
// "a, b, c or d", as a sentence lists choices.
QString choices(const QStringList &names);
