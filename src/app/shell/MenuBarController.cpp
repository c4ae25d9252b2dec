#include "app/shell/MenuBarController.h"

#include "app/language/LocalizedStrings.h"
#include "app/language/Localizer.h"
#include "app/ports/StatusItemPort.h"
#include "core/Log.h"

namespace kivo {

MenuBarController::MenuBarController(StatusItemPort& port, const Localizer& localizer)
    : port_(port), localizer_(localizer) {}

void MenuBarController::install(LanguagePreference language) {
    port_.install(
        localizer_.text(Strings::Menubar::openKivo(), language),
        localizer_.text(Strings::Menubar::quitKivo(), language), [this] { openKivo(); },
        [this] { quitKivo(); });
    installed_ = true;
    qCDebug(lcMenubar, "Menu bar item installed");
}

void MenuBarController::updateTitles(LanguagePreference language) {
    if (!installed_)
        return;
    port_.setTitles(localizer_.text(Strings::Menubar::openKivo(), language),
                    localizer_.text(Strings::Menubar::quitKivo(), language));
}

void MenuBarController::openKivo() {
    qCDebug(lcMenubar, "Open Kivo clicked");
    if (onOpenKivo)
        onOpenKivo();
}

void MenuBarController::quitKivo() {
    qCDebug(lcMenubar, "Quit Kivo clicked");
    if (onQuitKivo)
        onQuitKivo();
}

} // namespace kivo
