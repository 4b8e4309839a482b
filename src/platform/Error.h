#pragma once

#include <QCoreApplication>
#include <QString>

#include <exception>

// A failure that travels up to whoever handles it: a numeric code and a description,
// as users of the program have always seen them in its messages.
class Error : public std::exception
{
public:
    enum Code : int
    {
        Overflow = 6,
        SubscriptOutOfRange = 9,
        TypeMismatch = 13,
        FileNotFound = 53,
        PathFileAccess = 75,
        PathNotFound = 76,
        InvalidPicture = 481,
    };

    Error(Code code, QString description);

    Code code() const noexcept { return m_code; }
    const QString &description() const noexcept { return m_description; }
    const char *what() const noexcept override { return m_what.constData(); }

    static Error subscriptOutOfRange()
    {
        return {SubscriptOutOfRange,
                QCoreApplication::translate("Error", "Subscript out of range")};
    }
    static Error typeMismatch()
    {
        return {TypeMismatch, QCoreApplication::translate("Error", "Type mismatch")};
    }
    static Error overflow() { return {Overflow, QCoreApplication::translate("Error", "Overflow")}; }
    // The whole message, such as "Cannot read \"%1\": %2", with the native path for %1 and
    // the reason for %2; marked for translation with QT_TRANSLATE_NOOP("Error", ...), so
    // that a translator words each message whole, and read in the user's language here.
    static Error file(Code code, const char *message, const QString &path, const QString &reason);

private:
    Code m_code;
    QString m_description;
    QByteArray m_what;
};

// The system's own words for an errno value, as file errors quote them.
QString systemReason(int err);
