#pragma once

#include "app/more/LinkAddresses.h"
#include "domain/LanguagePreference.h"

#include <QUrl>

#include <optional>

namespace kivo {

// The pages the More page links to, chosen by interface language when the user confirms opening them.
// A link never leads to a page that does not exist: without an address its row is left out.
namespace MoreLinks {

// The Japanese interface's form, every other language's form; none when the build has no form.
std::optional<QUrl> feedbackURL(const LinkAddresses& addresses, LanguagePreference language);
// The site's privacy page in the language; without a site the statement installed with Kivo, in the
// language when it has that translation; none when neither exists.
std::optional<QUrl> privacyPolicyURL(const LinkAddresses& addresses, LanguagePreference language);

} // namespace MoreLinks
} // namespace kivo
