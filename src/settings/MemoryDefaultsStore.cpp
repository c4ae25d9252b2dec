#include "settings/MemoryDefaultsStore.h"

namespace kivo {

MemoryDefaultsStore::MemoryDefaultsStore(nlohmann::json document) : DefaultsStore(std::move(document)) {}

void MemoryDefaultsStore::plant(const std::string& key, nlohmann::json value) {
    auto next = document();
    next[key] = std::move(value);
    replaceDocument(std::move(next));
}

DefaultsWriteResult MemoryDefaultsStore::persist(const nlohmann::json&) {
    if (!writeFailure_.empty()) {
        return DefaultsWriteResult::failure(writeFailure_);
    }
    ++writeCount_;
    return DefaultsWriteResult::success();
}

} // namespace kivo
