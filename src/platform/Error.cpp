#include "platform/Error.h"

#include <QDir>

#include <cstring>

Error::Error(Code code, QString description)
    : m_code(code), m_description(std::move(description)), m_what(m_description.toUtf8())
{
}

Error Error::file(Code code, const char *action, const QString &path, const QString &reason)
{
    return Error(code, QCoreApplication::translate("Error", "Cannot %1 \"%2\": %3")
                           .arg(QCoreApplication::translate("Error", action),
                                QDir::toNativeSeparators(path), reason));
}

QString systemReason(int err)
{
    return QString::fromLocal8Bit(std::strerror(err));
}
