#include "FakeSysfs.h"

#include "platform/linux/LinuxBacklightService.h"
#include "platform/linux/LinuxDrmDisplayList.h"
#include "platform/linux/SystemPosixFileIo.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace kivo {
namespace {

class RecordingWriter final : public BacklightWriter {
public:
    bool setBrightness(const std::string& device, std::uint32_t value) override {
        calls.emplace_back(device, value);
        return succeeds;
    }
    std::vector<std::pair<std::string, std::uint32_t>> calls;
    bool succeeds = true;
};

// Real files, except that opening one chosen path for writing is refused as for an ordinary user.
class DenyingIo final : public PosixFileIo {
public:
    explicit DenyingIo(std::string denied) : denied_(std::move(denied)) {}
    int open(const char* path, int flags) override {
        if (path == denied_) {
            errno = EACCES;
            return -1;
        }
        return real_.open(path, flags);
    }
    int close(int fd) override { return real_.close(fd); }
    ssize_t read(int fd, void* b, std::size_t n) override { return real_.read(fd, b, n); }
    ssize_t write(int fd, const void* b, std::size_t n) override { return real_.write(fd, b, n); }
    int ioctl(int fd, unsigned long r, unsigned long a) override { return real_.ioctl(fd, r, a); }

private:
    std::string denied_;
    SystemPosixFileIo real_;
};

struct BacklightRig {
    test::FakeSysfs fs;
    std::shared_ptr<LinuxDrmDisplayList> list = std::make_shared<LinuxDrmDisplayList>(fs.root());
    std::shared_ptr<RecordingWriter> writer = std::make_shared<RecordingWriter>();

    LinuxBacklightService service(std::shared_ptr<PosixFileIo> io = std::make_shared<SystemPosixFileIo>()) {
        return LinuxBacklightService(fs.root(), list, std::move(io), writer);
    }
    static std::uint32_t id(const std::string& connector) {
        return LinuxDrmDisplayList::identifierFor(connector);
    }
};

TEST(LinuxBacklightServiceTest, FindsTheBacklightOfEachDisplay) {
    struct Case {
        const char* name;
        std::vector<std::tuple<std::string, std::string, std::string>>
            backlights; // name, type, linked connector
        const char* display;
        std::optional<std::string> device;
    };
    const Case cases[] = {
        {"linked to the panel",
         {{"acpi_video0", "firmware", ""}, {"intel_backlight", "raw", "card0-eDP-1"}},
         "card0-eDP-1",
         "intel_backlight"},
        {"panel falls back by type",
         {{"intel_backlight", "raw", ""}, {"acpi_video0", "firmware", ""}},
         "card0-eDP-1",
         "acpi_video0"},
        {"platform before raw",
         {{"a_raw", "raw", ""}, {"b_platform", "platform", ""}},
         "card0-eDP-1",
         "b_platform"},
        {"external without its own", {{"intel_backlight", "raw", "card0-eDP-1"}}, "card0-DP-1", std::nullopt},
        {"external with its own", {{"ddcci5", "raw", "card0-DP-1"}}, "card0-DP-1", "ddcci5"},
        {"no backlights", {}, "card0-eDP-1", std::nullopt},
    };
    for (const auto& c : cases) {
        BacklightRig rig;
        rig.fs.connector("card0-eDP-1", true, true);
        rig.fs.connector("card0-DP-1", true, true);
        for (const auto& [name, type, connector] : c.backlights) {
            rig.fs.backlight(name, 10, 100, type, connector);
        }
        auto service = rig.service();
        EXPECT_EQ(service.deviceFor(BacklightRig::id(c.display)), c.device) << c.name;
        EXPECT_EQ(service.canChangeBrightness(BacklightRig::id(c.display)), c.device.has_value()) << c.name;
    }
}

TEST(LinuxBacklightServiceTest, ReadsAndWritesTheLevelInDeviceUnits) {
    BacklightRig rig;
    rig.fs.connector("card0-eDP-1", true, true);
    rig.fs.backlight("intel_backlight", 1200, 4800, "raw", "card0-eDP-1");
    auto service = rig.service();
    const auto panel = BacklightRig::id("card0-eDP-1");
    EXPECT_EQ(service.brightness(panel), 0.25f);
    EXPECT_TRUE(service.setBrightness(panel, 0.5f));
    EXPECT_EQ(rig.fs.read("sys/class/backlight/intel_backlight/brightness"), "2400");
    EXPECT_TRUE(rig.writer->calls.empty());
}

TEST(LinuxBacklightServiceTest, UnreadableOrNonsenseValuesFail) {
    struct Case {
        const char* file;
        const char* text;
        bool readable, writable;
    };
    const Case cases[] = {
        {"max_brightness", "0\n", false, false},     {"max_brightness", "-5\n", false, false},
        {"max_brightness", "abc\n", false, false},   {"actual_brightness", "\n", false, true},
        {"actual_brightness", "12x\n", false, true},
    };
    for (const auto& c : cases) {
        BacklightRig rig;
        rig.fs.connector("card0-eDP-1", true, true);
        rig.fs.backlight("bl", 10, 100, "raw", "card0-eDP-1");
        rig.fs.write(std::string("sys/devices/backlight/bl/") + c.file, c.text);
        auto service = rig.service();
        const auto panel = BacklightRig::id("card0-eDP-1");
        EXPECT_EQ(service.brightness(panel).has_value(), c.readable) << c.file << c.text;
        EXPECT_EQ(service.setBrightness(panel, 0.5f), c.writable) << c.file << c.text;
    }
}

TEST(LinuxBacklightServiceTest, AFileOnlyRootMayWriteGoesThroughTheWriter) {
    BacklightRig rig;
    rig.fs.connector("card0-eDP-1", true, true);
    rig.fs.backlight("intel_backlight", 10, 937, "raw", "card0-eDP-1");
    auto service = LinuxBacklightService(
        rig.fs.root(), rig.list,
        std::make_shared<DenyingIo>(
            (rig.fs.root() / "sys/class/backlight/intel_backlight/brightness").string()),
        rig.writer);
    const auto panel = BacklightRig::id("card0-eDP-1");
    EXPECT_TRUE(service.setBrightness(panel, 0.5f));
    EXPECT_EQ(rig.writer->calls,
              (std::vector<std::pair<std::string, std::uint32_t>>{{"intel_backlight", 469}}));

    rig.writer->succeeds = false;
    EXPECT_FALSE(service.setBrightness(panel, 0.5f));
    auto withoutWriter = LinuxBacklightService(
        rig.fs.root(), rig.list,
        std::make_shared<DenyingIo>(
            (rig.fs.root() / "sys/class/backlight/intel_backlight/brightness").string()),
        nullptr);
    EXPECT_FALSE(withoutWriter.setBrightness(panel, 0.5f));
}

TEST(LinuxBacklightServiceTest, AFailedWriteIsReportedAndNotRetriedElsewhere) {
    BacklightRig rig;
    rig.fs.connector("card0-eDP-1", true, true);
    rig.fs.backlight("intel_backlight", 10, 100, "raw", "card0-eDP-1");
    std::filesystem::remove(rig.fs.root() / "sys/devices/backlight/intel_backlight/brightness");
    rig.fs.link("sys/devices/backlight/intel_backlight/brightness", "/dev/full");
    auto service = rig.service();
    const int before = test::openDescriptorCount();
    EXPECT_FALSE(service.setBrightness(BacklightRig::id("card0-eDP-1"), 0.5f));
    EXPECT_EQ(test::openDescriptorCount(), before);
    EXPECT_TRUE(rig.writer->calls.empty());
}

} // namespace
} // namespace kivo
