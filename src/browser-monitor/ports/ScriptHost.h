#pragma once

#include "browser-monitor/ports/CompiledScript.h"

#include <memory>
#include <string>

namespace kivo {

// Compiles browser scripts. Compiling happens on the main thread and must not wait on a browser.
class ScriptHost {
public:
    struct CompileResult {
        std::shared_ptr<CompiledScript> script; // none when the source did not compile
        std::string errorMessage;               // why, when it did not
    };

    virtual ~ScriptHost() = default;
    virtual CompileResult compile(const std::string& source) = 0;
};

} // namespace kivo
