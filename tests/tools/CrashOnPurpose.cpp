// Installs the crash recorder for the folder named first, then crashes the way named second: segv, bus,
// fpe, ill, abort, terminate, double-free (the allocator finds it while it holds its lock, and aborts) or
// thread-overflow (a stack overflow on a thread of Kivo's own, named "overflowing").
//
// Outside the address sanitizer (which brings its own allocator) it counts the allocations made from the
// moment of the crash on, the crash handler's included, and prints "allocations N" as the process dies.
#include "core/Threads.h"
#include "platform/linux/CrashRecorder.h"

#include <QString>

#include <atomic>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <thread>
#include <unistd.h>

namespace {

// Not null, which the undefined-behaviour sanitizer would stop at before the fault: the first page,
// which no program maps.
int* volatile nowhere = reinterpret_cast<int*>(64);

std::atomic<bool> counting{false};
std::atomic<int> allocations{0};

[[gnu::noinline]] void thrower() {
    throw std::runtime_error("on purpose");
}
void (*volatile throwing)() = thrower;

volatile int deepest = INT_MAX;
[[gnu::noinline]] int overflow(int depth) {
    counting = true;
    volatile char frame[256];
    frame[0] = static_cast<char>(depth);
    return depth < deepest ? overflow(depth + 1) + frame[0] : 0;
}

#if !defined(__SANITIZE_ADDRESS__)
extern "C" void __libc_free(void*);
#endif

[[gnu::noinline]] void crashOnPurpose(const char* kind) noexcept {
    if (!std::strcmp(kind, "double-free")) {
#if !defined(__SANITIZE_ADDRESS__)
        // The allocator takes its lock only once the process has had a second thread. Too large for the
        // per-thread caches, so the second free reaches the locked part, which aborts.
        std::thread([] {}).join();
        void* block = std::malloc(64 * 1024);
        std::free(block);
        counting = true;
        __libc_free(block);
#endif
        return;
    }
    // A new thread allocates as it starts: counted from its crash on.
    counting = std::strcmp(kind, "thread-overflow") != 0;
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
    else if (!std::strcmp(kind, "thread-overflow"))
        kivo::startThread("overflowing", [] { overflow(0); }).join();
}

#if !defined(__SANITIZE_ADDRESS__)
// Runs after the crash recorder's handler, which puts it back and raises the signal again.
void sayAllocations(int number) {
    char line[32] = "allocations ";
    char* end = line + std::strlen(line);
    char digits[12];
    int n = 0;
    for (int value = allocations.load(); n == 0 || value > 0; value /= 10)
        digits[n++] = static_cast<char>('0' + value % 10);
    while (n > 0)
        *end++ = digits[--n];
    *end++ = '\n';
    [[maybe_unused]] const ssize_t written = ::write(STDOUT_FILENO, line, static_cast<size_t>(end - line));
    std::signal(number, SIG_DFL);
    std::raise(number);
}
#endif

} // namespace

#if !defined(__SANITIZE_ADDRESS__)
extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);

void* malloc(size_t size) {
    allocations += counting ? 1 : 0;
    return __libc_malloc(size);
}
void* calloc(size_t count, size_t size) {
    allocations += counting ? 1 : 0;
    return __libc_calloc(count, size);
}
void* realloc(void* block, size_t size) {
    allocations += counting ? 1 : 0;
    return __libc_realloc(block, size);
}
void free(void* block) {
    allocations += counting && block ? 1 : 0;
    __libc_free(block);
}
}
#endif

int main(int argc, char** argv) {
#if !defined(__SANITIZE_ADDRESS__)
    // On the alternate stack too: after a stack overflow there is no other.
    struct sigaction action {};
    action.sa_handler = sayAllocations;
    action.sa_flags = SA_ONSTACK;
    for (const int number : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT})
        sigaction(number, &action, nullptr);
#endif
    if (argc != 3 || !kivo::CrashRecorder::install(QString::fromLocal8Bit(argv[1])))
        return 2;
    crashOnPurpose(argv[2]);
    return 3; // not crashed
}
