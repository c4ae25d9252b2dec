#pragma once

#include "app/errors/CrashRecord.h"
#include "app/errors/ErrorReportingOptions.h"
#include "app/errors/ErrorScope.h"
#include "app/errors/ReportedError.h"
#include "app/ports/EnvelopeTransport.h"

#include <QObject>

#include <functional>
#include <memory>

namespace kivo {

class Clock;

// The error-reporting layer: turns errors and messages into events, passes them through the options'
// before-send filter and hands them to a transport as envelopes. Until `start`, captures are ignored.
class ErrorReporter : public QObject {
    Q_OBJECT

public:
    // `transport`, when given, receives every envelope whatever the DSN (tests); otherwise `start`
    // chooses: an HTTP transport for a valid DSN, the log for none.
    explicit ErrorReporter(const Clock& clock, std::unique_ptr<EnvelopeTransport> transport = nullptr,
                           QObject* parent = nullptr);
    ~ErrorReporter() override;

    void start(ErrorReportingOptions options);
    bool isStarted() const { return started_; }
    const ErrorReportingOptions& options() const { return options_; }

    void captureError(const ReportedError& error,
                      const std::function<void(ErrorScope&)>& configureScope = {});
    void captureMessage(const QString& message);
    // A crash of an earlier run, as a fatal event with the crashed thread's stack. `delivered` is told
    // whether the report went out (see EnvelopeTransport); before `start` it did not, and one that the
    // before-send filter drops is done with.
    void captureCrash(const CrashRecord& crash, EnvelopeTransport::Delivered delivered = {});

    // The envelope of one event: a header line with the event id, the DSN and the sending time, an item
    // header line and the event's JSON.
    static QByteArray envelope(const ErrorEvent& event, const QString& dsn, double sentAt);

private:
    ErrorEvent makeEvent(const QString& level) const;
    void deliver(ErrorEvent event, EnvelopeTransport::Delivered delivered = {});

    const Clock& clock_;
    std::unique_ptr<EnvelopeTransport> transport_;
    ErrorReportingOptions options_;
    bool started_ = false;
};

} // namespace kivo
