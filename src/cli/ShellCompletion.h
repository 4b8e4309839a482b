#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// An option as a shell completes it: its names, its help, and what it takes.
struct CompletedOption
{
    QStringList names; // without dashes: "o", "output"
    QString description;
    QString valueName;    // empty for an option that takes no value
    QStringList words;    // the values to offer, if any
    QStringList suffixes; // else the files with these suffixes, or (none) any file
};

// The completion scripts of vellox for bash and zsh, for the package to install: its
// `options`, and skins (files with `skinSuffixes`) where no option is begun.
QString bashCompletion(const QList<CompletedOption> &options, const QStringList &skinSuffixes);
QString zshCompletion(const QList<CompletedOption> &options, const QStringList &skinSuffixes);
