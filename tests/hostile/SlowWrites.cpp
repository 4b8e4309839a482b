// Loaded into a program with LD_PRELOAD: every pwrite takes a few bytes at a time,
// slowly, so that a test can kill the program in the middle of rewriting a file. The
// first such write leaves a mark, the file SLOW_WRITES_MARK names.
#include <cstdlib>
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

extern "C" ssize_t pwrite(int fd, const void *data, size_t size, off_t offset)
{
    using Real = ssize_t (*)(int, const void *, size_t, off_t);
    static const auto real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "pwrite"));
    if (const char *mark = std::getenv("SLOW_WRITES_MARK"))
        ::close(::open(mark, O_WRONLY | O_CREAT | O_CLOEXEC, 0666));
    ::usleep(3000);
    return real(fd, data, size < 256 ? size : 256, offset);
}
