#pragma once

#include "settings/DefaultsRead.h"
#include "settings/DefaultsValueType.h"
#include "settings/DefaultsWriteResult.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kivo {

// The defaults database: typed values under string keys, kept as one JSON object. Stores and
// controllers take a `DefaultsStore&`, so tests can hand them a `MemoryDefaultsStore` while the
// program uses a `FileDefaultsStore`.
//
// Every mutation is persisted before it returns. When persisting fails the mutation is refused and the
// in-memory document stays what it was, so what a caller reads always matches what was last stored.
class DefaultsStore {
public:
    virtual ~DefaultsStore() = default;
    DefaultsStore(const DefaultsStore&) = delete;

    // A document with containers nested this deep or deeper is unreadable, so no value is stored that
    // would make it so.
    static constexpr int kMaximumDepth = 256;
    DefaultsStore& operator=(const DefaultsStore&) = delete;

    // Reading. Typed reads report a value of another type as WrongType. A real read accepts an integer
    // (JSON has one kind of number and a hand-edited 1 means 1.0); an integer read refuses 1.5 and 1.0.
    DefaultsValueType type(const std::string& key) const;
    bool contains(const std::string& key) const { return type(key) != DefaultsValueType::Absent; }
    std::optional<nlohmann::json> value(const std::string& key) const; // raw JSON, whatever its type
    DefaultsRead<bool> boolValue(const std::string& key) const;
    DefaultsRead<std::int64_t> integerValue(const std::string& key) const;
    DefaultsRead<double> realValue(const std::string& key) const;
    DefaultsRead<std::string> stringValue(const std::string& key) const;
    DefaultsRead<nlohmann::json> arrayValue(const std::string& key) const;
    DefaultsRead<nlohmann::json> objectValue(const std::string& key) const;
    std::vector<std::string> keys() const;
    const nlohmann::json& document() const { return document_; }

    // A read-only store refuses every mutation; the reason says why (another Kivo process owns the
    // settings, or the document is something that must not be replaced). Empty while writes are possible.
    virtual std::string readOnlyReason() const { return {}; }
    bool isReadOnly() const { return !readOnlyReason().empty(); }

    // Writing. A value JSON cannot hold (a non-finite real, a string that is not UTF-8) is refused;
    // setting null removes the key.
    DefaultsWriteResult setValue(const std::string& key, nlohmann::json value);
    DefaultsWriteResult setBool(const std::string& key, bool value) { return setValue(key, value); }
    DefaultsWriteResult setInteger(const std::string& key, std::int64_t value) {
        return setValue(key, value);
    }
    DefaultsWriteResult setReal(const std::string& key, double value) { return setValue(key, value); }
    DefaultsWriteResult setString(const std::string& key, const std::string& value) {
        return setValue(key, value);
    }
    DefaultsWriteResult remove(const std::string& key);
    DefaultsWriteResult removeAll();

    // Keeps the key's current value under a fresh key "<key>.unreadable.<n>" (n = 1, 2, ...: one more
    // than any copy already there), so an earlier copy is never overwritten. The original key is left
    // as it is. An absent key copies nothing (success with an empty copyKey).
    DefaultsWriteResult copyValueAside(const std::string& key);
    static std::string copyKeyPrefix(const std::string& key) { return key + ".unreadable."; }

    // Removes every kept-aside copy: each "<key>.unreadable.<n>" value and whatever unreadable documents
    // the back end moved aside at load. On failure the keys are left as they were; files already
    // removed stay removed.
    DefaultsWriteResult removeKeptAsideCopies();

protected:
    explicit DefaultsStore(nlohmann::json document = nlohmann::json::object());

    // Makes `document` the stored document; on failure it returns why and nothing was stored.
    virtual DefaultsWriteResult persist(const nlohmann::json& document) = 0;

    // Removes the documents this back end moved aside (none by default).
    virtual DefaultsWriteResult removeKeptAsideDocuments() { return DefaultsWriteResult::success(); }

    // For a back end that (re)loads its document.
    void replaceDocument(nlohmann::json document);

private:
    DefaultsWriteResult commit(nlohmann::json next, const char* operation, const std::string& key);

    nlohmann::json document_;
};

} // namespace kivo
