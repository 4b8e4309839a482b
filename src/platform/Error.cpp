#include "platform/Error.h"

#include <QDir>

#include <cstring>

Error::Error(Code code, QString description)
    : m_code(code), m_description(std::move(description)), m_what(m_description.toUtf8())
{
}

Error Error::file(Code code, const char *message, const QString &path, const QString &reason)
{
    return Error(
        code,
        QCoreApplication::translate("Error", message).arg(QDir::toNativeSeparators(path), reason));
}

QString systemReason(int err)
{
    return QString::fromLocal8Bit(std::strerror(err));
}
