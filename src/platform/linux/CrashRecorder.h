#pragma once

#include <QString>

namespace kivo {

// On a fatal signal (SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT) or std::terminate, writes a crash record
// (the signal, the thread, the raw return addresses of its stack and the process's load map) into a folder
// for the next start to report and name, then lets the process die as it would have: the handler that was
// there before is put back and the signal raised again. The handler makes async-signal-safe calls only
// and never allocates, so a crash while another thread holds the heap's lock still ends; everything else
// (the folder, the stack walker's first set-up) is prepared by `install`.
class CrashRecorder {
public:
    // Makes `directory`, opens it and installs the handlers for the whole process, with an alternate
    // signal stack for the calling (main) thread; threads started through `startThread` have their own.
    // Returns false, after a warning, when the folder cannot be made or opened; a later call replaces the
    // folder.
    static bool install(const QString& directory);
};

} // namespace kivo
