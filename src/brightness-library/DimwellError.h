#pragma once

#include <cstdint>
#include <string>

namespace kivo {

// A failure of one display's brightness operation. The library never logs; callers get this instead.
class DimwellError {
public:
    enum class Kind { notSupported, readFailed, writeFailed };

    static DimwellError notSupported(std::uint32_t displayID) { return {Kind::notSupported, displayID}; }
    static DimwellError readFailed(std::uint32_t displayID) { return {Kind::readFailed, displayID}; }
    static DimwellError writeFailed(std::uint32_t displayID) { return {Kind::writeFailed, displayID}; }

    Kind kind() const { return kind_; }
    std::uint32_t displayID() const { return displayID_; }
    std::string description() const;

    friend bool operator==(const DimwellError&, const DimwellError&) = default;

private:
    DimwellError(Kind kind, std::uint32_t displayID) : kind_(kind), displayID_(displayID) {}

    Kind kind_;
    std::uint32_t displayID_;
};

} // namespace kivo
