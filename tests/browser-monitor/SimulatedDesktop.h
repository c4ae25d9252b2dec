#pragma once

#include "browser-monitor/AccessibilityBrowserBridge.h"
#include "browser-monitor/AppleScriptExecutor.h"
#include "browser-monitor/BrowserWorkerPool.h"
#include "core/ManualClock.h"
#include "platform/simulated/SimulatedAccessibilityTree.h"
#include "platform/simulated/SimulatedAutomationConsent.h"
#include "platform/simulated/SimulatedBrowserWorld.h"
#include "platform/simulated/SimulatedKeystrokeSink.h"
#include "platform/simulated/SimulatedScriptHost.h"
#include "platform/simulated/SimulatedSettingsOpener.h"
#include "platform/simulated/SimulatedWorkspace.h"

#include <chrono>
#include <mutex>
#include <vector>

namespace kivo::test {

// A simulated desktop with every browser port, and a manual clock that drives all deadlines.
struct SimulatedDesktop {
    ManualClock clock;
    SimulatedBrowserWorld world;
    SimulatedWorkspace workspace{world};
    SimulatedScriptHost scriptHost{world};
    SimulatedAutomationConsent consent{world};
    SimulatedAccessibilityTree tree{world};
    SimulatedKeystrokeSink keystrokes{world};
    SimulatedSettingsOpener settings{world};

    // The pauses of keystroke sequences, recorded instead of slept.
    std::mutex pauseMutex;
    std::vector<std::chrono::milliseconds> pauses;
    AccessibilityBrowserBridge::Sleep recordPause() {
        return [this](std::chrono::milliseconds d) {
            std::lock_guard lock(pauseMutex);
            pauses.push_back(d);
        };
    }
    std::vector<std::chrono::milliseconds> recordedPauses() {
        std::lock_guard lock(pauseMutex);
        return pauses;
    }
};

} // namespace kivo::test
