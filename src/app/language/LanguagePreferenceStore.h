#pragma once

#include "domain/LanguagePreference.h"
#include "settings/DefaultsStore.h"

#include <optional>

namespace kivo {

// The user's chosen interface language in the defaults database, kept as its raw name.
class LanguagePreferenceStore {
public:
    static constexpr const char* key = "kivo.languagePreference";

    explicit LanguagePreferenceStore(DefaultsStore& defaults) : defaults_(&defaults) {}

    // None when nothing usable is stored: absent, not a string, or not one of the five raw names.
    std::optional<LanguagePreference> load() const;
    // Replaces what was stored; returns whether it landed. A failed write changes nothing and is only
    // logged: the language in use stays the chosen one (LanguageController saves it again later).
    bool save(LanguagePreference language) const;

    DefaultsStore& defaults() const { return *defaults_; }

private:
    DefaultsStore* defaults_;
};

} // namespace kivo
