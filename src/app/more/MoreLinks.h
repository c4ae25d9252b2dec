#pragma once

#include "domain/LanguagePreference.h"

#include <QUrl>

namespace kivo {

// The pages the More page links to, chosen by interface language when the user confirms opening them.
namespace MoreLinks {

QUrl feedbackURL(LanguagePreference language);
QUrl privacyPolicyURL(LanguagePreference language);

} // namespace MoreLinks
} // namespace kivo
