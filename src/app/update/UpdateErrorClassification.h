#pragma once

#include "app/errors/ReportedError.h"

namespace kivo {

// Two outcomes of the update framework are routine (logged at info level, never reported): codes 1001
// and 1206 of its own error domain.
namespace UpdateErrorClassification {

inline constexpr const char* kUpdateErrorDomain = "SUSparkleErrorDomain";

bool isExpected(const ReportedError& error);

} // namespace UpdateErrorClassification
} // namespace kivo
