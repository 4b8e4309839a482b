#include "editor/EditorWindow.h"

#include "shell/AboutWindow.h"
#include "shell/Looks.h"
#include "shell/SingleInstance.h"

#include "cli/CommandLine.h"
#include "cli/Tasks.h"
#include "cli/Telling.h"

#include "platform/Build.h"
#include "platform/EndSignals.h"
#include "platform/Error.h"
#include "platform/Fonts.h"
#include "platform/Guarded.h"
#include "platform/KeptCopy.h"
#include "platform/QtDialogs.h"
#include "platform/Translations.h"
#include "platform/Widgets.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QIcon>
#include <QScopeGuard>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// How this build lays the program out, as its build system says.
#if defined(VELLOX_LAYOUT_SYSTEM)
constexpr auto Layout = ProgramDirectory::Layout::System;
#else
constexpr auto Layout = ProgramDirectory::Layout::Portable;
#endif

// The compiled catalogues of the program's texts, built into the program: a copied or
// unpacked program speaks the user's language wherever it stands.
QString translationsFolder()
{
    return QStringLiteral(":/translations");
}

// The application that holds the catalogues while the command line is read, so that its
// texts are in the user's language; it goes just before the one that runs is made, as
// two cannot live together.
std::unique_ptr<QCoreApplication> readingApp;

// Bytes that are no UTF-8 text, shown as \xNN.
QString escapedName(const QByteArray &name)
{
    QString shown;
    for (char c : name) {
        const auto u = static_cast<uchar>(c);
        shown += u >= 0x20 && u < 0x7F ? QString(QChar(u))
                                       : QStringLiteral("\\x%1").arg(u, 2, 16, QLatin1Char('0'));
    }
    return shown;
}

// A name is taken only as it stands: one that Qt would have to turn into another name
// (bytes that are no UTF-8) is refused. Returns the problem, or nothing.
QString unusableName(const QByteArray &name)
{
    if (QString::fromLocal8Bit(name).toLocal8Bit() == name)
        return {};
    return QCoreApplication::translate(
               "main", "the name \"%1\" is not valid UTF-8, and Vellox would read it as "
                       "another name; rename the file")
        .arg(escapedName(name));
}

// Why a skin named on the command line cannot be opened, in the system's words, or
// nothing.
QString unopenableSkin(const QString &skin)
{
    struct stat st;
    if (::stat(QFile::encodeName(skin).constData(), &st) != 0)
        return aboutFile(skin, systemReason(errno));
    if (S_ISDIR(st.st_mode))
        return QCoreApplication::translate("main", "%1: it is a folder, not a skin file").arg(skin);
    return {};
}

// A start-up problem goes to the terminal too, for whoever started the program there.
void tellAtStart(Dialogs &dialogs, const QString &text)
{
    std::fprintf(stderr, "vellox: %s\n",
                 qPrintable(QString(text).replace(QLatin1String("\r\n"), QLatin1String(" "))));
    dialogs.message(text);
}

// The platforms Qt is to try for the window, in order: the one the user names (-platform,
// QT_QPA_PLATFORM), or X in a Wayland session that also offers it (XWayland), where the
// windows stand where the layout puts them and the preview hides with the editor's
// minimise, which a native Wayland client can neither do nor learn; Wayland alone runs
// natively. Empty when there is no display to open.
QByteArray platformsFor(const CommandLine &command)
{
    if (!command.platform.isEmpty())
        return command.platform.toLocal8Bit();
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return qgetenv("QT_QPA_PLATFORM");
    if (!qEnvironmentVariableIsEmpty("DISPLAY"))
        return "xcb";
    if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return "wayland";
    return {};
}

// The displays that `platforms` would have opened, for a message.
QString displaysOf(const QByteArray &platforms, const CommandLine &command)
{
    QStringList names;
    for (const QByteArray &platform : platforms.split(';')) {
        const QByteArray name = platform.split(':').constFirst();
        if (name == "xcb") {
            const QString display =
                command.display.isEmpty() ? qEnvironmentVariable("DISPLAY") : command.display;
            names
                << (display.isEmpty()
                        ? QCoreApplication::translate("main", "an X display: DISPLAY is not set")
                        : QCoreApplication::translate("main", "the X display \"%1\"").arg(display));
        } else if (name == "wayland")
            names << QCoreApplication::translate("main", "the Wayland display \"%1\"")
                         .arg(qEnvironmentVariable("WAYLAND_DISPLAY", QStringLiteral("wayland-0")));
        else if (name != "offscreen")
            names << QCoreApplication::translate("main", "the platform \"%1\"")
                         .arg(QString::fromLocal8Bit(platform));
    }
    return names.join(QCoreApplication::translate("main", " nor "));
}

// What Qt says while it tries the platforms, held back until it is known whether one
// opened: the one line that says so is all a failed start prints.
struct HeldMessage
{
    QtMsgType type;
    QByteArray category;
    QString text;
};
QList<HeldMessage> heldMessages;

