#pragma once

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
        return {SubscriptOutOfRange, QStringLiteral("Subscript out of range")};
    }
    static Error typeMismatch() { return {TypeMismatch, QStringLiteral("Type mismatch")}; }
    static Error overflow() { return {Overflow, QStringLiteral("Overflow")}; }
    // "Cannot <action> "<native path>": <reason>"
    static Error file(Code code, const char *action, const QString &path, const QString &reason);

private:
    Code m_code;
    QString m_description;
    QByteArray m_what;
};

// The system's own words for an errno value, as file errors quote them.
QString systemReason(int err);
