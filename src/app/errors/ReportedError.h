#pragma once

#include <QString>

namespace kivo {

// An error as the reporting layer sees it: where it comes from, its code and its readable description.
struct ReportedError {
    QString domain;
    qint64 code = 0;
    QString localizedDescription;

    friend bool operator==(const ReportedError&, const ReportedError&) = default;
};

} // namespace kivo
