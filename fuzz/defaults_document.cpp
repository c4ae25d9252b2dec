// The defaults document as found on disk: any bytes either load as a document that can be written and
// loaded again unchanged, or are moved aside whole, and the store starts empty.
#include "FuzzCheck.h"
#include "settings/FileDefaultsStore.h"

#include <QtGlobal>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

using namespace kivo;
namespace fs = std::filesystem;

namespace {

// On tmpfs where there is one: every write is synced, and a disk would make each run cost milliseconds.
fs::path workDirectory() {
    static const fs::path dir = [] {
        std::string base = fs::exists("/dev/shm") ? "/dev/shm" : fs::temp_directory_path().string();
        std::string pattern = base + "/kivo-fuzz-defaults-XXXXXX";
        FUZZ_CHECK(::mkdtemp(pattern.data()) != nullptr);
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
        std::atexit([] { fs::remove_all(dir); });
        return fs::path(pattern);
    }();
    return dir;
}

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fs::path dir = workDirectory();
    for (const auto& entry : fs::directory_iterator(dir)) {
        fs::remove_all(entry.path());
    }
    const std::string input(reinterpret_cast<const char*>(data), size);
    const fs::path file = dir / "defaults.json";
    std::ofstream(file, std::ios::binary) << input;

    nlohmann::json loaded;
    {
        FileDefaultsStore store(QString::fromStdString(dir.string()));
        if (!store.movedAsidePath().isEmpty()) {
            FUZZ_CHECK(!fs::exists(file));
            FUZZ_CHECK(readAll(store.movedAsidePath().toStdString()) == input);
            FUZZ_CHECK(store.document() == nlohmann::json::object());
            return 0;
        }
        if (!store.blockedReason().isEmpty()) {
            FUZZ_CHECK(readAll(file) == input);
            return 0;
        }
        FUZZ_CHECK(store.document().is_object());
        for (const auto& key : store.keys()) {
            (void)store.type(key);
            (void)store.boolValue(key);
            (void)store.integerValue(key);
            (void)store.realValue(key);
            (void)store.stringValue(key);
            (void)store.arrayValue(key);
            (void)store.objectValue(key);
        }
        FUZZ_CHECK(store.setString("fuzz.marker", "written").ok());
        loaded = store.document();
    }
    FileDefaultsStore reopened(QString::fromStdString(dir.string()));
    FUZZ_CHECK(reopened.movedAsidePath().isEmpty());
    FUZZ_CHECK(reopened.document() == loaded);
    return 0;
}
