#pragma once

#include "app/rules/RedirectDraft.h"
#include "domain/BlockRuleGroup.h"
#include "domain/BlockSchedule.h"
#include "domain/UnlockPolicy.h"

#include <optional>
#include <string>

namespace kivo {

class BlockRuleStore;

// The working state of the sheet that adds a rule group or edits one: name, schedule, unlock policy and
// redirect defaults, their validation, and what a save writes. The sheet's widgets only bind to it.
class GroupSettingsPresenter {
public:
    static constexpr std::size_t nameLimit = 20;
    static constexpr std::size_t redirectURLLimit = RedirectDraft::urlLimit;

    // `group` none: a new group.
    explicit GroupSettingsPresenter(std::optional<BlockRuleGroup> group);

    bool isEditing() const { return group_.has_value(); }
    // Only an existing group that is not the seeded default can be deleted.
    bool canDelete() const { return group_ && !group_->isDefault; }
    const std::optional<BlockRuleGroup>& group() const { return group_; }

    const std::string& name() const { return name_; }
    void setName(std::string_view name);
    const BlockSchedule& schedule() const { return schedule_; }
    void setSchedule(BlockSchedule schedule) { schedule_ = std::move(schedule); }
    const UnlockPolicy& unlockPolicy() const { return unlockPolicy_; }
    void setUnlockPolicy(UnlockPolicy policy) { unlockPolicy_ = std::move(policy); }
    const std::optional<std::string>& validationError() const { return validationError_; }

    const std::string& redirectURLString() const { return redirect_.urlString(); }
    void setRedirectURLString(std::string_view text) { redirect_.setURLString(text); }
    bool appendsQueryParameters() const { return redirect_.appendsQueryParameters(); }
    void setAppendsQueryParameters(bool value) { redirect_.setAppendsQueryParameters(value); }
    bool useCustomRedirect() const { return redirect_.isUsed(); }
    void setUseCustomRedirect(bool value) { redirect_.setUsed(value); }
    const std::optional<std::string>& redirectURLError() const { return redirect_.error(); }
    bool showRedirectSection() const { return redirect_.showSection(); }
    RedirectDraft& redirect() { return redirect_; }
    void setShowRedirectSection(bool value) { redirect_.setShowSection(value); }

    // The confirm button is enabled while the trimmed name holds something.
    bool canSave() const;
    // Validates and writes; false leaves the sheet open with a message under the failing field. An
    // existing group is updated as the store holds it now (its switch and rules stay as they are); one
    // deleted meanwhile is not brought back.
    bool save(BlockRuleStore& store);
    void confirmDelete(BlockRuleStore& store) const;

private:
    std::optional<BlockRuleGroup> group_;
    std::string name_;
    BlockSchedule schedule_;
    UnlockPolicy unlockPolicy_;
    std::optional<std::string> validationError_;
    RedirectDraft redirect_{std::nullopt, false, true};
};

} // namespace kivo
