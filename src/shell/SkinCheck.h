#pragma once

#include <QList>
#include <QString>

// One problem of a skin file, at a line counted from 1, or line 0 for the file as a whole.
struct SkinProblem
{
    enum Severity
    {
        Warning,
        Error,
    };
    int line;
    Severity severity;
    QString text;
};

// Reads a skin as the program does and finds what will not show as its author meant:
// codes that cannot be read, lines skipped that look meant as colour lines, items not
// set, and texts with a contrast below 3:1 against what the colour scene draws under
// them. Needs a QApplication: the contrast is measured on the preview's own scene.
QList<SkinProblem> checkSkin(const QString &path);

// Checks each file and prints its problems one a line, "FILE:LINE: error: ..." or
// "FILE:LINE: warning: ...". Returns 1 when any file has an error, else 0.
int checkSkins(const QStringList &paths);
