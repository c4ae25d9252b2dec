#pragma once

#include "domain/LanguagePreference.h"

#include <functional>

namespace kivo {

class Localizer;
class StatusItemPort;

// The tray item: installs it once with its two entries titled in the chosen interface language (not the
// system's), re-titles them on a language change, and forwards the choices to the delegate's actions.
class MenuBarController {
public:
    MenuBarController(StatusItemPort& port, const Localizer& localizer);

    std::function<void()> onOpenKivo;
    std::function<void()> onQuitKivo;

    void install(LanguagePreference language);
    // Before install it changes nothing.
    void updateTitles(LanguagePreference language);
    bool isInstalled() const { return installed_; }

    void openKivo();
    void quitKivo();

private:
    StatusItemPort& port_;
    const Localizer& localizer_;
    bool installed_ = false;
};

} // namespace kivo
