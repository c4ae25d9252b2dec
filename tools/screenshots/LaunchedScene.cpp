#include "LaunchedScene.h"

#include "ui/shell/DesktopShell.h"

namespace kivo {

namespace {

nlohmann::json document(const Scene& scene, LanguagePreference language) {
    nlohmann::json d{{"kivo.languagePreference", std::string(language.rawValue())}};
    if (scene.onboardingDone)
        d["kivo.onboardingCompletedVersion"] = 1;
    return d;
}

} // namespace

LaunchedScene::LaunchedScene(const Scene& scene, LanguagePreference language)
    : defaults(document(scene, language)), ports(clock) {
    ports.world.setTrusted(false);
    if (scene.systemPackage)
        ports.installation.packageReason = QStringLiteral("owned by root");
    // Two displays, so the trigger sheet shows a slider for each.
    ports.brightness->addDisplay({1, true, "Built-in Display"}, 0.8f);
    ports.brightness->addDisplay({2, false, "External Display"}, 0.6f);
    if (scene.browsersDenied) {
        for (const char* browser : {"com.google.Chrome", "com.brave.Browser"}) {
            ports.world.addBrowser(browser, {});
            ports.world.setConsent(browser, SimulatedBrowserWorld::Consent::denied);
        }
    }
    if (scene.browsersUnseen)
        ports.busBrowsers.setBrowsers({{"org.mozilla.firefox", "Firefox", {70001}}});
    shell = std::make_unique<DesktopShell>(
        AppDelegate::BackEnds{defaults, clock, clock, ports.brightness, ports.events, ports.events,
                              ports.browserPorts(), ports.settings, ports.loginItem, ports.trash,
                              ports.installation, ports.updates, ports.errors, QStringList{"en"}, "1.0.0"},
        ports.activationPolicy);
    shell->launch();
}

LaunchedScene::~LaunchedScene() = default;

} // namespace kivo
