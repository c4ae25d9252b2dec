#pragma once

#include "settings/DefaultsStore.h"

#include <string>

namespace kivo {

// A defaults database that lives only in memory. Tests use it to plant any document (also wrongly
// typed values) and to make writes fail on purpose.
class MemoryDefaultsStore : public DefaultsStore {
public:
    explicit MemoryDefaultsStore(nlohmann::json document = nlohmann::json::object());

    // Puts `value` under `key` as it stands, bypassing every check (a test planting a bad value).
    void plant(const std::string& key, nlohmann::json value);

    // While set, every mutation fails with this message (empty: writes succeed again).
    void setWriteFailure(std::string message) { writeFailure_ = std::move(message); }
    int writeCount() const { return writeCount_; }

protected:
    DefaultsWriteResult persist(const nlohmann::json& document) override;

private:
    std::string writeFailure_;
    int writeCount_ = 0;
};

} // namespace kivo
