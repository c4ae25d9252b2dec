#include "settings/DefaultsStore.h"

#include "core/Log.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <limits>

namespace kivo {
namespace {

// Why `value` cannot be part of the document: NaN and the infinities would come back as null, and
// containers as deeply nested as the load limit would make the whole document unreadable at the next
// start. `enclosing` counts the containers around `value`; the walk stops at the limit.
std::string contentProblem(const nlohmann::json& value, int enclosing) {
    if (value.is_number_float() && !std::isfinite(value.get<double>())) {
        return "a number that is not finite cannot be stored";
    }
    if (value.is_structured()) {
        if (enclosing >= DefaultsStore::kMaximumDepth) {
            return "the value is nested too deeply to be stored";
        }
        for (const auto& element : value) {
            if (auto problem = contentProblem(element, enclosing + 1); !problem.empty()) {
                return problem;
            }
        }
    }
    return {};
}

// `value` as it will stand in the document, inside one container.
std::string storableProblem(const nlohmann::json& value) {
    if (auto problem = contentProblem(value, 0); !problem.empty()) {
        return problem;
    }
    try {
        (void)value.dump();
    } catch (const nlohmann::json::exception& e) {
        return std::string("the value cannot be written as JSON: ") + e.what();
    }
    return {};
}

// A typed read: absent, the value as a T when the key holds one of the `accepted` types, else the wrong
// type (reported with what the key does hold, never coerced).
template <typename T>
DefaultsRead<T> typedRead(const nlohmann::json& document, const std::string& key,
                          std::initializer_list<DefaultsValueType> accepted) {
    const auto it = document.find(key);
    const auto stored = it == document.end() ? DefaultsValueType::Absent : defaultsValueTypeOf(*it);
    if (stored == DefaultsValueType::Absent) {
        return {};
    }
    if (std::find(accepted.begin(), accepted.end(), stored) == accepted.end()) {
        return {DefaultsReadStatus::WrongType, std::nullopt, stored};
    }
    return {DefaultsReadStatus::Present, it->get<T>(), stored};
}

} // namespace

DefaultsStore::DefaultsStore(nlohmann::json document) : document_(std::move(document)) {
    if (!document_.is_object()) {
        document_ = nlohmann::json::object();
    }
}

void DefaultsStore::replaceDocument(nlohmann::json document) {
    document_ = document.is_object() ? std::move(document) : nlohmann::json::object();
}

DefaultsValueType DefaultsStore::type(const std::string& key) const {
    const auto it = document_.find(key);
    return it == document_.end() ? DefaultsValueType::Absent : defaultsValueTypeOf(*it);
}

std::optional<nlohmann::json> DefaultsStore::value(const std::string& key) const {
    const auto it = document_.find(key);
    if (it == document_.end() || it->is_null()) {
        return std::nullopt;
    }
    return *it;
}

DefaultsRead<bool> DefaultsStore::boolValue(const std::string& key) const {
    return typedRead<bool>(document_, key, {DefaultsValueType::Bool});
}

DefaultsRead<std::int64_t> DefaultsStore::integerValue(const std::string& key) const {
    return typedRead<std::int64_t>(document_, key, {DefaultsValueType::Integer});
}

DefaultsRead<double> DefaultsStore::realValue(const std::string& key) const {
    return typedRead<double>(document_, key, {DefaultsValueType::Real, DefaultsValueType::Integer});
}

DefaultsRead<std::string> DefaultsStore::stringValue(const std::string& key) const {
    return typedRead<std::string>(document_, key, {DefaultsValueType::String});
}

DefaultsRead<nlohmann::json> DefaultsStore::arrayValue(const std::string& key) const {
    return typedRead<nlohmann::json>(document_, key, {DefaultsValueType::Array});
}

DefaultsRead<nlohmann::json> DefaultsStore::objectValue(const std::string& key) const {
    return typedRead<nlohmann::json>(document_, key, {DefaultsValueType::Object});
}

std::vector<std::string> DefaultsStore::keys() const {
    std::vector<std::string> result;
    for (auto it = document_.begin(); it != document_.end(); ++it) {
        if (!it->is_null()) {
            result.push_back(it.key());
        }
    }
    return result;
}

DefaultsWriteResult DefaultsStore::setValue(const std::string& key, nlohmann::json value) {
    if (value.is_null()) {
        return remove(key);
    }
    if (key.empty()) {
        qCWarning(lcSettings, "Refused to store a value under an empty key");
        return DefaultsWriteResult::failure("a key must not be empty");
    }
    if (const auto problem = storableProblem(nlohmann::json::array({key, value})); !problem.empty()) {
        qCWarning(lcSettings, "Refused to store the value of %s: %s", key.c_str(), problem.c_str());
        return DefaultsWriteResult::failure(problem);
    }
    const auto it = document_.find(key);
    if (it != document_.end() && *it == value && defaultsValueTypeOf(*it) == defaultsValueTypeOf(value)) {
        return DefaultsWriteResult::success();
    }
    auto next = document_;
    next[key] = std::move(value);
    return commit(std::move(next), "set", key);
}

DefaultsWriteResult DefaultsStore::remove(const std::string& key) {
    if (document_.find(key) == document_.end()) {
        return DefaultsWriteResult::success();
    }
    auto next = document_;
    next.erase(key);
    return commit(std::move(next), "remove", key);
}

DefaultsWriteResult DefaultsStore::removeAll() {
    if (document_.empty()) {
        return DefaultsWriteResult::success();
    }
    return commit(nlohmann::json::object(), "remove all", "*");
}

DefaultsWriteResult DefaultsStore::copyValueAside(const std::string& key) {
    const auto current = value(key);
    if (!current) {
        return DefaultsWriteResult::success();
    }
    const auto prefix = copyKeyPrefix(key);
    unsigned long long highest = 0;
    for (auto it = document_.begin(); it != document_.end(); ++it) {
        const auto& name = it.key();
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) {
            continue;
        }
        const auto suffix = name.substr(prefix.size());
        if (suffix.size() > 19 || suffix.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        highest = std::max(highest, std::stoull(suffix));
    }
    if (highest == std::numeric_limits<unsigned long long>::max()) {
        return DefaultsWriteResult::failure("no free key is left for a copy");
    }
    const auto copyKey = prefix + std::to_string(highest + 1);
    auto next = document_;
    next[copyKey] = *current;
    auto result = commit(std::move(next), "copy aside", key);
    if (result.ok()) {
        qCWarning(lcSettings, "Kept the value of %s aside as %s", key.c_str(), copyKey.c_str());
        result.copyKey = copyKey;
    }
    return result;
}

DefaultsWriteResult DefaultsStore::removeKeptAsideCopies() {
    auto next = document_;
    bool removedAny = false;
    for (auto it = document_.begin(); it != document_.end(); ++it) {
        const auto& name = it.key();
        const auto marker = name.rfind(".unreadable.");
        if (marker == std::string::npos || marker == 0) {
            continue;
        }
        const auto suffix = name.substr(marker + std::string(".unreadable.").size());
        if (!suffix.empty() && suffix.find_first_not_of("0123456789") == std::string::npos) {
            next.erase(name);
            removedAny = true;
        }
    }
    if (removedAny) {
        if (auto result = commit(std::move(next), "remove", "the kept-aside copies"); !result.ok()) {
            return result;
        }
    }
    return removeKeptAsideDocuments();
}

DefaultsWriteResult DefaultsStore::commit(nlohmann::json next, const char* operation,
                                          const std::string& key) {
    auto result = persist(next);
    // A read-only store said why when it loaded; every refused write would only repeat it.
    if (!result.ok() && !isReadOnly()) {
        qCCritical(lcSettings, "Could not %s %s: %s", operation, key.c_str(), result.error.c_str());
    }
    if (!result.ok()) {
        return result;
    }
    document_ = std::move(next);
    return result;
}

} // namespace kivo
