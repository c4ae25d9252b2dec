#include "app/errors/ErrorReportingOptions.h"

#include "app/errors/ErrorEventFilter.h"

#include "KivoLinkSettings.h"

namespace kivo {

ErrorReportingOptions ErrorReportingOptions::kivoDefaults() {
    ErrorReportingOptions options;
    options.dsn = QStringLiteral(KIVO_SENTRY_DSN);
    options.tracesSampleRate = 0;
    options.environment = QStringLiteral("production");
    options.beforeSend = &ErrorEventFilter::beforeSend;
    return options;
}

} // namespace kivo
