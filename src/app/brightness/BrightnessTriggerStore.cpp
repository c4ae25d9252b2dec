#include "app/brightness/BrightnessTriggerStore.h"

#include "core/Log.h"

#include <algorithm>

namespace kivo {

namespace {

bool storedValueDecodes(const DefaultsStore& defaults) {
    const auto stored = defaults.value(BrightnessTriggerStore::kDefaultsKey);
    return !stored || BrightnessTrigger::decodeList(*stored).ok();
}

} // namespace

BrightnessTriggerStore::BrightnessTriggerStore(DefaultsStore& defaults, std::string seedSunriseName,
                                               std::string seedSunsetName, QObject* parent)
    : BrightnessTriggerStore(defaults, seedSunriseName, seedSunsetName,
                             loadTriggers(defaults, seedSunriseName, seedSunsetName), parent) {}

BrightnessTriggerStore::BrightnessTriggerStore(DefaultsStore& defaults, std::string seedSunriseName,
                                               std::string seedSunsetName,
                                               std::vector<BrightnessTrigger> initial, QObject* parent)
    : QObject(parent), defaults_(defaults), seedSunriseName_(std::move(seedSunriseName)),
      seedSunsetName_(std::move(seedSunsetName)), triggers_(std::move(initial)),
      storedValueUnreadable_(!storedValueDecodes(defaults)),
      retry_("brightness triggers", defaults, [this] { saveIfUnsaved(); }) {}

std::vector<BrightnessTrigger> BrightnessTriggerStore::loadTriggers(const DefaultsStore& defaults,
                                                                    const std::string& sunriseName,
                                                                    const std::string& sunsetName) {
    const auto stored = defaults.value(kDefaultsKey);
    if (!stored) {
        return BrightnessTrigger::makeDefaults(sunriseName, sunsetName);
    }
    auto decoded = BrightnessTrigger::decodeList(*stored);
    if (!decoded.ok()) {
        qCWarning(lcBrightness, "Stored brightness triggers do not decode (%s); using the seeds",
                  decoded.error().c_str());
        return BrightnessTrigger::makeDefaults(sunriseName, sunsetName);
    }
    return std::move(decoded.value());
}

void BrightnessTriggerStore::save() {
    retry_.recordOutcome(write());
}

void BrightnessTriggerStore::saveIfUnsaved() {
    if (hasUnsavedChanges()) {
        save();
    }
}

bool BrightnessTriggerStore::write() {
    const auto encoded = BrightnessTrigger::encodeList(triggers_);
    if (!encoded.ok()) {
        qCWarning(lcBrightness, "Brightness triggers not saved: %s", encoded.error().c_str());
        return false;
    }
    if (storedValueUnreadable_) {
        const auto copied = defaults_.copyValueAside(kDefaultsKey);
        if (!copied.ok()) {
            // Rather keep the unreadable original than lose it for good.
            qCWarning(lcBrightness, "Brightness triggers not saved: cannot keep the unreadable value (%s)",
                      copied.error.c_str());
            return false;
        }
        storedValueUnreadable_ = false;
    }
    const auto written = defaults_.setValue(kDefaultsKey, encoded.value());
    if (!written.ok()) {
        qCWarning(lcBrightness, "Brightness triggers not saved: %s", written.error.c_str());
    }
    return written.ok();
}

void BrightnessTriggerStore::setTriggers(std::vector<BrightnessTrigger> triggers) {
    const bool changed = triggers != triggers_;
    triggers_ = std::move(triggers);
    save();
    if (changed) {
        emit triggersChanged();
    }
}

void BrightnessTriggerStore::addTrigger(const BrightnessTrigger& trigger) {
    triggers_.push_back(trigger);
    save();
    emit triggersChanged();
}

void BrightnessTriggerStore::replaceAt(std::size_t index, BrightnessTrigger trigger) {
    triggers_[index] = std::move(trigger);
    save();
    emit triggersChanged();
}

void BrightnessTriggerStore::updateTrigger(const BrightnessTrigger& trigger) {
    updateTrigger(trigger.id(), [&](const BrightnessTrigger&) { return trigger; });
}

void BrightnessTriggerStore::updateTrigger(
    const Uuid& id, const std::function<BrightnessTrigger(const BrightnessTrigger&)>& edit) {
    const auto it = std::find_if(triggers_.begin(), triggers_.end(),
                                 [&](const BrightnessTrigger& t) { return t.id() == id; });
    if (it == triggers_.end()) {
        return;
    }
    BrightnessTrigger edited = edit(*it);
    if (edited.id() != id) {
        edited = BrightnessTrigger(id, edited.name(), edited.timeMinutes(), edited.daysOfWeek(),
                                   edited.displayBrightness(), edited.isEnabled(), edited.appliesOnWake());
    }
    replaceAt(static_cast<std::size_t>(it - triggers_.begin()), std::move(edited));
}

void BrightnessTriggerStore::deleteTrigger(const Uuid& id) {
    std::erase_if(triggers_, [&](const BrightnessTrigger& t) { return t.id() == id; });
    save();
    emit triggersChanged();
}

void BrightnessTriggerStore::toggleTrigger(const Uuid& id) {
    updateTrigger(id, [](const BrightnessTrigger& t) { return t.withIsEnabled(!t.isEnabled()); });
}

void BrightnessTriggerStore::renameSeedTriggers(const std::set<std::string>& knownSunriseNames,
                                                const std::string& sunriseName,
                                                const std::set<std::string>& knownSunsetNames,
                                                const std::string& sunsetName) {
    const std::size_t count = triggers_.size();
    for (std::size_t i = 0; i < count && i < triggers_.size(); ++i) {
        const std::string& name = triggers_[i].name();
        if (knownSunriseNames.count(name) && name != sunriseName) {
            replaceAt(i, triggers_[i].withName(sunriseName));
        } else if (knownSunsetNames.count(name) && name != sunsetName) {
            replaceAt(i, triggers_[i].withName(sunsetName));
        }
    }
}

} // namespace kivo
