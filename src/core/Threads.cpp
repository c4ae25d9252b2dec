#include "core/Threads.h"

#include <algorithm>
#include <cstring>
#include <pthread.h>
#include <sys/mman.h>
#include <unistd.h>

namespace kivo {
namespace {

// Read by the crash handler: a static TLS model, so that reading it never allocates.
thread_local char threadName[64] __attribute__((tls_model("initial-exec")));

} // namespace

AlternateSignalStack::AlternateSignalStack() {
    const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    // Room for the crash handler's stack walk, whatever the processor's signal frame needs.
    const auto wanted = std::max<std::size_t>(64 * 1024, static_cast<std::size_t>(::sysconf(_SC_SIGSTKSZ)));
    const std::size_t usable = (wanted + page - 1) / page * page;
    void* memory = ::mmap(nullptr, usable + page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED) {
        return;
    }
    // A handler that overruns its stack faults on the guard page instead of writing over other memory.
    ::mprotect(memory, page, PROT_NONE);
    stack_t stack{};
    stack.ss_sp = static_cast<char*>(memory) + page;
    stack.ss_size = usable;
    if (::sigaltstack(&stack, &previous_) != 0) {
        ::munmap(memory, usable + page);
        return;
    }
    memory_ = memory;
    length_ = usable + page;
}

AlternateSignalStack::~AlternateSignalStack() {
    if (!memory_) {
        return;
    }
    stack_t restore = previous_;
    if (previous_.ss_flags & SS_DISABLE) {
        restore = {};
        restore.ss_flags = SS_DISABLE;
    } else {
        restore.ss_flags = 0;
    }
    ::sigaltstack(&restore, nullptr);
    ::munmap(memory_, length_);
}

std::thread startThread(std::string name, std::function<void()> work) {
    return std::thread([name = std::move(name), work = std::move(work)] {
        AlternateSignalStack stack;
        const std::size_t length = std::min(name.size(), sizeof threadName - 1);
        std::memcpy(threadName, name.data(), length);
        threadName[length] = '\0';
        ::pthread_setname_np(::pthread_self(), name.substr(0, 15).c_str());
        work();
    });
}

const char* currentThreadName() {
    return threadName;
}

} // namespace kivo
