#include "app/language/LanguagePreferenceStore.h"

#include "core/Log.h"

#include <string>

namespace kivo {

std::optional<LanguagePreference> LanguagePreferenceStore::load() const {
    const DefaultsRead<std::string> stored = defaults_->stringValue(key);
    if (!stored.isPresent()) {
        return std::nullopt;
    }
    return LanguagePreference::fromRawValue(*stored.value);
}

bool LanguagePreferenceStore::save(LanguagePreference language) const {
    const DefaultsWriteResult written = defaults_->setString(key, std::string(language.rawValue()));
    if (!written.ok()) {
        qCWarning(lcSettings, "Saving the interface language failed: %s", written.error.c_str());
    }
    return written.ok();
}

} // namespace kivo
