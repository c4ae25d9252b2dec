#pragma once

#include "browser-monitor/ports/CompiledScript.h"

#include <memory>

namespace kivo {

// The two compiled scripts of one browser; either is none until it has compiled.
struct CompiledScripts {
    std::shared_ptr<CompiledScript> tabURLs;
    std::shared_ptr<CompiledScript> redirect;

    friend bool operator==(const CompiledScripts&, const CompiledScripts&) = default;
};

} // namespace kivo
