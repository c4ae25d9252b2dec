#pragma once

#include "app/shell/SaveRetry.h"
#include "domain/BrightnessTrigger.h"
#include "domain/Uuid.h"
#include "settings/DefaultsStore.h"

#include <QObject>

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace kivo {

class TimerFactory;

// The user's brightness triggers, in the order they were added, kept under "brightnessTriggers" in the
// defaults database. Every change is saved before the operation returns and then announced once with
// triggersChanged. Operations on one trigger find it by identifier in the current list and touch nothing
// else, so an editor working from an older copy cannot undo changes made in the meantime. A save that
// failed leaves the store unsaved (see SaveRetry) until a later save lands.
class BrightnessTriggerStore : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kDefaultsKey = "brightnessTriggers";

    // Loads the stored list, or the two seeds named with the given names.
    BrightnessTriggerStore(DefaultsStore& defaults, std::string seedSunriseName, std::string seedSunsetName,
                           QObject* parent = nullptr);
    BrightnessTriggerStore(DefaultsStore& defaults, std::string seedSunriseName, std::string seedSunsetName,
                           std::vector<BrightnessTrigger> initial, QObject* parent = nullptr);

    // The stored list; the seeds when nothing is stored or the stored value does not decode. Never writes.
    static std::vector<BrightnessTrigger> loadTriggers(const DefaultsStore& defaults,
                                                       const std::string& sunriseName,
                                                       const std::string& sunsetName);

    const std::vector<BrightnessTrigger>& triggers() const { return triggers_; }
    // Stores and saves the list; announces it only when it differs from the current one.
    void setTriggers(std::vector<BrightnessTrigger> triggers);

    const std::string& seedSunriseName() const { return seedSunriseName_; }
    const std::string& seedSunsetName() const { return seedSunsetName_; }

    void addTrigger(const BrightnessTrigger& trigger);
    // Replaces the trigger with the same identifier; nothing happens when there is none.
    void updateTrigger(const BrightnessTrigger& trigger);
    // Replaces the trigger with that identifier by `edit` applied to it as it is now; the edit's result
    // keeps the identifier. Nothing happens when there is none.
    void updateTrigger(const Uuid& id,
                       const std::function<BrightnessTrigger(const BrightnessTrigger&)>& edit);
    // Removes every trigger with that identifier; saves (and announces) even when there was none.
    void deleteTrigger(const Uuid& id);
    void toggleTrigger(const Uuid& id);
    // Seeds still named with a seed name of any language take the new language's name; each rename is
    // saved and announced on its own.
    void renameSeedTriggers(const std::set<std::string>& knownSunriseNames, const std::string& sunriseName,
                            const std::set<std::string>& knownSunsetNames, const std::string& sunsetName);

    void save();
    // Erasing all data: the unreadable stored list is being removed, so a save must not keep it aside.
    void forgetUnreadableValue() { storedValueUnreadable_ = false; }

    // Retries an unsaved list every SaveRetry::kInterval on these timers.
    void setRetryTimers(TimerFactory& timers) { retry_.setTimerFactory(timers); }
    bool hasUnsavedChanges() const { return retry_.hasUnsavedChanges(); }
    // Saves the list when it is unsaved (the quit calls this).
    void saveIfUnsaved();

signals:
    void triggersChanged();

private:
    void replaceAt(std::size_t index, BrightnessTrigger trigger);
    bool write();

    DefaultsStore& defaults_;
    std::string seedSunriseName_;
    std::string seedSunsetName_;
    std::vector<BrightnessTrigger> triggers_;
    // A stored value that did not decode is copied aside before the first save replaces it.
    bool storedValueUnreadable_ = false;
    SaveRetry retry_;
};

} // namespace kivo
