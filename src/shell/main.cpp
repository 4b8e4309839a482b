#include "editor/EditorWindow.h"

#include "shell/AboutWindow.h"
#include "shell/SingleInstance.h"

#include "platform/QtDialogs.h"
#include "platform/Widgets.h"

#include <QApplication>
#include <QDir>
#include <QIcon>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/vellox.png")));
    // Message boxes and file dialogs in the windows' own font.
    QApplication::setFont(layoutFont());
    QtDialogs dialogs(QStringLiteral("Vellox"));
    ColourCycle aboutColours;
    QPointer<AboutWindow> about;

    const ProgramDirectory programDir = ProgramDirectory::ofExecutable();
    SingleInstance instance(programDir.path());
    switch (instance.claim()) {
    case SingleInstance::Claim::Claimed:
        break;
    case SingleInstance::Claim::Handed:
        return 0;
    case SingleInstance::Claim::Unanswered:
        dialogs.message(QStringLiteral("Vellox is already running from \"%1\", but it does not "
                                       "answer. Close it, or end it if it hangs, and start "
                                       "Vellox again.")
                            .arg(QDir::toNativeSeparators(programDir.path())));
        return 0;
    }

    EditorWindow editor(programDir, dialogs);
    QObject::connect(&editor, &EditorWindow::aboutRequested,
                     [&] { showAbout(about, aboutColours); });
    QObject::connect(&instance, &SingleInstance::activationRequested, &editor,
                     &EditorWindow::bringToFront);
    if (!editor.open())
        return 0;
    const int status = QApplication::exec();
    delete about.data();
    return status;
}
