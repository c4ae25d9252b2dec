#include "app/brightness/BrightnessTriggerEditPresenter.h"

#include "app/brightness/BrightnessController.h"
#include "app/brightness/BrightnessTriggerStore.h"
#include "app/rules/CharacterLimit.h"
#include "domain/DayOfWeekGroups.h"
#include "domain/Text.h"

#include <algorithm>

namespace kivo {

BrightnessTriggerEditPresenter::BrightnessTriggerEditPresenter(BrightnessTriggerStore& store,
                                                               BrightnessController& controller,
                                                               std::optional<BrightnessTrigger> trigger)
    : store_(&store), controller_(&controller), existing_(std::move(trigger)),
      selectedDays_(DayOfWeekGroups::weekdays()) {
    if (!existing_) {
        return;
    }
    name_ = existing_->name();
    timeMinutes_ = existing_->timeMinutes();
    isDaily_ = existing_->isEveryDay();
    if (!isDaily_) {
        selectedDays_ = existing_->daysOfWeek();
    }
    displayBrightness_ = existing_->displayBrightness();
    appliesOnWake_ = existing_->appliesOnWake();
}

BrightnessTriggerEditPresenter::~BrightnessTriggerEditPresenter() {
    endPreview();
}

void BrightnessTriggerEditPresenter::setName(std::string_view name) {
    name_ = CharacterLimit::truncated(name, nameLimit);
}

void BrightnessTriggerEditPresenter::setTimeMinutes(std::int64_t minutes) {
    timeMinutes_ = std::clamp<std::int64_t>(minutes, 0, BrightnessTrigger::lastMinuteOfDay);
}

std::vector<DisplayInfo> BrightnessTriggerEditPresenter::displays() const {
    if (!controller_) {
        return {};
    }
    auto displays = controller_->connectedDisplays();
    std::stable_sort(displays.begin(), displays.end(),
                     [](const DisplayInfo& a, const DisplayInfo& b) { return a.displayID > b.displayID; });
    return displays;
}

double BrightnessTriggerEditPresenter::level(const std::string& displayName) const {
    const auto it = displayBrightness_.find(displayName);
    return it == displayBrightness_.end() ? 1.0 : it->second;
}

void BrightnessTriggerEditPresenter::setLevel(const std::string& displayName, double level) {
    displayBrightness_[displayName] = std::clamp(level, 0.0, 1.0);
    if (controller_) {
        controller_->preview(displayBrightness_);
    }
}

void BrightnessTriggerEditPresenter::seedDisplayLevels() {
    if (!controller_) {
        return;
    }
    for (const auto& display : controller_->connectedDisplays()) {
        displayBrightness_.emplace(display.name, 1.0);
    }
}

bool BrightnessTriggerEditPresenter::canSave() const {
    // Line breaks count as content; spaces of every script (an input method's U+3000) and tabs do not.
    return !Text::trimmed(name_).empty();
}

bool BrightnessTriggerEditPresenter::save() {
    if (!canSave()) {
        return false;
    }
    const DaySet days = isDaily_ ? DayOfWeekGroups::allDays() : selectedDays_;
    if (store_) {
        if (existing_) {
            const std::string name = name_;
            const std::int64_t minutes = timeMinutes_;
            const auto levels = displayBrightness_;
            const bool onWake = appliesOnWake_;
            store_->updateTrigger(existing_->id(), [&](const BrightnessTrigger& live) {
                return live.withName(name)
                    .withTimeMinutes(minutes)
                    .withDaysOfWeek(days)
                    .withDisplayBrightness(levels)
                    .withAppliesOnWake(onWake);
            });
        } else {
            store_->addTrigger(BrightnessTrigger(Uuid::random(), name_, timeMinutes_, days,
                                                 displayBrightness_, true, appliesOnWake_));
        }
    }
    endPreview();
    return true;
}

void BrightnessTriggerEditPresenter::cancel() {
    endPreview();
}

void BrightnessTriggerEditPresenter::confirmDelete() {
    if (existing_ && store_) {
        store_->deleteTrigger(existing_->id());
    }
    endPreview();
}

void BrightnessTriggerEditPresenter::endPreview() {
    if (!controller_ || !controller_->isPreviewing()) {
        return;
    }
    controller_->setIsPreviewing(false);
    controller_->applyCurrentTrigger();
}

} // namespace kivo
