#pragma once

#include <QString>
#include <QUrl>

#include <optional>

namespace kivo {

// The update an updater callback is about.
struct UpdateItem {
    QString displayVersionString;
    QString versionString;
    std::optional<QUrl> fileURL;

    friend bool operator==(const UpdateItem&, const UpdateItem&) = default;
};

} // namespace kivo
