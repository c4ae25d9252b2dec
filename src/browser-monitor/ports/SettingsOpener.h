#pragma once

namespace kivo {

// Opens the desktop's settings where the user grants Kivo access to other applications' accessibility.
class SettingsOpener {
public:
    virtual ~SettingsOpener() = default;
    // Whether it opened is not reported back to the user; false only for the log.
    virtual bool openAccessibilitySettings() = 0;
};

} // namespace kivo
