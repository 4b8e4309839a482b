#include "platform/EndSignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace {

int pipeEnds[2] = {-1, -1};
constexpr int Caught[] = {SIGTERM, SIGHUP, SIGINT};

extern "C" void onEndSignal(int signal)
{
    const int saved = errno;
    const auto number = static_cast<char>(signal);
    [[maybe_unused]] const ssize_t n = ::write(pipeEnds[1], &number, 1);
    errno = saved;
}

} // namespace

EndSignals::EndSignals(QObject *parent) : QObject(parent)
{
    if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_notifier = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        char drained[16];
        int signal = 0;
        for (ssize_t n; (n = ::read(pipeEnds[0], drained, sizeof drained)) > 0;)
            signal = drained[0];
        if (signal != 0)
            emit endRequested(signal);
    });
    struct sigaction action
    {
    };
    action.sa_handler = onEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : Caught)
        ::sigaction(signal, &action, nullptr);
}

EndSignals::~EndSignals()
{
    for (int signal : Caught)
        ::signal(signal, SIG_DFL);
    delete m_notifier;
    for (int &end : pipeEnds) {
        if (end >= 0)
            ::close(std::exchange(end, -1));
    }
}

void EndSignals::endBy(int signal)
{
    ::signal(signal, SIG_DFL);
    ::raise(signal);
    // A signal the process was told to ignore before it started.
    std::_Exit(128 + signal);
}
