#pragma once

#include <QByteArray>
#include <QString>

// Writes a command's output where its user points it, as a shell's ">" does, without
// its risks: "-" is standard output; an existing device or named pipe is written into,
// never replaced; a symbolic link is followed unless plantedLinkReason() refuses it; an
// ordinary file is replaced whole, atomically, so a failure leaves what was there. Throws
// Error naming the path.
void writeOutput(const QString &path, const QByteArray &bytes);

// Why the system would not follow a link on the way to `path`, or nothing: a link in a
// sticky folder every user may write to (such as /tmp) is followed only when it is the
// user's own or the folder owner's, so that nobody can plant one for someone else to write
// through. Every link on the way is looked at, as the kernel's protected_symlinks does.
QString plantedLinkReason(const QString &path);
