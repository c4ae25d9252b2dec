#pragma once

namespace kivo {

// Opens the desktop's settings where the user grants Kivo access to other applications: their
// accessibility, and scripting them (where browsers are scripted and can refuse it).
class SettingsOpener {
public:
    virtual ~SettingsOpener() = default;
    // Whether it opened is not reported back to the user; false only for the log.
    virtual bool openAccessibilitySettings() = 0;
    virtual bool openAutomationSettings() = 0;
};

} // namespace kivo
