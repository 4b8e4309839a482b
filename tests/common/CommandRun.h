#pragma once

#include "common/ProgramFolder.h"

#include <QProcess>
#include <QStringList>

struct Finished
{
    int status;
    QByteArray out;
    QString err;
};

// The real program started in `folder` as from a shell without a display. An argument
// "printf:BYTES" is the bytes printf makes of BYTES, which need not be UTF-8. First
// arguments may set the scene: "limit:N" keeps every file the program writes below N
// blocks, as a full disk; "env:NAME=VALUE" sets a variable; "stdin:FILE" reads FILE.
inline Finished vellox(const ProgramFolder &folder, QStringList arguments)
{
    using namespace Qt::Literals::StringLiterals;
    QProcess process;
    process.setWorkingDirectory(folder.dir().path());
    QString script = u"exec \"$0\""_s, program = QStringLiteral(VELLOX_EXECUTABLE);
    // "copied:" runs a copy of the program alone in a folder of its own.
    QTemporaryDir elsewhere;
    for (QString scene;
         !(scene = arguments.value(0).section(u':', 0, 0)).isEmpty() &&
         QStringList{u"limit"_s, u"env"_s, u"stdin"_s, u"copied"_s}.contains(scene);) {
        const QString value = arguments.takeFirst().section(u':', 1);
        if (scene == "copied"_L1) {
            program = elsewhere.filePath(u"vellox"_s);
            if (!QFile::copy(QStringLiteral(VELLOX_EXECUTABLE), program))
                qFatal("vellox could not be copied");
            continue;
        }
        script.prepend(scene == "limit"_L1 ? u"ulimit -f "_s + value + u"; "_s
                       : scene == "env"_L1 ? u"export '"_s + value + u"'; "_s
                                           : u"exec < '"_s + value + u"'; "_s);
    }
    script.prepend(u"unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM; "_s);
    for (const QString &a : arguments)
        script += a.startsWith("printf:"_L1) ? u" \"$(printf '"_s + a.mid(7) + u"')\""_s
                                             : u" '"_s + a + u'\'';
    process.start(u"/bin/sh"_s, {u"-c"_s, script, program});
    if (!process.waitForFinished(30000))
        qFatal("vellox did not finish");
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

// The same, the arguments split at spaces.
inline Finished vellox(const ProgramFolder &folder, const char *arguments)
{
    return vellox(folder, QString::fromLatin1(arguments).split(u' '));
}
