#pragma once

#include <QLoggingCategory>

namespace kivo {

// The application's identifier, used as the prefix of every log category.
inline constexpr const char* kBundleIdentifier = "app.kivo.Kivo";

} // namespace kivo

// "<bundle id>.<area>" categories. Debug for routine interface events, info for lifecycle steps,
// warning/critical for failures.
Q_DECLARE_LOGGING_CATEGORY(lcLifecycle)
Q_DECLARE_LOGGING_CATEGORY(lcTermination)
Q_DECLARE_LOGGING_CATEGORY(lcMenubar)
Q_DECLARE_LOGGING_CATEGORY(lcUpdate)
Q_DECLARE_LOGGING_CATEGORY(lcAutomation)
Q_DECLARE_LOGGING_CATEGORY(lcBrightness)
Q_DECLARE_LOGGING_CATEGORY(lcSettings)
