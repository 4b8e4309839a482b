#include "editor/EditorWindow.h"

#include "shell/AboutWindow.h"
#include "shell/CommandLine.h"
#include "shell/SingleInstance.h"
#include "shell/SkinCheck.h"

#include "platform/Error.h"
#include "platform/QtDialogs.h"
#include "platform/Widgets.h"

#include <QApplication>
#include <QDir>
#include <QIcon>

#include <cstdio>

namespace {

void setUpLooks()
{
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/vellox.png")));
    // Message boxes and file dialogs in the windows' own font.
    QApplication::setFont(layoutFont());
}

// A start-up problem goes to the terminal too, for whoever started the program there.
void tellAtStart(Dialogs &dialogs, const QString &text)
{
    std::fprintf(stderr, "vellox: %s\n",
                 qPrintable(QString(text).replace(QLatin1String("\r\n"), QLatin1String(" "))));
    dialogs.message(text);
}

int runEditor(int argc, char *argv[], const QString &skin)
{
    QApplication app(argc, argv);
    setUpLooks();
    QtDialogs dialogs(QStringLiteral("Vellox"));
    ColourCycle aboutColours;
    QPointer<AboutWindow> about;

    ProgramDirectory programDir(QString{});
    try {
        programDir = ProgramDirectory::locate();
    } catch (const Error &e) {
        tellAtStart(dialogs,
                    QStringLiteral("Vellox cannot set up its folder.\r\n") + e.description());
        return 1;
    }
    if (const QString reason = programDir.unwritableReason(); !reason.isEmpty()) {
        tellAtStart(dialogs,
                    QStringLiteral("Vellox cannot write to its folder \"%1\" (%2), where it keeps "
                                   "its working files and packages.\r\n\r\nCopy the whole Vellox "
                                   "folder to a place of your own, such as your home folder, "
                                   "and start it from there.")
                        .arg(QDir::toNativeSeparators(programDir.path()), reason));
        return 1;
    }
    SingleInstance instance(programDir.path());
    switch (instance.claim(skin)) {
    case SingleInstance::Claim::Claimed:
        break;
    case SingleInstance::Claim::Handed:
        return 0;
    case SingleInstance::Claim::Unanswered:
        tellAtStart(dialogs, QStringLiteral("Vellox is already running from \"%1\", but it does "
                                            "not answer. Close it, or end it if it hangs, and "
                                            "start Vellox again.")
                                 .arg(QDir::toNativeSeparators(programDir.path())));
        return 0;
    }

    EditorWindow editor(programDir, dialogs);
    QObject::connect(&editor, &EditorWindow::aboutRequested,
                     [&] { showAbout(about, aboutColours); });
    QObject::connect(&instance, &SingleInstance::activationRequested, &editor,
                     &EditorWindow::bringToFront);
    // A hand-over always asks to come to the front first, then to open its skin.
    QObject::connect(&instance, &SingleInstance::openRequested, &editor, &EditorWindow::openSkin);
    if (!editor.open())
        return 0;
    if (!skin.isEmpty())
        editor.openSkin(skin);
    const int status = QApplication::exec();
    delete about.data();
    return status;
}

// Drawing and checking need no display: they run on the offscreen platform.
int runHeadless(int argc, char *argv[], const CommandLine &command)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // What these modes print is their output; Qt's notes about the session would mix in.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &text) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::fprintf(stderr, "vellox: %s\n", qPrintable(text));
    });
    QApplication app(argc, argv);
    setUpLooks();
    return command.mode == CommandLine::Mode::Render ? renderSkin(command)
                                                     : checkSkins(command.skins);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("vellox"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELLOX_VERSION));
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLine command = parseCommandLine(arguments);
    switch (command.mode) {
    case CommandLine::Mode::Help:
    case CommandLine::Mode::Version:
        std::fputs(qPrintable(command.message), stdout);
        return 0;
    case CommandLine::Mode::Misused:
        std::fputs(qPrintable(command.message), stderr);
        return 2;
    case CommandLine::Mode::Render:
    case CommandLine::Mode::Check:
        return runHeadless(argc, argv, command);
    case CommandLine::Mode::Window:
        break;
    }
    return runEditor(argc, argv, command.skin);
}
