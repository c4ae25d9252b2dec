#pragma once

#include "domain/Date.h"
#include "domain/Result.h"
#include "domain/Url.h"
#include "domain/Uuid.h"

#include <nlohmann/json.hpp>

#include <cmath>
#ifndef Q_MOC_RUN // Qt 6.4's moc cannot parse <concepts>; QObject headers include this file
#include <concepts>
#endif
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace kivo {

// The one road between stored values and JSON. It is strict: a field of the wrong type, an integer that
// is fractional or out of range, a required key that is missing or null all fail decoding with a message
// naming the field. Optional keys that are absent or null read as absent and are never written as null;
// unknown keys are ignored. Every stored type T offers `Json::Value T::toJson() const` and
// `static Result<T> T::fromJson(const Json::Value&)`.
namespace Json {

using Value = nlohmann::json;

// Reads a document; never throws. Refuses malformed text and nesting deeper than `maxDepth`.
inline constexpr int maxDepth = 256;
Result<Value> parse(std::string_view text);
// Writes a document; never throws. Fails on a number that is not finite or a string that is not UTF-8
// (nothing would read back what it stored).
Result<std::string> serialize(const Value& value);

Result<bool> toBool(const Value& v);
Result<double> toDouble(const Value& v);
Result<std::string> toString(const Value& v);
Result<Date> toDate(const Value& v);
Result<Uuid> toUuid(const Value& v);
// Refuses the empty text, which Url::parse accepts as a relative reference.
Result<Url> toUrl(const Value& v);

template <class I>
requires std::integral<I> Result<I> toInteger(const Value& v) {
    constexpr long double lo = static_cast<long double>(std::numeric_limits<I>::min());
    constexpr long double hi = static_cast<long double>(std::numeric_limits<I>::max());
    long double n = 0;
    if (v.is_number_unsigned()) {
        n = static_cast<long double>(v.get<std::uint64_t>());
    } else if (v.is_number_integer()) {
        n = static_cast<long double>(v.get<std::int64_t>());
    } else if (v.is_number_float()) {
        const double d = v.get<double>();
        if (!std::isfinite(d) || std::trunc(d) != d) {
            return Result<I>::failure("expected an integer");
        }
        n = static_cast<long double>(d);
    } else {
        return Result<I>::failure("expected an integer");
    }
    if (n < lo || n > hi) {
        return Result<I>::failure("integer out of range");
    }
    return Result<I>::success(static_cast<I>(n));
}

template <class T>
concept DecodableType = requires(const Value& v) {
    { T::fromJson(v) } -> std::same_as<Result<T>>;
};

template <class T>
concept StoredType = DecodableType<T> && requires(const T& t) {
    { t.toJson() } -> std::same_as<Value>;
};

// Enumerations and other types that cannot carry members take part through two free functions found by
// argument-dependent lookup: `Json::Value jsonEncode(T)` and `Result<T> jsonDecode(const Json::Value&, T*)`.
template <class T>
concept FreeCodec = requires(const T& t, const Value& v) {
    { jsonEncode(t) } -> std::same_as<Value>;
    { jsonDecode(v, static_cast<T*>(nullptr)) } -> std::same_as<Result<T>>;
};

template <class T> struct IsVector : std::false_type {};
template <class T> struct IsVector<std::vector<T>> : std::true_type {};
template <class T> struct IsSet : std::false_type {};
template <class T> struct IsSet<std::set<T>> : std::true_type {};

template <class T> Result<T> decode(const Value& v);
template <class T> Value encode(const T& value);

// Arrays: one bad element fails the whole array.
template <class T> Result<std::vector<T>> decodeList(const Value& v) {
    if (!v.is_array()) {
        return Result<std::vector<T>>::failure("expected an array");
    }
    std::vector<T> out;
    out.reserve(v.size());
    for (std::size_t i = 0; i < v.size(); ++i) {
        Result<T> element = decode<T>(v[i]);
        if (!element.ok()) {
            std::string message = "[";
            message.append(std::to_string(i)).append("]: ").append(element.error());
            return Result<std::vector<T>>::failure(std::move(message));
        }
        out.push_back(std::move(element.value()));
    }
    return Result<std::vector<T>>::success(std::move(out));
}

// Arrays from vectors, and from sets in their own order.
template <class Container> Value encodeList(const Container& values) {
    Value out = Value::array();
    for (const auto& value : values) {
        out.push_back(encode(value));
    }
    return out;
}

template <class T> Result<T> decode(const Value& v) {
    if constexpr (std::is_same_v<T, bool>) {
        return toBool(v);
    } else if constexpr (std::is_integral_v<T>) {
        return toInteger<T>(v);
    } else if constexpr (std::is_same_v<T, double>) {
        return toDouble(v);
    } else if constexpr (std::is_same_v<T, std::string>) {
        return toString(v);
    } else if constexpr (std::is_same_v<T, Date>) {
        return toDate(v);
    } else if constexpr (std::is_same_v<T, Uuid>) {
        return toUuid(v);
    } else if constexpr (std::is_same_v<T, Url>) {
        return toUrl(v);
    } else if constexpr (FreeCodec<T>) {
        return jsonDecode(v, static_cast<T*>(nullptr));
    } else if constexpr (IsVector<T>::value) {
        return decodeList<typename T::value_type>(v);
    } else if constexpr (IsSet<T>::value) {
        // Sets are stored as arrays in no defined order.
        Result<std::vector<typename T::value_type>> list = decodeList<typename T::value_type>(v);
        if (!list.ok()) {
            return Result<T>::failureOf(list);
        }
        return Result<T>::success(T(list.value().begin(), list.value().end()));
    } else {
        static_assert(DecodableType<T>, "a stored type needs fromJson");
        return T::fromJson(v);
    }
}

template <class T> Value encode(const T& value) {
    if constexpr (FreeCodec<T>) {
        return jsonEncode(value);
    } else if constexpr (std::is_same_v<T, bool> || std::is_integral_v<T> || std::is_same_v<T, double> ||
                         std::is_same_v<T, std::string>) {
        return Value(value);
    } else if constexpr (std::is_same_v<T, Date>) {
        return Value(value.secondsSinceReferenceDate);
    } else if constexpr (std::is_same_v<T, Uuid>) {
        return Value(value.toString());
    } else if constexpr (std::is_same_v<T, Url>) {
        return Value(value.text());
    } else if constexpr (IsVector<T>::value || IsSet<T>::value) {
        return encodeList(value);
    } else {
        static_assert(StoredType<T>, "a stored type needs toJson and fromJson");
        return value.toJson();
    }
}

// Writes `key` only when the value is present.
template <class T> void putOptional(Value& object, const std::string& key, const std::optional<T>& value) {
    if (value) {
        object[key] = encode(*value);
    }
}

// Reads the fields of one object, remembering the first failure. On failure the getters return a
// default value; check ok() before using any of them.
class ObjectReader {
public:
    explicit ObjectReader(const Value& v);

    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; }

    template <class T> T required(const std::string& key) {
        const Value* field = find(key);
        if (field == nullptr) {
            fail(key, "missing");
            return T{};
        }
        return take<T>(key, *field);
    }

    template <class T> std::optional<T> optional(const std::string& key) {
        const Value* field = find(key);
        if (field == nullptr) {
            return std::nullopt;
        }
        return take<T>(key, *field);
    }

    // The outcome of a decoder built from this reader's fields.
    template <class T> Result<T> finish(T value) const {
        if (!ok()) {
            return Result<T>::failure(error_);
        }
        return Result<T>::success(std::move(value));
    }

private:
    // The field under `key`, or nullptr when absent or null (or the reader is already failed).
    const Value* find(const std::string& key) const;
    void fail(const std::string& key, const std::string& message);

    template <class T> T take(const std::string& key, const Value& field) {
        if (!ok()) {
            return T{};
        }
        Result<T> decoded = decode<T>(field);
        if (!decoded.ok()) {
            fail(key, decoded.error());
            return T{};
        }
        return std::move(decoded.value());
    }

    const Value* object_ = nullptr;
    std::string error_;
};

// The stored form of an enumeration case with a payload: {"caseName": {labels...}}, "_0" labelling an
// unlabelled payload and {} standing for none.
Value encodeCase(const std::string& caseName, Value payload = Value::object());

struct Case {
    std::string name;
    Value payload; // always an object
};
// Ignores keys that are not among `caseNames`; fails unless exactly one is present.
Result<Case> decodeCase(const Value& v, std::initializer_list<std::string_view> caseNames);

inline constexpr const char* invalidNumberOfKeysMessage = "Invalid number of keys found, expected one.";

} // namespace Json
} // namespace kivo
