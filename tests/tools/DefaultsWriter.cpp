// A separate process that writes the defaults database, for the tests that kill writers or run two at
// once. Modes:
//   loop DIR          writes growing rule groups, triggers and backoff records until killed; prints the
//                     sequence number of each write that returned success, one a line
//   run DIR NAME MS   sets NAME to 0, 1, 2, ... for MS milliseconds, then prints
//                     "ok=<n> failed=<n> readonly=<0|1> errors=<distinct errors, '|'-separated>"
//   set DIR KEY       sets KEY to true once and prints "ok=<0|1> reason=<why the store is read-only>"
#include "settings/FileDefaultsStore.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <unistd.h>

using kivo::FileDefaultsStore;
using nlohmann::json;

namespace {

void report(const std::string& line) {
    const auto text = line + "\n";
    // Unbuffered, so what was printed is in the pipe even when the process is killed right after.
    [[maybe_unused]] const auto written = ::write(STDOUT_FILENO, text.data(), text.size());
}

json recordsFor(std::int64_t sequence) {
    json items = json::array();
    const auto kind = sequence % 3;
    const auto count = kind == 0 ? sequence % 60 + 1 : kind == 1 ? sequence % 8 + 2 : sequence % 20 + 1;
    for (std::int64_t i = 0; i < count; ++i) {
        if (kind == 0) {
            json rules = json::array();
            for (int r = 0; r < 6; ++r) {
                rules.push_back(
                    {{"pattern", "*site" + std::to_string(r) + ".example/*"}, {"isEnabled", true}});
            }
            items.push_back({{"name", "Group " + std::to_string(i)}, {"rules", rules}});
        } else if (kind == 1) {
            items.push_back({{"name", "Trigger " + std::to_string(i)}, {"timeMinutes", i * 7 % 1440}});
        } else {
            items.push_back({{"unlockCount", i}, {"lastUnlockDate", 1.7e9 + static_cast<double>(i)}});
        }
    }
    return {{"sequence", sequence}, {"items", items}};
}

constexpr const char* kKeys[] = {"blockRuleGroups", "brightnessTriggers", "backoffRecords"};

int loop(const QString& directory) {
    FileDefaultsStore store(directory);
    std::int64_t sequence = 0;
    for (const auto* key : kKeys) {
        if (const auto value = store.value(key)) {
            sequence = std::max(sequence, value->value("sequence", std::int64_t{0}));
        }
    }
    for (;;) {
        ++sequence;
        if (!store.setValue(kKeys[sequence % 3], recordsFor(sequence)).ok()) {
            return 1;
        }
        report(std::to_string(sequence));
    }
}

int run(const QString& directory, const std::string& name, int milliseconds) {
    FileDefaultsStore store(directory);
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    int ok = 0;
    int failed = 0;
    std::set<std::string> errors;
    for (std::int64_t i = 0; std::chrono::steady_clock::now() < end; ++i) {
        const auto result = store.setInteger(name, i);
        if (result.ok()) {
            ++ok;
        } else {
            ++failed;
            errors.insert(result.error);
        }
    }
    std::string joined;
    for (const auto& error : errors) {
        joined += (joined.empty() ? "" : "|") + error;
    }
    report("ok=" + std::to_string(ok) + " failed=" + std::to_string(failed) +
           " readonly=" + (store.isReadOnly() ? "1" : "0") + " errors=" + joined);
    return 0;
}

int set(const QString& directory, const std::string& key) {
    FileDefaultsStore store(directory);
    const bool ok = store.setBool(key, true).ok();
    report(std::string("ok=") + (ok ? "1" : "0") + " reason=" + store.readOnlyReason());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "loop" && argc == 3) {
        return loop(QString::fromLocal8Bit(argv[2]));
    }
    if (mode == "run" && argc == 5) {
        return run(QString::fromLocal8Bit(argv[2]), argv[3], std::atoi(argv[4]));
    }
    if (mode == "set" && argc == 4) {
        return set(QString::fromLocal8Bit(argv[2]), argv[3]);
    }
    std::fprintf(stderr, "usage: %s loop DIR | run DIR NAME MS | set DIR KEY\n", argv[0]);
    return 2;
}
