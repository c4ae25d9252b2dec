#pragma once

#include "Scene.h"

#include "core/ManualClock.h"
#include "domain/LanguagePreference.h"
#include "platform/simulated/SimulatedApplicationPorts.h"
#include "settings/MemoryDefaultsStore.h"

#include <memory>

namespace kivo {

// The application as a scene starts from: launched in `language` over simulated back ends prepared the
// way the scene asks (its onboarding state, installation, displays and browsers).
struct LaunchedScene {
    LaunchedScene(const Scene& scene, LanguagePreference language);
    ~LaunchedScene();
    LaunchedScene(const LaunchedScene&) = delete;
    LaunchedScene& operator=(const LaunchedScene&) = delete;

    // Runs the scene's set-up: the widget to photograph (or to inspect).
    QWidget* setUp(const Scene& scene) { return scene.setUp(*shell, clock); }

    ManualClock clock;
    MemoryDefaultsStore defaults;
    SimulatedApplicationPorts ports;
    std::unique_ptr<DesktopShell> shell;
};

} // namespace kivo
