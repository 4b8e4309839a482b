// Times a program from its start until it has mapped a number of top-level windows on
// the X display: what a user waits for before the program is on the screen. Prints the
// milliseconds, then ends the program.
//   map_timer WINDOWS PROGRAM [ARGUMENTS...]
#include <X11/Xlib.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

int main(int argc, char *argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: map_timer WINDOWS PROGRAM [ARGUMENTS...]\n");
        return 2;
    }
    const int wanted = std::atoi(argv[1]);
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "map_timer: no X display\n");
        return 2;
    }
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    if (posix_spawn(&child, argv[2], nullptr, nullptr, argv + 2, environ) != 0) {
        std::fprintf(stderr, "map_timer: cannot start %s\n", argv[2]);
        return 2;
    }
    int mapped = 0;
    while (mapped < wanted) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify && !event.xmap.override_redirect)
            ++mapped;
    }
    const auto elapsed = std::chrono::steady_clock::now() - start;
    std::printf("%.2f\n", std::chrono::duration<double, std::milli>(elapsed).count());
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    XCloseDisplay(display);
    return 0;
}
