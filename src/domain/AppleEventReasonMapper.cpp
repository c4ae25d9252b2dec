#include "domain/AppleEventReasonMapper.h"

namespace kivo::AppleEventReasonMapper {

TerminationReason terminationReason(std::optional<std::uint32_t> code) {
    if (!code) {
        return TerminationReason::userInitiated;
    }
    switch (*code) {
    case logOutCode:
    case reallyLogOutCode:
        return TerminationReason::logOut;
    case restartCode:
    case showRestartDialogCode:
        return TerminationReason::restart;
    case shutDownCode:
    case showShutdownDialogCode:
        return TerminationReason::shutdown;
    default:
        return TerminationReason::userInitiated;
    }
}

} // namespace kivo::AppleEventReasonMapper
