#pragma once

#include "app/errors/ErrorEvent.h"

#include <QString>

#include <functional>
#include <optional>

namespace kivo {

struct ErrorReportingOptions {
    QString dsn;              // empty: reports go to the log
    int tracesSampleRate = 0; // no performance traces are sampled
    QString environment;
    std::function<std::optional<ErrorEvent>(ErrorEvent)> beforeSend;

    // Kivo's options: the DSN compiled in (KIVO_SENTRY_DSN), environment "production", no traces and the
    // filter of ErrorEventFilter.
    static ErrorReportingOptions kivoDefaults();
};

} // namespace kivo
