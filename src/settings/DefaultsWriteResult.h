#pragma once

#include <string>

namespace kivo {

// The outcome of a mutation of the defaults database. On failure nothing changed, in memory or on disk.
struct DefaultsWriteResult {
    std::string error;   // empty on success
    std::string copyKey; // copyValueAside only: the key the copy was stored under (empty if nothing to copy)

    bool ok() const { return error.empty(); }
    explicit operator bool() const { return ok(); }

    static DefaultsWriteResult success() { return {}; }
    static DefaultsWriteResult failure(std::string message) { return {std::move(message), {}}; }

    friend bool operator==(const DefaultsWriteResult&, const DefaultsWriteResult&) = default;
};

} // namespace kivo
