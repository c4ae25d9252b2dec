#pragma once

#include "browser-monitor/AppleEventDescriptor.h"
#include "browser-monitor/AppleScriptResult.h"

namespace kivo {

// A browser script that the script host has compiled. It is run on the browser's own worker thread,
// one run at a time; a run may block for as long as the browser takes to answer. A failed run always
// carries an error code (0 when the error gave no number): a result without one counts as a success.
class CompiledScript {
public:
    virtual ~CompiledScript() = default;
    // Runs the script's top level.
    virtual AppleScriptResult execute() = 0;
    // Delivers an event to the script (a handler call with its arguments).
    virtual AppleScriptResult executeEvent(const AppleEventDescriptor& event) = 0;
};

} // namespace kivo
