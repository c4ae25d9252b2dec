#pragma once

#include "domain/TerminationReason.h"

#include <QObject>

#include <array>

class QSocketNotifier;

namespace kivo {

// SIGTERM, SIGHUP and SIGINT as termination requests of the session. The handler only writes the signal
// number into a pipe; the request is made on the main thread when the pipe becomes readable.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

    bool isInstalled() const { return notifier_ != nullptr; }
    // SIGHUP: the terminal or session went away (log-out); SIGTERM and SIGINT: the system or the user
    // ending processes (shut down).
    static TerminationReason reasonFor(int signalNumber);

signals:
    void terminationRequested(kivo::TerminationReason reason, int signalNumber);

private:
    void drain();

    QSocketNotifier* notifier_ = nullptr;
};

} // namespace kivo
