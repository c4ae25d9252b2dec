#pragma once

#include <functional>
#include <string>
#include <thread>

#include <csignal>

namespace kivo {

// Starts one of Kivo's own threads: named `name` (its first 15 bytes in the system's thread list, the
// whole of it in a crash record) and with an alternate signal stack for as long as it runs, so that a
// stack overflow on it still leaves a crash record.
std::thread startThread(std::string name, std::function<void()> work);

// What startThread named the calling thread, or an empty string on any other thread. Async-signal-safe.
const char* currentThreadName();

// Gives the calling thread an alternate signal stack of its own (with a guard page below it) until it
// goes, then puts back the one the thread had before: a sanitizer's, or none.
class AlternateSignalStack {
public:
    AlternateSignalStack();
    ~AlternateSignalStack();
    AlternateSignalStack(const AlternateSignalStack&) = delete;
    AlternateSignalStack& operator=(const AlternateSignalStack&) = delete;

private:
    void* memory_ = nullptr;
    std::size_t length_ = 0;
    stack_t previous_{};
};

} // namespace kivo
