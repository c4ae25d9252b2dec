#include "settings/DefaultsValueType.h"

#include <cstdint>
#include <limits>

namespace kivo {

DefaultsValueType defaultsValueTypeOf(const nlohmann::json& value) {
    switch (value.type()) {
    case nlohmann::json::value_t::boolean:
        return DefaultsValueType::Bool;
    case nlohmann::json::value_t::number_integer:
        return DefaultsValueType::Integer;
    case nlohmann::json::value_t::number_unsigned:
        return value.get<std::uint64_t>() <=
                       static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())
                   ? DefaultsValueType::Integer
                   : DefaultsValueType::Real;
    case nlohmann::json::value_t::number_float:
        return DefaultsValueType::Real;
    case nlohmann::json::value_t::string:
        return DefaultsValueType::String;
    case nlohmann::json::value_t::array:
        return DefaultsValueType::Array;
    case nlohmann::json::value_t::object:
        return DefaultsValueType::Object;
    default:
        return DefaultsValueType::Absent;
    }
}

const char* defaultsValueTypeName(DefaultsValueType type) {
    switch (type) {
    case DefaultsValueType::Absent:
        return "absent";
    case DefaultsValueType::Bool:
        return "bool";
    case DefaultsValueType::Integer:
        return "integer";
    case DefaultsValueType::Real:
        return "real";
    case DefaultsValueType::String:
        return "string";
    case DefaultsValueType::Array:
        return "array";
    case DefaultsValueType::Object:
        return "object";
    }
    return "absent";
}

} // namespace kivo
