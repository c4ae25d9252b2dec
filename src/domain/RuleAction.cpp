#include "domain/RuleAction.h"

namespace kivo {

std::string_view rawValue(RuleAction action) {
    return action == RuleAction::allow ? "allow" : "block";
}

std::optional<RuleAction> ruleActionFromRawValue(std::string_view text) {
    if (text == "block") {
        return RuleAction::block;
    }
    if (text == "allow") {
        return RuleAction::allow;
    }
    return std::nullopt;
}

Json::Value jsonEncode(RuleAction action) {
    return Json::Value(std::string(rawValue(action)));
}

Result<RuleAction> jsonDecode(const Json::Value& v, RuleAction*) {
    if (v.is_string()) {
        if (auto action = ruleActionFromRawValue(v.get_ref<const std::string&>())) {
            return Result<RuleAction>::success(*action);
        }
    }
    return Result<RuleAction>::failure("expected \"block\" or \"allow\"");
}

} // namespace kivo
