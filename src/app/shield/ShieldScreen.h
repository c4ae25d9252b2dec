#pragma once

#include <QRect>

#include <string>

namespace kivo {

// One screen as the shield sees it: a name that tells screens apart and its full frame in desktop
// coordinates.
struct ShieldScreen {
    std::string name;
    QRect frame;

    friend bool operator==(const ShieldScreen&, const ShieldScreen&) = default;
};

} // namespace kivo
