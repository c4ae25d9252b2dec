#include "domain/TerminationReason.h"

#include <array>

namespace kivo {
namespace {

constexpr std::array<TerminationReason, 4> allReasons = {
    TerminationReason::userInitiated, TerminationReason::logOut, TerminationReason::restart,
    TerminationReason::shutdown};

} // namespace

std::string_view toString(TerminationReason reason) {
    switch (reason) {
    case TerminationReason::userInitiated:
        return "userInitiated";
    case TerminationReason::logOut:
        return "logOut";
    case TerminationReason::restart:
        return "restart";
    case TerminationReason::shutdown:
        return "shutdown";
    }
    return "userInitiated";
}

Json::Value jsonEncode(TerminationReason reason) {
    return Json::encodeCase(std::string(toString(reason)));
}

Result<TerminationReason> jsonDecode(const Json::Value& v, TerminationReason*) {
    Result<Json::Case> c = Json::decodeCase(v, {"userInitiated", "logOut", "restart", "shutdown"});
    if (!c.ok()) {
        return Result<TerminationReason>::failureOf(c);
    }
    for (const TerminationReason reason : allReasons) {
        if (toString(reason) == c.value().name) {
            return Result<TerminationReason>::success(reason);
        }
    }
    return Result<TerminationReason>::failure(Json::invalidNumberOfKeysMessage);
}

} // namespace kivo
