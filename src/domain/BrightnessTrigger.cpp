#include "domain/BrightnessTrigger.h"

#include "domain/DayOfWeekGroups.h"
#include "domain/Text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

namespace kivo {

namespace {

std::int64_t clampedMinute(std::int64_t minutes) {
    return std::clamp<std::int64_t>(minutes, 0, BrightnessTrigger::lastMinuteOfDay);
}

Result<std::map<std::string, double>> decodeLevels(const Json::Value& v) {
    using Levels = std::map<std::string, double>;
    if (!v.is_object()) {
        return Result<Levels>::failure("expected an object");
    }
    Levels levels;
    for (const auto& [display, level] : v.items()) {
        Result<double> decoded = Json::toDouble(level);
        if (!decoded.ok()) {
            return Result<Levels>::failure(display + ": " + decoded.error());
        }
        levels.emplace(display, decoded.value());
    }
    return Result<Levels>::success(std::move(levels));
}

// Every display of `a` has an equal level under the same name (by canonical equivalence) in `b`.
bool levelsFoundIn(const std::map<std::string, double>& a, const std::map<std::string, double>& b) {
    for (const auto& [display, level] : a) {
        auto other = b.find(display);
        if (other == b.end()) {
            // A named capture: clang before 16 cannot capture a structured binding.
            other = std::find_if(b.begin(), b.end(), [&name = display](const auto& entry) {
                return Text::canonicallyEqual(entry.first, name);
            });
        }
        if (other == b.end() || !(other->second == level)) {
            return false;
        }
    }
    return true;
}

// Same display names with equal levels. Both ways round: a map may hold two spellings of one name (a
// hand-edited document), and one of them must not hide a display that only the other map has.
bool sameLevels(const std::map<std::string, double>& a, const std::map<std::string, double>& b) {
    return a.size() == b.size() && levelsFoundIn(a, b) && levelsFoundIn(b, a);
}

} // namespace

BrightnessTrigger::BrightnessTrigger(Uuid id, std::string name, std::int64_t timeMinutes, DaySet daysOfWeek,
                                     std::map<std::string, double> displayBrightness, bool isEnabled,
                                     bool appliesOnWake)
    : id_(id), name_(std::move(name)), timeMinutes_(clampedMinute(timeMinutes)),
      daysOfWeek_(std::move(daysOfWeek)), displayBrightness_(std::move(displayBrightness)),
      isEnabled_(isEnabled), appliesOnWake_(appliesOnWake) {}

std::vector<BrightnessTrigger> BrightnessTrigger::makeDefaults(const std::string& morningName,
                                                               const std::string& eveningName) {
    std::vector<BrightnessTrigger> seeds;
    seeds.emplace_back(Uuid::random(), morningName, 330, DayOfWeekGroups::allDays(),
                       std::map<std::string, double>{}, false, false);
    seeds.emplace_back(Uuid::random(), eveningName, 1170, DayOfWeekGroups::allDays(),
                       std::map<std::string, double>{}, false, false);
    return seeds;
}

std::string BrightnessTrigger::formattedTime() const {
    char text[8];
    std::snprintf(text, sizeof text, "%02d:%02d", hour(), minute());
    return text;
}

bool BrightnessTrigger::isEveryDay() const {
    return daysOfWeek_ == DayOfWeekGroups::allDays();
}

BrightnessTrigger BrightnessTrigger::withName(std::string value) const {
    BrightnessTrigger t = *this;
    t.name_ = std::move(value);
    return t;
}

BrightnessTrigger BrightnessTrigger::withTimeMinutes(std::int64_t value) const {
    BrightnessTrigger t = *this;
    t.timeMinutes_ = clampedMinute(value);
    return t;
}

BrightnessTrigger BrightnessTrigger::withDaysOfWeek(DaySet value) const {
    BrightnessTrigger t = *this;
    t.daysOfWeek_ = std::move(value);
    return t;
}

BrightnessTrigger BrightnessTrigger::withDisplayBrightness(std::map<std::string, double> value) const {
    BrightnessTrigger t = *this;
    t.displayBrightness_ = std::move(value);
    return t;
}

BrightnessTrigger BrightnessTrigger::withIsEnabled(bool value) const {
    BrightnessTrigger t = *this;
    t.isEnabled_ = value;
    return t;
}

BrightnessTrigger BrightnessTrigger::withAppliesOnWake(bool value) const {
    BrightnessTrigger t = *this;
    t.appliesOnWake_ = value;
    return t;
}

Result<Json::Value> BrightnessTrigger::toJson() const {
    if (!Text::isValidUtf8(name_)) {
        return Result<Json::Value>::failure("name: not UTF-8");
    }
    Json::Value levels = Json::Value::object();
    for (const auto& [display, level] : displayBrightness_) {
        if (!Text::isValidUtf8(display)) {
            return Result<Json::Value>::failure("displayBrightness: a display name is not UTF-8");
        }
        if (!std::isfinite(level)) {
            return Result<Json::Value>::failure("displayBrightness." + display + ": not a finite number");
        }
        levels[display] = level;
    }
    Json::Value j = Json::Value::object();
    j["id"] = Json::encode(id_);
    j["name"] = name_;
    j["timeMinutes"] = timeMinutes_;
    j["daysOfWeek"] = Json::encode(daysOfWeek_);
    j["displayBrightness"] = std::move(levels);
    j["isEnabled"] = isEnabled_;
    j["appliesOnWake"] = appliesOnWake_;
    return Result<Json::Value>::success(std::move(j));
}

Result<BrightnessTrigger> BrightnessTrigger::fromJson(const Json::Value& v) {
    Json::ObjectReader r(v);
    const Uuid id = r.required<Uuid>("id");
    std::string name = r.required<std::string>("name");
    const std::int64_t timeMinutes = r.required<std::int64_t>("timeMinutes");
    DaySet days = r.required<DaySet>("daysOfWeek");
    const bool isEnabled = r.required<bool>("isEnabled");
    const bool appliesOnWake = r.optional<bool>("appliesOnWake").value_or(false);
    if (!r.ok()) {
        return Result<BrightnessTrigger>::failure(r.error());
    }
    // The reader knows no map type; read the levels by hand, with the same strictness.
    const auto levelsField = v.find("displayBrightness");
    if (levelsField == v.end() || levelsField->is_null()) {
        return Result<BrightnessTrigger>::failure("displayBrightness: missing");
    }
    Result<std::map<std::string, double>> levels = decodeLevels(*levelsField);
    if (!levels.ok()) {
        return Result<BrightnessTrigger>::failure("displayBrightness: " + levels.error());
    }
    return Result<BrightnessTrigger>::success(BrightnessTrigger(id, std::move(name), timeMinutes,
                                                                std::move(days), std::move(levels.value()),
                                                                isEnabled, appliesOnWake));
}

Result<Json::Value> BrightnessTrigger::encodeList(const std::vector<BrightnessTrigger>& triggers) {
    Json::Value list = Json::Value::array();
    for (std::size_t i = 0; i < triggers.size(); ++i) {
        Result<Json::Value> element = triggers[i].toJson();
        if (!element.ok()) {
            return Result<Json::Value>::failure("[" + std::to_string(i) + "]: " + element.error());
        }
        list.push_back(std::move(element.value()));
    }
    return Result<Json::Value>::success(std::move(list));
}

Result<std::vector<BrightnessTrigger>> BrightnessTrigger::decodeList(const Json::Value& v) {
    return Json::decodeList<BrightnessTrigger>(v);
}

bool operator==(const BrightnessTrigger& a, const BrightnessTrigger& b) {
    return a.id_ == b.id_ && Text::canonicallyEqual(a.name_, b.name_) && a.timeMinutes_ == b.timeMinutes_ &&
           a.daysOfWeek_ == b.daysOfWeek_ && sameLevels(a.displayBrightness_, b.displayBrightness_) &&
           a.isEnabled_ == b.isEnabled_ && a.appliesOnWake_ == b.appliesOnWake_;
}

} // namespace kivo
