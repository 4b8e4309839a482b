#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// True when `TheFileName` is not empty and names an existing ordinary file that is
// not hidden. Directories do not count. The empty name never touches the disk.
bool FileExists(const QString &TheFileName);

// Each of these throws Error naming the path and the system's reason.
void deleteFile(const QString &path);
// Creates exactly one folder; its parent must exist.
void createFolder(const QString &path);

// 8-bit text, every byte kept (Latin-1). A line ends at CR LF or at a lone CR; a lone
// LF stays inside the line; a last line without terminator is still a line.
void readLines8bit(const QString &path, const std::function<void(const QString &line)> &onLine);
// The same split on bytes already in memory.
QStringList splitLines8bit(const QByteArray &bytes);

// Every line followed by CR LF, as 8-bit text.
QByteArray encodeLines8bit(const QStringList &lines);
// Writes encodeLines8bit(lines), replacing the file as a whole: readers see the old
// content or the new one, never a mixture.
void writeLines8bit(const QString &path, const QStringList &lines);
