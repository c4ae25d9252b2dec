#pragma once

#include <QWidget>

#include <functional>
#include <string>
#include <vector>

namespace kivo {

class DesktopShell;
class ManualClock;

// One picture: a name and what to do to a freshly launched application before the picture is taken.
// `setUp` returns the widget to photograph: a window, a sheet (drawn over its window) or a veil.
struct Scene {
    std::string name;
    bool onboardingDone = true;
    bool systemPackage = false; // the program belongs to a system package (uninstall cannot trash it)
    std::function<QWidget*(DesktopShell& shell, ManualClock& clock)> setUp;
    bool browsersDenied = false; // two running browsers refuse to be scripted (the Automation notice)
    bool browsersUnseen = false; // Firefox runs natively on Wayland (the notice of browsers Kivo cannot see)
};

// Every scene, in order. Add a row here for each new screen or state.
std::vector<Scene> allScenes();

} // namespace kivo
