#include "app/rules/GroupSettingsPresenter.h"

#include "app/rules/BlockRuleStore.h"
#include "app/rules/CharacterLimit.h"
#include "domain/BlockRuleValidator.h"
#include "domain/Text.h"

#include <algorithm>

namespace kivo {

GroupSettingsPresenter::GroupSettingsPresenter(std::optional<BlockRuleGroup> group)
    : group_(std::move(group)) {
    if (!group_) {
        return;
    }
    name_ = group_->name;
    schedule_ = group_->schedule;
    unlockPolicy_ = group_->unlockPolicy;
    redirect_ = RedirectDraft(group_->redirectURL, group_->redirectURL.has_value(),
                              group_->appendsQueryParameters.value_or(true));
}

void GroupSettingsPresenter::setName(std::string_view name) {
    name_ = CharacterLimit::truncated(name, nameLimit);
    validationError_.reset();
}

bool GroupSettingsPresenter::canSave() const {
    return !Text::trimmed(name_).empty();
}

bool GroupSettingsPresenter::save(BlockRuleStore& store) {
    if (const auto error = BlockRuleValidator::validateGroupName(name_)) {
        validationError_ = BlockRuleValidator::errorDescription(*error);
        return false;
    }
    std::optional<Url> redirectURL;
    if (!redirect_.validate(redirectURL)) {
        return false;
    }
    const std::string trimmedName = Text::trimmed(name_);
    if (!group_) {
        store.addGroup(BlockRuleGroup{Uuid::random(),
                                      trimmedName,
                                      true,
                                      {},
                                      false,
                                      schedule_,
                                      unlockPolicy_,
                                      redirectURL,
                                      redirect_.appendsQueryParameters()});
        return true;
    }
    const auto& groups = store.groups();
    const auto live = std::find_if(groups.begin(), groups.end(),
                                   [&](const BlockRuleGroup& g) { return g.id == group_->id; });
    if (live != groups.end()) {
        store.replaceGroup(group_->id, live->withName(trimmedName)
                                           .withSchedule(schedule_)
                                           .withUnlockPolicy(unlockPolicy_)
                                           .withRedirectURL(redirectURL)
                                           .withAppendsQueryParameters(redirect_.appendsQueryParameters()));
    }
    return true;
}

void GroupSettingsPresenter::confirmDelete(BlockRuleStore& store) const {
    if (group_) {
        store.deleteGroup(*group_);
    }
}

} // namespace kivo
