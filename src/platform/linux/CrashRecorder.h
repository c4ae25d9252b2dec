#pragma once

#include <QString>

namespace kivo {

// On a fatal signal (SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT) or std::terminate, writes a crash record
// (the signal, the thread, its stack) into a folder for the next start to report, then lets the process
// die as it would have: the handler that was there before is put back and the signal raised again. The
// handler makes async-signal-safe calls only; everything else (the folder, the file names) is prepared
// by `install`.
class CrashRecorder {
public:
    // Makes `directory` and installs the handlers for the whole process. Returns false, after a warning,
    // when the folder cannot be made; a later call replaces the folder.
    static bool install(const QString& directory);
};

} // namespace kivo
