#pragma once

#include "domain/DayOfWeek.h"
#include "domain/Json.h"
#include "domain/Result.h"
#include "domain/Uuid.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace kivo {

// At this minute of the day, on these weekdays, set these displays to these levels. The minute is the one
// invariant: every way a trigger comes into being clamps it to 0-1439. Levels are kept as given; the
// brightness back end clamps what it sets.
class BrightnessTrigger {
public:
    static constexpr std::int64_t lastMinuteOfDay = 1439;

    BrightnessTrigger(Uuid id, std::string name, std::int64_t timeMinutes, DaySet daysOfWeek,
                      std::map<std::string, double> displayBrightness, bool isEnabled, bool appliesOnWake);

    // The two seeds, morning first (05:30, 19:30), each with a fresh identifier, all days, no levels and
    // switched off, so they change no display until the user sets them up.
    static std::vector<BrightnessTrigger> makeDefaults(const std::string& morningName,
                                                       const std::string& eveningName);

    const Uuid& id() const { return id_; }
    const std::string& name() const { return name_; }
    std::int64_t timeMinutes() const { return timeMinutes_; }
    const DaySet& daysOfWeek() const { return daysOfWeek_; }
    // Display name (as the back end reports it) to level, 0.0 darkest to 1.0 brightest.
    const std::map<std::string, double>& displayBrightness() const { return displayBrightness_; }
    bool isEnabled() const { return isEnabled_; }
    bool appliesOnWake() const { return appliesOnWake_; }

    int hour() const { return static_cast<int>(timeMinutes_ / 60); }
    int minute() const { return static_cast<int>(timeMinutes_ % 60); }
    std::string formattedTime() const; // "05:30"
    bool isEveryDay() const;

    BrightnessTrigger withName(std::string value) const;
    BrightnessTrigger withTimeMinutes(std::int64_t value) const;
    BrightnessTrigger withDaysOfWeek(DaySet value) const;
    BrightnessTrigger withDisplayBrightness(std::map<std::string, double> value) const;
    BrightnessTrigger withIsEnabled(bool value) const;
    BrightnessTrigger withAppliesOnWake(bool value) const;

    // Encoding can fail: a level that is not a finite number (or text that is not UTF-8) has no JSON
    // form, and writing a null in its place would read back as a broken trigger list.
    Result<Json::Value> toJson() const;
    static Result<BrightnessTrigger> fromJson(const Json::Value& v);
    // The stored array: one element that does not encode or decode fails the whole list.
    static Result<Json::Value> encodeList(const std::vector<BrightnessTrigger>& triggers);
    static Result<std::vector<BrightnessTrigger>> decodeList(const Json::Value& v);

    // All seven fields; names by canonical equivalence, levels by floating-point equality (so a level
    // that is not a number is equal to nothing).
    friend bool operator==(const BrightnessTrigger& a, const BrightnessTrigger& b);

private:
    Uuid id_;
    std::string name_;
    std::int64_t timeMinutes_;
    DaySet daysOfWeek_;
    std::map<std::string, double> displayBrightness_;
    bool isEnabled_;
    bool appliesOnWake_;
};

} // namespace kivo
