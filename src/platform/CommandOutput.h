#pragma once

#include <QByteArray>
#include <QString>

// Writes a command's output where its user points it, as a shell's ">" does, without
// its risks: "-" is standard output; an ordinary file is replaced whole, atomically, so a
// failure leaves what was there; a symbolic link is followed unless it was planted in a
// folder open to all; a named pipe, a socket or a device at the name is refused, never
// opened, and the message says how to write into one. Throws Error naming the path.
void writeOutput(const QString &path, const QByteArray &bytes);
