#pragma once

#include "browser-monitor/AppleEventDescriptor.h"
#include "browser-monitor/AppleScriptResult.h"
#include "browser-monitor/BrowserEngine.h"
#include "browser-monitor/BrowserPermissionState.h"
#include "browser-monitor/CompiledScripts.h"

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kivo {

class BrowserWorkerPool;
class ScriptHost;

// Compiles each scriptable browser's two scripts once, runs them on the browser's worker with a
// deadline, and learns the browser's Automation permission from every finished run. Used on the main
// thread; every `done` is called there, at the latest at the deadline.
class AppleScriptExecutor {
public:
    using PermissionHandler = std::function<void(const std::string& bundleId, BrowserPermissionState)>;
    using URLsHandler = std::function<void(std::optional<std::vector<std::string>>)>;

    static constexpr std::chrono::milliseconds kTimeout{5000};
    static constexpr const char* kTabURLsLabel = "getTabURLs";
    static constexpr const char* kRedirectLabel = "redirect";

    AppleScriptExecutor(ScriptHost& host, BrowserWorkerPool& workers, PermissionHandler onPermission);

    // The browser's front-tab URLs, or none when the script could not run or reported nothing.
    void readTabURLs(const std::string& bundleId, BrowserEngine engine, URLsHandler done);
    // Sends the front tab of every window showing `oldUrl` to `newUrl`.
    void redirectViaAppleScript(const std::string& bundleId, BrowserEngine engine, const std::string& oldUrl,
                                const std::string& newUrl, std::function<void()> done);

    // Runs a compiled script (its top level, or the event) on the browser's worker. At the deadline the
    // caller gets the time-out result and the run's own result is dropped when it comes. A browser whose
    // earlier run is stuck past its deadline gets the time-out result at once: nothing is queued behind
    // the stuck call.
    void executeCompiledScript(const std::string& bundleId, std::shared_ptr<CompiledScript> script,
                               std::optional<AppleEventDescriptor> event, std::chrono::milliseconds timeout,
                               std::function<void(AppleScriptResult)> done);

    std::shared_ptr<CompiledScript> tabURLsScript(const std::string& bundleId, BrowserEngine engine);
    std::shared_ptr<CompiledScript> redirectScript(const std::string& bundleId, BrowserEngine engine);
    std::shared_ptr<CompiledScript> compileScript(const std::optional<std::string>& source,
                                                  const std::string& label, const std::string& bundleId);
    void handleScriptResult(const std::string& bundleId, const AppleScriptResult& result,
                            const std::string& label);

    const std::map<std::string, CompiledScripts>& compiledScripts() const { return compiledScripts_; }

    // The tab-URL output split at line feeds, empty pieces dropped; none when nothing is left.
    static std::optional<std::vector<std::string>> splitTabURLs(const std::optional<std::string>& output);

private:
    ScriptHost& host_;
    BrowserWorkerPool& workers_;
    PermissionHandler onPermission_;
    std::map<std::string, CompiledScripts> compiledScripts_;
};

} // namespace kivo
