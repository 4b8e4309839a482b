// Loaded into a program with LD_PRELOAD: every pwrite to the file SLOW_WRITES_FILE names
// (its real path) takes a few bytes at a time, slowly, so that a test can kill the
// program in the middle of rewriting it. The first such write leaves a mark, the file
// SLOW_WRITES_MARK names. Writes to any other file pass as they are.
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

extern "C" ssize_t pwrite(int fd, const void *data, size_t size, off_t offset)
{
    using Real = ssize_t (*)(int, const void *, size_t, off_t);
    static const auto real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "pwrite"));
    const char *slowed = std::getenv("SLOW_WRITES_FILE");
    char link[64], target[PATH_MAX] = {};
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    if (!slowed || ::readlink(link, target, sizeof target - 1) < 0 ||
        std::strcmp(target, slowed) != 0)
        return real(fd, data, size, offset);
    if (const char *mark = std::getenv("SLOW_WRITES_MARK"))
        ::close(::open(mark, O_WRONLY | O_CREAT | O_CLOEXEC, 0666));
    ::usleep(3000);
    return real(fd, data, size < 256 ? size : 256, offset);
}
