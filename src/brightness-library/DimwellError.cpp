#include "brightness-library/DimwellError.h"

namespace kivo {

std::string DimwellError::description() const {
    const std::string id = std::to_string(displayID_);
    switch (kind_) {
    case Kind::notSupported:
        return "Display " + id + " is not supported for brightness control";
    case Kind::readFailed:
        return "Failed to read brightness for display " + id;
    case Kind::writeFailed:
        return "Failed to write brightness for display " + id;
    }
    return {};
}

} // namespace kivo
