#include "editor/frmMain.h"

#include "platform/QtDialogs.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    QtDialogs dialogs(QStringLiteral("Vellox"));
    frmMain editor(ProgramDirectory::ofExecutable(), dialogs);
    if (!editor.open())
        return 0;
    return QApplication::exec();
}
