#pragma once

#include <nlohmann/json.hpp>

namespace kivo {

// What a key of the defaults database holds. A JSON null counts as absent.
enum class DefaultsValueType { Absent, Bool, Integer, Real, String, Array, Object };

// The type of a stored JSON value. An unsigned number beyond the signed 64-bit range is a real.
DefaultsValueType defaultsValueTypeOf(const nlohmann::json& value);

const char* defaultsValueTypeName(DefaultsValueType type);

} // namespace kivo
