#pragma once

#include "brightness-library/DisplayInfo.h"
#include "domain/BrightnessTrigger.h"
#include "domain/DayOfWeek.h"

#include <QPointer>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kivo {

class BrightnessController;
class BrightnessTriggerStore;

// The working state of the sheet that adds a brightness trigger or edits one, with its live preview.
// A preview starts only when the user moves a slider, and it always ends: on save, cancel, delete and
// when the presenter goes away (the sheet closed by any other path), at most once.
class BrightnessTriggerEditPresenter {
public:
    static constexpr std::size_t nameLimit = 20;
    static constexpr std::int64_t defaultTimeMinutes = 8 * 60;

    BrightnessTriggerEditPresenter(BrightnessTriggerStore& store, BrightnessController& controller,
                                   std::optional<BrightnessTrigger> trigger);
    ~BrightnessTriggerEditPresenter();
    BrightnessTriggerEditPresenter(const BrightnessTriggerEditPresenter&) = delete;
    BrightnessTriggerEditPresenter& operator=(const BrightnessTriggerEditPresenter&) = delete;

    bool isEditing() const { return existing_.has_value(); }
    const std::optional<BrightnessTrigger>& existingTrigger() const { return existing_; }

    const std::string& name() const { return name_; }
    void setName(std::string_view name);
    std::int64_t timeMinutes() const { return timeMinutes_; }
    void setTimeMinutes(std::int64_t minutes);
    bool isDaily() const { return isDaily_; }
    void setDaily(bool daily) { isDaily_ = daily; }
    const DaySet& selectedDays() const { return selectedDays_; }
    void setSelectedDays(DaySet days) { selectedDays_ = std::move(days); }
    bool appliesOnWake() const { return appliesOnWake_; }
    void setAppliesOnWake(bool value) { appliesOnWake_ = value; }
    const std::map<std::string, double>& displayBrightness() const { return displayBrightness_; }

    // The connected displays, largest identifier first: one slider each.
    std::vector<DisplayInfo> displays() const;
    // Levels are keyed by display name, so displays sharing a name share one level; 1.0 without entry.
    double level(const std::string& displayName) const;
    // The user moved a slider: keep the level and preview the whole map.
    void setLevel(const std::string& displayName, double level);
    // When the sheet appears: every connected display without a level gets 1.0. Previews nothing.
    void seedDisplayLevels();

    // A name with something besides spaces (any Unicode space separator) and tabs.
    bool canSave() const;
    // Writes the trigger (an edit onto the trigger as the store holds it now; one deleted meanwhile
    // stays deleted) and ends the preview. False when the name is blank: nothing is written.
    bool save();
    void cancel();
    void confirmDelete();
    // Ends a running preview and lets the schedule's current trigger take the displays back.
    void endPreview();

private:
    QPointer<BrightnessTriggerStore> store_;
    QPointer<BrightnessController> controller_;
    std::optional<BrightnessTrigger> existing_;
    std::string name_;
    std::int64_t timeMinutes_ = defaultTimeMinutes;
    bool isDaily_ = true;
    DaySet selectedDays_;
    std::map<std::string, double> displayBrightness_;
    bool appliesOnWake_ = false;
};

} // namespace kivo
