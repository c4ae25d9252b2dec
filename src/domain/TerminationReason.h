#pragma once

#include "domain/Json.h"

#include <string_view>

namespace kivo {

// Why the application is asked to quit: the user (or an unrecognised cause), or the session ending.
enum class TerminationReason {
    userInitiated,
    logOut,
    restart,
    shutdown,
};

// The case name: "userInitiated", "logOut", "restart", "shutdown".
std::string_view toString(TerminationReason reason);

// {"logOut":{}} and so on.
Json::Value jsonEncode(TerminationReason reason);
Result<TerminationReason> jsonDecode(const Json::Value& v, TerminationReason*);

} // namespace kivo