// What libraries write straight to standard error meanwhile (libwayland does), held the
// same way in a file of its own; or nothing held when there is no room for one.
class HeldStandardError
{
public:
    HeldStandardError() : m_file(std::tmpfile()), m_saved(m_file ? ::dup(STDERR_FILENO) : -1)
    {
        if (m_saved >= 0)
            ::dup2(::fileno(m_file), STDERR_FILENO);
    }
    // Puts standard error back, with what it was told when `tell`.
    void release(bool tell)
    {
        if (m_saved < 0)
            return;
        std::fflush(stderr);
        ::dup2(m_saved, STDERR_FILENO);
        ::close(m_saved);
        m_saved = -1;
        std::rewind(m_file);
        char buffer[4096];
        for (size_t n; tell && (n = std::fread(buffer, 1, sizeof buffer, m_file)) > 0;)
            std::fwrite(buffer, 1, n, stderr);
    }
    ~HeldStandardError()
    {
        release(true);
        if (m_file)
            std::fclose(m_file);
    }

private:
    std::FILE *m_file;
    int m_saved;
};

// The application on the display the user has: the platforms Qt is to try, with the
// offscreen one to fall back on, since Qt aborts when it opens none. Landing there
// unasked means that none opened, which is said in one line; the application is then
// null. Qt's own notes about the attempt are held until a display has opened.
struct Display
{
    std::vector<char *> arguments; // Qt keeps a reference to the count and the vector
    int count = 0;
    std::unique_ptr<QApplication> app;
    // What the windows' first texts and icons need; the display and the folder do not.
    // Read while the application is made and the folder taken, and waited for before
    // the application goes.
    ReadingAhead readingAhead;
};

void openDisplay(int argc, char *argv[], const CommandLine &command, Display &display)
{
    const QByteArray platforms = platformsFor(command);
    if (platforms.isEmpty()) {
        std::fprintf(stderr, "vellox: %s\n",
                     qPrintable(QCoreApplication::translate(
                         "main", "there is no display to open: neither DISPLAY nor WAYLAND_DISPLAY "
                                 "is set")));
        return;
    }
    // The platforms go in the environment, which -platform would override: it is taken out.
    const auto asked = platforms.split(';');
    const bool offscreenAsked = std::any_of(asked.begin(), asked.end(), [](const QByteArray &p) {
        return p.split(':').constFirst() == "offscreen";
    });
    if (!offscreenAsked)
        qputenv("QT_QPA_PLATFORM", platforms + ";offscreen");
    display.arguments.assign(argv, argv + argc);
    auto &qtArguments = display.arguments;
    for (auto it = qtArguments.begin(); it != qtArguments.end() && it + 1 != qtArguments.end();) {
        const QByteArray a = *it;
        it = a == "-platform" || a == "--platform" ? qtArguments.erase(it, it + 2) : it + 1;
    }
    display.count = int(qtArguments.size());
    qtArguments.push_back(nullptr);
    const QtMessageHandler earlier = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext &where, const QString &text) {
            heldMessages.append({type, where.category, text});
        });
    auto heldError = std::make_unique<HeldStandardError>();
    readingApp.reset();
    display.readingAhead.start();
    display.app = std::make_unique<QApplication>(display.count, qtArguments.data());
    Translations::install(translationsFolder());
    qInstallMessageHandler(earlier);
    const bool opened =
        offscreenAsked || QGuiApplication::platformName() != QLatin1String("offscreen");
    heldError->release(opened);
    heldError.reset();
    if (!opened) {
        std::fprintf(stderr, "vellox: %s\n",
                     qPrintable(QCoreApplication::translate("main", "cannot open %1")
                                    .arg(displaysOf(platforms, command))));
        display.readingAhead.wait();
        display.app.reset();
        return;
    }
    display.readingAhead.applicationMade();
    for (const HeldMessage &m : heldMessages)
        qt_message_output(m.type, QMessageLogContext(nullptr, 0, nullptr, m.category.constData()),
                          m.text);
}

// The folder the program works in, set up and writable; nothing when it is not, which
// has been said.
std::optional<ProgramDirectory> workingFolder(Dialogs &dialogs)
{
    ProgramDirectory programDir(QString{});
    try {
        programDir = ProgramDirectory::locate(Layout);
    } catch (const Error &e) {
        tellAtStart(dialogs,
                    QCoreApplication::translate("main", "Vellox cannot set up its folder.\r\n%1")
                        .arg(e.description()));
        return std::nullopt;
    }
    if (const QString reason = programDir.unwritableReason(); !reason.isEmpty()) {
        tellAtStart(dialogs,
                    QCoreApplication::translate(
                        "main", "Vellox cannot write to its folder \"%1\" (%2), where it keeps "
                                "its working files and packages.\r\n\r\nCopy the whole Vellox "
                                "folder to a place of your own, such as your home folder, "
                                "and start it from there.")
                        .arg(QDir::toNativeSeparators(programDir.path()), reason));
        return std::nullopt;
    }
    return programDir;
}

