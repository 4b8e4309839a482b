#pragma once

// How the file functions reach a file: each name of a path looked up in the folder held
// open so far, so that nothing can be swapped between a look and a use. Shared by the
// files' reading and writing; not for use elsewhere.

#include "platform/Error.h"
#include "platform/Files.h"

#include <QByteArray>
#include <QString>

#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace PathWalk {

// A descriptor that is closed when it goes out of scope.
class Descriptor
{
public:
    explicit Descriptor(int fd = -1) : m_fd(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(Descriptor &&other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    Descriptor &operator=(Descriptor &&other) noexcept
    {
        if (this != &other)
            reset(std::exchange(other.m_fd, -1));
        return *this;
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return m_fd; }
    explicit operator bool() const { return m_fd >= 0; }
    void reset(int fd = -1)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }
    // Closes now and tells whether the system took the last of what was written.
    int close()
    {
        const int err = ::close(std::exchange(m_fd, -1)) == 0 ? 0 : errno;
        return err == EINTR ? 0 : err;
    }

private:
    int m_fd;
};

// "Cannot write "PATH": the system's reason", with the code the reason calls for.
Error writeFailure(const QString &path, int err);
// "Cannot write "PATH": reason", for what Vellox itself refuses.
Error writeRefused(const QString &path, const QString &reason);
// "it is a folder, not a file", and so on for what a mode says is no ordinary file.
QString kindOf(mode_t mode);

// Where a file goes: its folder, held open, and its name in that folder.
struct Place
{
    Descriptor folder;
    QByteArray name;
};

// Walks `path` one name at a time, each looked up in the folder descriptor reached so far,
// so that nothing can be swapped between a look and a use. Links on the way are followed
// where the planted-link rule allows, read from the link that was opened itself; a link
// at the end is followed only for `FollowLink`. Throws Error naming `path`.
Place placeOf(const QString &path, AtLink atLink);

} // namespace PathWalk
