#include "platform/linux/TerminationSignals.h"

#include "core/Log.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace kivo {

namespace {

int pipeFds[2] = {-1, -1};
constexpr std::array<int, 3> kSignals{SIGTERM, SIGHUP, SIGINT};

void onSignal(int number) {
    // Only async-signal-safe work here: one byte into the pipe, errno left as it was.
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(number);
    [[maybe_unused]] const auto written = ::write(pipeFds[1], &byte, 1);
    errno = saved;
}

} // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {
    if (pipeFds[0] < 0 && ::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) {
        qCWarning(lcTermination, "Cannot watch for termination signals: no pipe");
        return;
    }
    notifier_ = new QSocketNotifier(pipeFds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::drain);
    for (const int number : kSignals) {
        struct sigaction action {};
        action.sa_handler = onSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        ::sigaction(number, &action, nullptr);
    }
}

TerminationSignals::~TerminationSignals() {
    for (const int number : kSignals)
        ::signal(number, SIG_DFL);
}

TerminationReason TerminationSignals::reasonFor(int signalNumber) {
    return signalNumber == SIGHUP ? TerminationReason::logOut : TerminationReason::shutdown;
}

void TerminationSignals::drain() {
    unsigned char bytes[16];
    ssize_t n;
    while ((n = ::read(pipeFds[0], bytes, sizeof bytes)) > 0) {
        for (ssize_t i = 0; i < n; ++i) {
            qCInfo(lcTermination, "Received signal %d", bytes[i]);
            emit terminationRequested(reasonFor(bytes[i]), bytes[i]);
        }
    }
}

} // namespace kivo
