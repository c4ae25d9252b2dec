// Installs the crash recorder for the folder named first, then crashes the way named second:
// segv, bus, fpe, ill, abort or terminate.
#include "platform/linux/CrashRecorder.h"

#include <QString>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace {

// Not null, which the undefined-behaviour sanitizer would stop at before the fault: the first page,
// which no program maps.
int* volatile nowhere = reinterpret_cast<int*>(64);

[[gnu::noinline]] void thrower() {
    throw std::runtime_error("on purpose");
}
void (*volatile throwing)() = thrower;

[[gnu::noinline]] void crashOnPurpose(const char* kind) noexcept {
    if (!std::strcmp(kind, "segv"))
        *nowhere = 1;
    else if (!std::strcmp(kind, "bus"))
        std::raise(SIGBUS);
    else if (!std::strcmp(kind, "fpe"))
        std::raise(SIGFPE);
    else if (!std::strcmp(kind, "ill"))
        __builtin_trap();
    else if (!std::strcmp(kind, "abort"))
        std::abort();
    else if (!std::strcmp(kind, "terminate"))
        throwing(); // out of a noexcept function
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3 || !kivo::CrashRecorder::install(QString::fromLocal8Bit(argv[1])))
        return 2;
    crashOnPurpose(argv[2]);
    return 3; // not crashed
}
