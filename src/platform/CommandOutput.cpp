#include "platform/CommandOutput.h"

#include "platform/Error.h"
#include "platform/Files.h"

#include <QCoreApplication>
#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

void writeOutput(const QString &path, const QByteArray &bytes)
{
    if (path == QLatin1String("-")) {
        writeAll(STDOUT_FILENO, bytes,
                 QCoreApplication::translate("CommandOutput", "standard output"));
        return;
    }
    try {
        writeFile(path, Durability::Atomic, AtLink::FollowLink,
                  [&bytes](const ByteSink &sink) { sink(bytes.constData(), bytes.size()); });
    } catch (const Error &e) {
        // Only to word the message: whatever stands there now was not written to.
        struct stat st;
        if (::stat(QFile::encodeName(path).constData(), &st) != 0 || S_ISREG(st.st_mode) ||
            S_ISDIR(st.st_mode))
            throw;
        throw Error(e.code(),
                    QCoreApplication::translate(
                        "CommandOutput", "%1. Vellox writes no named pipe or device it is given by "
                                         "name; to write into one, give \"-o -\" and lead standard "
                                         "output there (\"-o - > %2\").")
                        .arg(e.description(), path));
    }
}
