#pragma once

#include "app/more/LinkAddresses.h"

#include <QString>
#include <QUrl>

#include <optional>

namespace kivo {

// The credit under the trigger sheet: the brightness library's repository, or its bare name when the
// build was given no address for it.
namespace BrightnessLibraryLink {

// The repository's address without its scheme, or the library's name.
QString title(const LinkAddresses& addresses);
// The repository's address; none when the build has none (the credit is then plain text).
std::optional<QUrl> url(const LinkAddresses& addresses);

} // namespace BrightnessLibraryLink
} // namespace kivo
