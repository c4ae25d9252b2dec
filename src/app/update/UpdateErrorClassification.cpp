#include "app/update/UpdateErrorClassification.h"

namespace kivo::UpdateErrorClassification {

bool isExpected(const ReportedError& error) {
    return error.domain == QLatin1String(kUpdateErrorDomain) && (error.code == 1001 || error.code == 1206);
}

} // namespace kivo::UpdateErrorClassification
