#include "domain/Json.h"

namespace kivo::Json {
namespace {

// Rejects nesting deeper than `maxDepth` before the recursive parser sees the text.
bool nestingWithinLimit(std::string_view text) {
    int depth = 0;
    bool inString = false;
    bool escaped = false;
    for (const char c : text) {
        if (inString) {
            if (escaped) {
                escaped = false;
            } else if (c == '\\') {
                escaped = true;
            } else if (c == '"') {
                inString = false;
            }
            continue;
        }
        if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > maxDepth) {
                return false;
            }
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return true;
}

bool allNumbersFinite(const Value& v, int depth) {
    if (depth > maxDepth) {
        return false;
    }
    if (v.is_number_float()) {
        return std::isfinite(v.get<double>());
    }
    if (v.is_structured()) {
        for (const auto& element : v) {
            if (!allNumbersFinite(element, depth + 1)) {
                return false;
            }
        }
    }
    return true;
}

} // namespace

Result<Value> parse(std::string_view text) {
    if (!nestingWithinLimit(text)) {
        return Result<Value>::failure("document nested too deeply");
    }
    try {
        Value v = Value::parse(text.begin(), text.end(), nullptr, false);
        if (v.is_discarded()) {
            return Result<Value>::failure("not a JSON document");
        }
        return Result<Value>::success(std::move(v));
    } catch (const std::exception& e) {
        return Result<Value>::failure(std::string("not a JSON document: ") + e.what());
    }
}

Result<std::string> serialize(const Value& value) {
    if (!allNumbersFinite(value, 0)) {
        return Result<std::string>::failure("a number is not finite");
    }
    try {
        return Result<std::string>::success(value.dump());
    } catch (const std::exception& e) {
        return Result<std::string>::failure(std::string("cannot write JSON: ") + e.what());
    }
}

Result<bool> toBool(const Value& v) {
    if (!v.is_boolean()) {
        return Result<bool>::failure("expected true or false");
    }
    return Result<bool>::success(v.get<bool>());
}

Result<double> toDouble(const Value& v) {
    if (!v.is_number()) {
        return Result<double>::failure("expected a number");
    }
    const double d = v.get<double>();
    if (!std::isfinite(d)) {
        return Result<double>::failure("expected a finite number");
    }
    return Result<double>::success(d);
}

Result<std::string> toString(const Value& v) {
    if (!v.is_string()) {
        return Result<std::string>::failure("expected a string");
    }
    return Result<std::string>::success(v.get<std::string>());
}

Result<Date> toDate(const Value& v) {
    Result<double> seconds = toDouble(v);
    if (!seconds.ok()) {
        return Result<Date>::failure("expected a date: " + seconds.error());
    }
    return Result<Date>::success(Date{seconds.value()});
}

Result<Uuid> toUuid(const Value& v) {
    if (v.is_string()) {
        if (auto id = Uuid::parse(v.get_ref<const std::string&>())) {
            return Result<Uuid>::success(*id);
        }
    }
    return Result<Uuid>::failure("expected a UUID");
}

Result<Url> toUrl(const Value& v) {
    // A stored URL is a target to go to: the empty reference parses but names nothing.
    if (v.is_string() && !v.get_ref<const std::string&>().empty()) {
        if (auto url = Url::parse(v.get_ref<const std::string&>())) {
            return Result<Url>::success(*url);
        }
    }
    return Result<Url>::failure("expected a URL");
}

ObjectReader::ObjectReader(const Value& v) {
    if (v.is_object()) {
        object_ = &v;
    } else {
        error_ = "expected an object";
    }
}

const Value* ObjectReader::find(const std::string& key) const {
    if (object_ == nullptr) {
        return nullptr;
    }
    const auto it = object_->find(key);
    if (it == object_->end() || it->is_null()) {
        return nullptr;
    }
    return &*it;
}

void ObjectReader::fail(const std::string& key, const std::string& message) {
    if (error_.empty()) {
        error_ = key + ": " + message;
    }
}

Value encodeCase(const std::string& caseName, Value payload) {
    Value out = Value::object();
    out[caseName] = std::move(payload);
    return out;
}

Result<Case> decodeCase(const Value& v, std::initializer_list<std::string_view> caseNames) {
    if (!v.is_object()) {
        return Result<Case>::failure("expected an object");
    }
    const Value* payload = nullptr;
    std::string name;
    int found = 0;
    for (const std::string_view caseName : caseNames) {
        const auto it = v.find(std::string(caseName));
        if (it != v.end()) {
            ++found;
            payload = &*it;
            name = std::string(caseName);
        }
    }
    if (found != 1) {
        return Result<Case>::failure(invalidNumberOfKeysMessage);
    }
    if (!payload->is_object()) {
        return Result<Case>::failure(name + ": expected an object");
    }
    return Result<Case>::success(Case{name, *payload});
}

} // namespace kivo::Json
