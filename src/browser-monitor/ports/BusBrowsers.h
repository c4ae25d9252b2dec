#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kivo {

// The supported browsers whose accessibility applications are on the accessibility bus, each with its
// process, so that the monitor can tell the ones that show Kivo no window (a browser running natively on
// Wayland). A read may block on the bus: it runs on a worker, with a deadline, and must be safe to call
// from a thread other than the main one.
class BusBrowsers {
public:
    struct Browser {
        std::string bundleId;    // the row of the supported-browser table
        std::string displayName; // as the running build calls itself; empty: the row's name
        // The process's numbers, the bus's own first: a browser in a PID namespace of its own also has
        // the numbers of its namespaces, and names its desktop windows with the innermost one.
        std::vector<int> processIds;

        friend bool operator==(const Browser&, const Browser&) = default;
    };

    virtual ~BusBrowsers() = default;

    // The browsers on the bus now; none when the bus could not be read.
    virtual std::optional<std::vector<Browser>> browsers() = 0;
};

} // namespace kivo
