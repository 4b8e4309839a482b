#include "cli/Telling.h"

#include <QCoreApplication>

#include <cstdio>

using namespace Qt::Literals::StringLiterals;

QString choices(const QStringList &names)
{
    return names.size() < 2
               ? names.value(0)
               : QCoreApplication::translate("Render", "%1 or %2")
                     .arg(names.mid(0, names.size() - 1).join(", "_L1), names.constLast());
}

int failedCommand(const QString &what)
{
    std::fprintf(stderr, "vellox: %s\n", qPrintable(what));
    return 1;
}

QString aboutFile(const QString &path, const QString &reason)
{
    //: A file's path or name, then what went wrong with it.
    return QCoreApplication::translate("Telling", "%1: %2").arg(path, reason);
}
