#include "app/rules/BlockRuleStore.h"

#include "core/Clock.h"
#include "core/Log.h"
#include "domain/Json.h"
#include "domain/Text.h"
#include "settings/DefaultsStore.h"

#include <algorithm>
#include <utility>

namespace kivo {
namespace {

// Reads the list under `key` into `out`; false when it is absent or unreadable (a value of another type, or
// an element that does not decode), and then `problem` says why it is unreadable.
template <class T>
bool loadList(const DefaultsStore& defaults, const char* key, std::vector<T>& out, std::string& problem) {
    const auto value = defaults.value(key);
    if (!value || value->is_null()) {
        return false;
    }
    Result<std::vector<T>> decoded = Json::decodeList<T>(*value);
    if (!decoded.ok()) {
        problem = decoded.error();
        return false;
    }
    out = std::move(decoded.value());
    return true;
}

} // namespace

BlockRuleStore::BlockRuleStore(DefaultsStore& defaults, std::string seedDefaultName, const Clock& clock,
                               QObject* parent)
    : QObject(parent), defaults_(defaults), seedDefaultName_(std::move(seedDefaultName)), clock_(clock),
      retry_("rule groups", defaults, [this] { saveIfUnsaved(); }) {
    // Falling back writes nothing: an unreadable value stays where it is until a save keeps it aside.
    if (!loadList(defaults_, groupsKey, groups_, groupsProblem_)) {
        groups_ = BlockRuleGroup::makeDefault(seedDefaultName_);
    }
    // Without a readable list there are simply no records yet.
    loadList(defaults_, backoffRecordsKey, backoffRecords_, backoffRecordsProblem_);
}

void BlockRuleStore::setGroups(std::vector<BlockRuleGroup> groups) {
    const bool changed = groups != groups_;
    groups_ = std::move(groups);
    if (changed) {
        emit groupsChanged();
    }
    saveGroups();
}

void BlockRuleStore::setBackoffRecords(std::vector<BackoffRecord> records) {
    if (records == backoffRecords_) {
        return;
    }
    backoffRecords_ = std::move(records);
    emit backoffRecordsChanged();
}

void BlockRuleStore::saveGroups() {
    saveLists(true, false);
}

void BlockRuleStore::saveBackoffRecords() {
    saveLists(false, true);
}

void BlockRuleStore::saveIfUnsaved() {
    if (hasUnsavedChanges()) {
        saveLists(false, false);
    }
}

void BlockRuleStore::saveLists(bool groups, bool backoffRecords) {
    if (groups || groupsUnsaved_) {
        groupsUnsaved_ = !save(groupsKey, Json::encodeList(groups_), groupsProblem_);
    }
    if (backoffRecords || backoffRecordsUnsaved_) {
        backoffRecordsUnsaved_ =
            !save(backoffRecordsKey, Json::encodeList(backoffRecords_), backoffRecordsProblem_);
    }
    retry_.recordOutcome(!groupsUnsaved_ && !backoffRecordsUnsaved_);
}

bool BlockRuleStore::save(const char* key, const nlohmann::json& value, std::string& unreadableProblem) {
    if (!unreadableProblem.empty()) {
        // The user's unreadable list may be repairable by hand; never let a save destroy it.
        const DefaultsWriteResult copied = defaults_.copyValueAside(key);
        if (!copied.ok()) {
            qCWarning(lcSettings, "Could not keep the unreadable %s aside, so it was not replaced: %s", key,
                      copied.error.c_str());
            return false;
        }
        if (!copied.copyKey.empty()) {
            qCWarning(lcSettings, "Stored %s could not be read (%s); kept it as %s", key,
                      unreadableProblem.c_str(), copied.copyKey.c_str());
        }
        unreadableProblem.clear();
    }
    const DefaultsWriteResult written = defaults_.setValue(key, value);
    if (!written.ok()) {
        qCWarning(lcSettings, "Could not save %s: %s", key, written.error.c_str());
    }
    return written.ok();
}

void BlockRuleStore::commitGroups(std::vector<BlockRuleGroup> groups) {
    groups_ = std::move(groups);
    emit groupsChanged();
    saveGroups();
}

void BlockRuleStore::commitBackoffRecords(std::vector<BackoffRecord> records) {
    backoffRecords_ = std::move(records);
    emit backoffRecordsChanged();
    saveBackoffRecords();
}

std::vector<BlockRuleGroup>::iterator BlockRuleStore::findGroup(const Uuid& groupId) {
    return std::find_if(groups_.begin(), groups_.end(),
                        [&](const BlockRuleGroup& g) { return g.id == groupId; });
}

void BlockRuleStore::addGroup(BlockRuleGroup group) {
    auto groups = groups_;
    groups.push_back(std::move(group));
    commitGroups(std::move(groups));
}

void BlockRuleStore::deleteGroup(const BlockRuleGroup& group) {
    if (group.isDefault) {
        return;
    }
    auto groups = groups_;
    std::erase_if(groups, [&](const BlockRuleGroup& g) { return g.id == group.id; });
    commitGroups(std::move(groups));
}

void BlockRuleStore::replaceGroup(const Uuid& id, BlockRuleGroup group) {
    const auto it = findGroup(id);
    if (it == groups_.end()) {
        return;
    }
    auto groups = groups_;
    groups[static_cast<std::size_t>(it - groups_.begin())] = std::move(group);
    commitGroups(std::move(groups));
}

void BlockRuleStore::toggleGroup(const Uuid& groupId) {
    const auto it = findGroup(groupId);
    if (it == groups_.end()) {
        return;
    }
    replaceGroup(groupId, it->withIsEnabled(!it->isEnabled));
}

void BlockRuleStore::disableGroup(const Uuid& groupId) {
    const auto it = findGroup(groupId);
    if (it == groups_.end()) {
        return;
    }
    replaceGroup(groupId, it->withIsEnabled(false));
}

void BlockRuleStore::setGroupEnabled(const Uuid& groupId, bool enabled) {
    const auto it = findGroup(groupId);
    if (it == groups_.end() || it->isEnabled == enabled) {
        return;
    }
    replaceGroup(groupId, it->withIsEnabled(enabled));
}

void BlockRuleStore::setRuleEnabled(const Uuid& groupId, const Uuid& ruleId, bool enabled) {
    const auto it = findGroup(groupId);
    if (it == groups_.end()) {
        return;
    }
    auto rules = it->rules;
    const auto rule =
        std::find_if(rules.begin(), rules.end(), [&](const BlockRule& r) { return r.id == ruleId; });
    if (rule == rules.end() || rule->isEnabled == enabled) {
        return;
    }
    *rule = rule->withIsEnabled(enabled);
    replaceGroup(groupId, it->withRules(std::move(rules)));
}

void BlockRuleStore::renameDefaultGroup(const std::vector<std::string>& seedNames,
                                        const std::string& newName) {
    const auto it =
        std::find_if(groups_.begin(), groups_.end(), [](const BlockRuleGroup& g) { return g.isDefault; });
    if (it == groups_.end()) {
        return;
    }
    const bool bearsSeedName = std::any_of(seedNames.begin(), seedNames.end(), [&](const std::string& seed) {
        return Text::canonicallyEqual(it->name, seed);
    });
    if (!bearsSeedName || Text::canonicallyEqual(it->name, newName)) {
        return;
    }
    auto groups = groups_;
    auto& target = groups[static_cast<std::size_t>(it - groups_.begin())];
    target = target.withName(newName);
    commitGroups(std::move(groups));
}

void BlockRuleStore::deleteRule(const Uuid& groupId, const Uuid& ruleId) {
    const auto it = findGroup(groupId);
    if (it == groups_.end()) {
        return;
    }
    auto rules = it->rules;
    std::erase_if(rules, [&](const BlockRule& r) { return r.id == ruleId; });
    replaceGroup(groupId, it->withRules(std::move(rules)));
}

void BlockRuleStore::toggleRule(const Uuid& groupId, const Uuid& ruleId) {
    const auto it = findGroup(groupId);
    if (it == groups_.end()) {
        return;
    }
    const auto rule =
        std::find_if(it->rules.begin(), it->rules.end(), [&](const BlockRule& r) { return r.id == ruleId; });
    if (rule != it->rules.end()) {
        setRuleEnabled(groupId, ruleId, !rule->isEnabled);
    }
}

BackoffRecord BlockRuleStore::backoffRecord(const Uuid& groupId) const {
    const auto it = std::find_if(backoffRecords_.begin(), backoffRecords_.end(),
                                 [&](const BackoffRecord& r) { return r.groupId == groupId; });
    if (it != backoffRecords_.end()) {
        return *it;
    }
    return BackoffRecord::fresh(groupId);
}

void BlockRuleStore::recordUnlock(const Uuid& groupId) {
    auto records = backoffRecords_;
    const auto it = std::find_if(records.begin(), records.end(),
                                 [&](const BackoffRecord& r) { return r.groupId == groupId; });
    const Date now = clock_.now();
    if (it != records.end()) {
        *it = it->recordingUnlock(now);
    } else {
        records.push_back(BackoffRecord::fresh(groupId).recordingUnlock(now));
    }
    commitBackoffRecords(std::move(records));
}

void BlockRuleStore::resetBackoffRecord(const Uuid& groupId) {
    auto records = backoffRecords_;
    const auto it = std::find_if(records.begin(), records.end(),
                                 [&](const BackoffRecord& r) { return r.groupId == groupId; });
    if (it == records.end()) {
        return;
    }
    *it = it->reset();
    commitBackoffRecords(std::move(records));
}

} // namespace kivo
