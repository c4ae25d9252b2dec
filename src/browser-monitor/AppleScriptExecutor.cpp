#include "browser-monitor/AppleScriptExecutor.h"

#include "browser-monitor/BrowserScripts.h"
#include "browser-monitor/BrowserWorkerPool.h"
#include "browser-monitor/ports/ScriptHost.h"
#include "core/Log.h"

namespace kivo {
namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

std::string trimmed(const std::string& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isSpace(text[begin])) {
        ++begin;
    }
    while (end > begin && isSpace(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

} // namespace

AppleScriptExecutor::AppleScriptExecutor(ScriptHost& host, BrowserWorkerPool& workers,
                                         PermissionHandler onPermission)
    : host_(host), workers_(workers), onPermission_(std::move(onPermission)) {}

std::shared_ptr<CompiledScript> AppleScriptExecutor::tabURLsScript(const std::string& bundleId,
                                                                   BrowserEngine engine) {
    auto it = compiledScripts_.find(bundleId);
    if (it != compiledScripts_.end() && it->second.tabURLs) {
        return it->second.tabURLs;
    }
    auto script =
        compileScript(BrowserScripts::makeTabURLsScriptSource(bundleId, engine), kTabURLsLabel, bundleId);
    if (script) {
        compiledScripts_[bundleId].tabURLs = script;
    }
    return script;
}

std::shared_ptr<CompiledScript> AppleScriptExecutor::redirectScript(const std::string& bundleId,
                                                                    BrowserEngine engine) {
    auto it = compiledScripts_.find(bundleId);
    if (it != compiledScripts_.end() && it->second.redirect) {
        return it->second.redirect;
    }
    auto script =
        compileScript(BrowserScripts::makeRedirectScriptSource(bundleId, engine), kRedirectLabel, bundleId);
    if (script) {
        compiledScripts_[bundleId].redirect = script;
    }
    return script;
}

std::shared_ptr<CompiledScript> AppleScriptExecutor::compileScript(const std::optional<std::string>& source,
                                                                   const std::string& label,
                                                                   const std::string& bundleId) {
    std::string message;
    if (!source) {
        // The builders refuse identifiers that could change the script's meaning.
        message = "refused bundle identifier";
    } else {
        auto compiled = host_.compile(*source);
        if (compiled.script) {
            return compiled.script;
        }
        message = compiled.errorMessage;
    }
    qCCritical(lcAutomation, "AppleScript compile failed for %s %s: %s", label.c_str(), bundleId.c_str(),
               message.c_str());
    return nullptr;
}

void AppleScriptExecutor::executeCompiledScript(const std::string& bundleId,
                                                std::shared_ptr<CompiledScript> script,
                                                std::optional<AppleEventDescriptor> event,
                                                std::chrono::milliseconds timeout,
                                                std::function<void(AppleScriptResult)> done) {
    // The job owns what it touches: a stuck run can outlive this executor.
    workers_.submit<AppleScriptResult>(
        bundleId,
        [script = std::move(script), event = std::move(event)] {
            AppleScriptResult result = event ? script->executeEvent(*event) : script->execute();
            if (result.succeeded()) {
                result.errorMessage.reset();
                if (result.output) {
                    result.output = trimmed(*result.output);
                }
            } else {
                result.output.reset();
            }
            return result;
        },
        timeout,
        [done = std::move(done)](std::optional<AppleScriptResult> result) {
            done(result ? std::move(*result) : AppleScriptResult::timeout());
        });
}

void AppleScriptExecutor::handleScriptResult(const std::string& bundleId, const AppleScriptResult& result,
                                             const std::string& label) {
    if (!result.succeeded()) {
        qCCritical(lcAutomation, "AppleScript %s failed for %s: code=%ld msg=%s", label.c_str(),
                   bundleId.c_str(), static_cast<long>(*result.errorCode),
                   result.errorMessage.value_or("").c_str());
    }
    if (auto state = BrowserPermissionState::fromScriptErrorCode(result.errorCode); state && onPermission_) {
        onPermission_(bundleId, *state);
    }
}

std::optional<std::vector<std::string>>
AppleScriptExecutor::splitTabURLs(const std::optional<std::string>& output) {
    if (!output) {
        return std::nullopt;
    }
    std::vector<std::string> urls;
    std::size_t start = 0;
    while (start <= output->size()) {
        const std::size_t end = output->find('\n', start);
        const std::size_t stop = end == std::string::npos ? output->size() : end;
        if (stop > start) {
            urls.push_back(output->substr(start, stop - start));
        }
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
    if (urls.empty()) {
        return std::nullopt;
    }
    return urls;
}

void AppleScriptExecutor::readTabURLs(const std::string& bundleId, BrowserEngine engine, URLsHandler done) {
    auto script = tabURLsScript(bundleId, engine);
    if (!script) {
        done(std::nullopt);
        return;
    }
    executeCompiledScript(bundleId, std::move(script), std::nullopt, kTimeout,
                          [this, bundleId, done = std::move(done)](AppleScriptResult result) {
                              handleScriptResult(bundleId, result, kTabURLsLabel);
                              done(splitTabURLs(result.output));
                          });
}

void AppleScriptExecutor::redirectViaAppleScript(const std::string& bundleId, BrowserEngine engine,
                                                 const std::string& oldUrl, const std::string& newUrl,
                                                 std::function<void()> done) {
    auto script = redirectScript(bundleId, engine);
    if (!script) {
        done();
        return;
    }
    executeCompiledScript(bundleId, std::move(script), BrowserScripts::makeRedirectEvent(oldUrl, newUrl),
                          kTimeout, [this, bundleId, done = std::move(done)](AppleScriptResult result) {
                              handleScriptResult(bundleId, result, kRedirectLabel);
                              done();
                          });
}

} // namespace kivo
