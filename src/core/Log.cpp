#include "core/Log.h"

// Debug output is off unless QT_LOGGING_RULES (or a Qt logging configuration) turns it on: routine
// messages name the pages a user visits, and a desktop session writes stderr to its journal.
Q_LOGGING_CATEGORY(lcLifecycle, "app.kivo.Kivo.lifecycle", QtInfoMsg)
Q_LOGGING_CATEGORY(lcTermination, "app.kivo.Kivo.termination", QtInfoMsg)
Q_LOGGING_CATEGORY(lcMenubar, "app.kivo.Kivo.menubar", QtInfoMsg)
Q_LOGGING_CATEGORY(lcUpdate, "app.kivo.Kivo.update", QtInfoMsg)
Q_LOGGING_CATEGORY(lcAutomation, "app.kivo.Kivo.automation", QtInfoMsg)
Q_LOGGING_CATEGORY(lcBrightness, "app.kivo.Kivo.brightness", QtInfoMsg)
Q_LOGGING_CATEGORY(lcSettings, "app.kivo.Kivo.settings", QtInfoMsg)
