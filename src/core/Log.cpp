#include "core/Log.h"

Q_LOGGING_CATEGORY(lcLifecycle, "app.kivo.Kivo.lifecycle", QtDebugMsg)
Q_LOGGING_CATEGORY(lcTermination, "app.kivo.Kivo.termination", QtDebugMsg)
Q_LOGGING_CATEGORY(lcMenubar, "app.kivo.Kivo.menubar", QtDebugMsg)
Q_LOGGING_CATEGORY(lcUpdate, "app.kivo.Kivo.update", QtDebugMsg)
Q_LOGGING_CATEGORY(lcAutomation, "app.kivo.Kivo.automation", QtDebugMsg)
Q_LOGGING_CATEGORY(lcBrightness, "app.kivo.Kivo.brightness", QtDebugMsg)
Q_LOGGING_CATEGORY(lcSettings, "app.kivo.Kivo.settings", QtDebugMsg)
