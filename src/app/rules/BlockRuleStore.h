#pragma once

#include "app/shell/SaveRetry.h"
#include "domain/BackoffRecord.h"
#include "domain/BlockRuleGroup.h"
#include "domain/Uuid.h"

#include <QObject>

#include <string>
#include <vector>

namespace kivo {

class Clock;
class DefaultsStore;
class TimerFactory;

// The single owner of the user's rule groups and of the per-group unlock counters. Both lists live in
// memory and are written to the defaults database after every change that the operations make; they are
// read back once, at construction, which writes nothing.
//
// A stored list that cannot be read is not lost: the store falls back (seed group, no records), and
// before its first save replaces the unreadable value it keeps a copy of it aside in the database.
//
// A list whose save failed stays unsaved (see SaveRetry) and is saved again with the next save of either
// list, by the retry timer, and at quit.
class BlockRuleStore : public QObject {
    Q_OBJECT
public:
    static constexpr const char* groupsKey = "blockRuleGroups";
    static constexpr const char* backoffRecordsKey = "backoffRecords";

    BlockRuleStore(DefaultsStore& defaults, std::string seedDefaultName, const Clock& clock,
                   QObject* parent = nullptr);

    const std::string& seedDefaultName() const { return seedDefaultName_; }

    const std::vector<BlockRuleGroup>& groups() const { return groups_; }
    // Always writes; announces only a list that differs from the current one.
    void setGroups(std::vector<BlockRuleGroup> groups);
    const std::vector<BackoffRecord>& backoffRecords() const { return backoffRecords_; }
    // Never writes; announces only a list that differs from the current one.
    void setBackoffRecords(std::vector<BackoffRecord> records);

    void saveGroups();
    void saveBackoffRecords();
    // Erasing all data: the unreadable stored lists are being removed, so a save must not keep them aside.
    void forgetUnreadableValues() {
        groupsProblem_.clear();
        backoffRecordsProblem_.clear();
    }

    // Retries an unsaved list every SaveRetry::kInterval on these timers.
    void setRetryTimers(TimerFactory& timers) { retry_.setTimerFactory(timers); }
    bool hasUnsavedChanges() const { return retry_.hasUnsavedChanges(); }
    // Saves whatever list is unsaved (the quit calls this).
    void saveIfUnsaved();

    // Lookups by id take the first match in list order; an id that matches nothing changes nothing.
    void addGroup(BlockRuleGroup group);
    // Refuses a group flagged as default, whatever else shares its id.
    void deleteGroup(const BlockRuleGroup& group);
    // Puts `group` in place of the first group with `id` (the editing sheets change one group at a time).
    void replaceGroup(const Uuid& id, BlockRuleGroup group);
    void toggleGroup(const Uuid& groupId);
    void disableGroup(const Uuid& groupId);
    // Moves the flag to the value asked for (a switch's request), so a repeated request cannot undo the
    // first one; a flag already there writes nothing.
    void setGroupEnabled(const Uuid& groupId, bool enabled);
    void setRuleEnabled(const Uuid& groupId, const Uuid& ruleId, bool enabled);
    // Gives the first default group `newName` while it still bears one of `seedNames` (the seed name in
    // every interface language); a name the user chose stays.
    void renameDefaultGroup(const std::vector<std::string>& seedNames, const std::string& newName);
    void deleteRule(const Uuid& groupId, const Uuid& ruleId);
    void toggleRule(const Uuid& groupId, const Uuid& ruleId);

    // The group's record, or a fresh one (count 0, no date) that is not added.
    BackoffRecord backoffRecord(const Uuid& groupId) const;
    // Counts one completed unlock, stamped now.
    void recordUnlock(const Uuid& groupId);
    // Puts an existing record back to count 0 and no date; without one nothing happens.
    void resetBackoffRecord(const Uuid& groupId);

signals:
    void groupsChanged();
    void backoffRecordsChanged();

private:
    // Stores the changed list, announces it and writes it, as one step.
    void commitGroups(std::vector<BlockRuleGroup> groups);
    void commitBackoffRecords(std::vector<BackoffRecord> records);
    std::vector<BlockRuleGroup>::iterator findGroup(const Uuid& groupId);
    // Writes `value` under `key`, first keeping an unreadable stored value aside (once).
    // Returns whether it landed.
    bool save(const char* key, const nlohmann::json& value, std::string& unreadableProblem);
    // Saves the lists asked for and any that is still unsaved, then tells the retry how it went.
    void saveLists(bool groups, bool backoffRecords);

    DefaultsStore& defaults_;
    std::string seedDefaultName_;
    const Clock& clock_;
    std::vector<BlockRuleGroup> groups_;
    std::vector<BackoffRecord> backoffRecords_;
    // Why the stored list could not be read; empty once it was read, or kept aside.
    std::string groupsProblem_;
    std::string backoffRecordsProblem_;
    bool groupsUnsaved_ = false;
    bool backoffRecordsUnsaved_ = false;
    SaveRetry retry_;
};

} // namespace kivo