// Whether this start is the folder's one running program; when it is not, the exit
// status, the skin handed over or the reason said.
std::optional<int> notClaimed(SingleInstance &instance, const QString &skin,
                              const ProgramDirectory &programDir, Dialogs &dialogs)
{
    switch (instance.claim(skin)) {
    case SingleInstance::Claim::Claimed:
        return std::nullopt;
    case SingleInstance::Claim::Handed:
        return 0;
    case SingleInstance::Claim::Refused:
    case SingleInstance::Claim::Unanswered:
        tellAtStart(dialogs, instance.refusal());
        return 1;
    case SingleInstance::Claim::Stranger:
        tellAtStart(dialogs, QCoreApplication::translate(
                                 "main", "Another user's program answers where Vellox running "
                                         "from \"%1\" would; nothing was handed over to it.")
                                 .arg(QDir::toNativeSeparators(programDir.path())));
        return 1;
    }
    return 1;
}

int runEditor(int argc, char *argv[], const CommandLine &command)
{
    Display display;
    openDisplay(argc, argv, command, display);
    if (!display.app)
        return 1;
    // Desktops find the program's entry, icon and name by this.
    QGuiApplication::setDesktopFileName(Build::AppId);
    setUpLooks(command.style);
    QtDialogs dialogs(QStringLiteral("Vellox"));
    ColourCycle aboutColours;
    QPointer<AboutWindow> about;
    const std::optional<ProgramDirectory> programDir = workingFolder(dialogs);
    if (!programDir)
        return 1;
    auto instance = std::make_unique<SingleInstance>(programDir->path());
    // The lock's write reaches the disk while the windows are built, which touches nothing
    // in the folder; a start that hands over to a running program shows them never.
    instance->beginClaim();
    EditorWindow editor(*programDir, dialogs);
    if (const std::optional<int> status = notClaimed(*instance, command.skin, *programDir, dialogs))
        return *status;
    // A signal ends the run without the shutdown steps, whatever dialog is open: the
    // working files stay for the next start to offer back, what was typed a moment ago
    // joins them, and the lock and the socket are released.
    EndSignals endSignals;
    QObject::connect(&endSignals, &EndSignals::endRequested, [&](int signal) {
        editor.keepWork();
        instance.reset();
        EndSignals::endBy(signal);
    });
    QObject::connect(&editor, &EditorWindow::aboutRequested,
                     guarded(dialogs, [&] { showAbout(about, aboutColours); }));
    QObject::connect(instance.get(), &SingleInstance::activationRequested, &editor,
                     guarded(dialogs, [&] { editor.bringToFront(); }));
    // A hand-over always asks to come to the front first, then to open its skin.
    QObject::connect(instance.get(), &SingleInstance::openRequested, &editor,
                     guarded(dialogs, [&](const QString &path) { editor.openHandedSkin(path); }));
    if (!editor.open())
        return 0;
    if (!command.skin.isEmpty())
        editor.openSkin(command.skin);
    const int status = QApplication::exec();
    delete about.data();
    return status;
}

// Drawing and measuring texts need fonts but no display: these run on the offscreen
// platform.
int runHeadless(char *argv[], const CommandLine &command)
{
    // What these modes print is their output; Qt's notes about the session would mix in.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &text) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::fprintf(stderr, "vellox: %s\n", qPrintable(text));
    });
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's options for the window (-platform among them) have no say here.
    int qtCount = 1;
    readingApp.reset();
    QGuiApplication app(qtCount, argv);
    Translations::install(translationsFolder());
    // The scenes' texts are drawn in the fonts the windows resolve them in.
    QGuiApplication::setFont(layoutFont());
    return runTask(command, ProgramDirectory::factorySkinToRead(Layout));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("vellox"));
    QCoreApplication::setApplicationVersion(Build::Version);
    // A file-size limit makes a write fail, to be told and its temporary file removed, rather
    // than end the program in the middle of the user's typing.
    std::signal(SIGXFSZ, SIG_IGN);
    // Before anything is written: a file rewritten where it stands keeps its earlier
    // content until the new one is whole.
    KeptCopy::guardRewrites();
    // Named as the help names the program, wherever it was started from.
    static char readingName[] = "vellox";
    static char *readingArguments[] = {readingName, nullptr};
    static int readingCount = 1;
    readingApp = std::make_unique<QCoreApplication>(readingCount, readingArguments);
    // Gone before Qt's own statics, whichever way main returns.
    const auto dropReadingApp = qScopeGuard([] { readingApp.reset(); });
    Translations::install(translationsFolder());
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        if (const QString problem = unusableName(argv[i]); i > 0 && !problem.isEmpty()) {
            std::fprintf(stderr, "vellox: %s\n", qPrintable(problem));
            return 1;
        }
        arguments << QString::fromLocal8Bit(argv[i]);
    }
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
    case CommandLine::Mode::Suggest:
    case CommandLine::Mode::Fix:
    case CommandLine::Mode::Gallery:
        return runHeadless(argv, command);
    case CommandLine::Mode::Window:
        break;
    }
    // Said before anything starts, also when a running program would be handed the skin.
    if (const QString problem = command.skin.isEmpty() ? QString() : unopenableSkin(command.skin);
        !problem.isEmpty()) {
        std::fprintf(stderr, "vellox: %s\n", qPrintable(problem));
        return 1;
    }
    return runEditor(argc, argv, command);
}
