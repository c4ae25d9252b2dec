#pragma once

#include <QString>

#include <vector>

namespace kivo {

// What a crashed run left behind: the fatal signal, the thread it hit and that thread's stack, innermost
// frame first. `reason` says more when there is more to say (what std::terminate was ending on). A record
// whose writing was cut short is not `complete`: it holds what the handler wrote before it stopped.
struct CrashRecord {
    int signalNumber = 0;
    QString signalName;
    QString reason;
    qint64 threadId = 0;
    QString threadName;
    double time = 0; // seconds since 1970-01-01T00:00:00Z
    std::vector<QString> frames;
    bool complete = true;
};

} // namespace kivo
