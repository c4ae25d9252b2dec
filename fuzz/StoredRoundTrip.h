#pragma once

#include "FuzzCheck.h"
#include "domain/Json.h"
#include "domain/Result.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <type_traits>
#include <utility>

namespace kivo {

enum class StoredForm { mayDiffer, same };

inline Json::Value storedValue(Json::Value value) {
    return value;
}

inline Json::Value storedValue(const Result<Json::Value>& value) {
    FUZZ_CHECK(value.ok());
    return value.value();
}

// Reads the input as a stored document. Whatever decodes must encode, be written, read back and decode
// to an equal value (with `same`, also to the very same stored form). Returns the decoded value for the
// caller's own checks, or nothing when the input is not a valid document.
template <class Decode, class Encode>
auto storedRoundTrip(const std::uint8_t* data, std::size_t size, Decode decode, Encode encode,
                     StoredForm form = StoredForm::mayDiffer)
    -> std::optional<std::decay_t<decltype(decode(std::declval<const Json::Value&>()).value())>> {
    const auto document = Json::parse(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!document.ok()) {
        return std::nullopt;
    }
    auto decoded = decode(document.value());
    if (!decoded.ok()) {
        return std::nullopt;
    }
    const Json::Value stored = storedValue(encode(decoded.value()));
    const auto written = Json::serialize(stored);
    FUZZ_CHECK(written.ok());
    const auto reparsed = Json::parse(written.value());
    FUZZ_CHECK(reparsed.ok());
    const auto again = decode(reparsed.value());
    FUZZ_CHECK(again.ok());
    FUZZ_CHECK(again.value() == decoded.value());
    if (form == StoredForm::same) {
        FUZZ_CHECK(storedValue(encode(again.value())) == stored);
    }
    return std::move(decoded.value());
}

} // namespace kivo
