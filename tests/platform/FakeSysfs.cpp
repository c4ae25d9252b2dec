#include "FakeSysfs.h"

#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace kivo::test {

FakeSysfs::FakeSysfs() {
    std::random_device random;
    root_ = std::filesystem::temp_directory_path() / ("kivo-sysfs-" + std::to_string(random()));
    std::filesystem::create_directories(root_);
}

FakeSysfs::~FakeSysfs() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

void FakeSysfs::write(const std::string& path, const std::string& text) {
    writeBytes(path, std::vector<std::uint8_t>(text.begin(), text.end()));
}

void FakeSysfs::writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    const auto full = root_ / path;
    std::filesystem::create_directories(full.parent_path());
    std::ofstream out(full, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + full.string());
    }
}

void FakeSysfs::link(const std::string& path, const std::string& target) {
    const auto full = root_ / path;
    std::filesystem::create_directories(full.parent_path());
    std::filesystem::create_symlink(target, full);
}

std::string FakeSysfs::read(const std::string& path) const {
    std::ifstream in(root_ / path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void FakeSysfs::connector(const std::string& name, bool connected, bool enabled,
                          const std::vector<std::uint8_t>* edid) {
    // As in sysfs: the class entry links to the device directory.
    const std::string device = "sys/devices/pci0000:00/drm/card0/" + name;
    write(device + "/status", connected ? "connected\n" : "disconnected\n");
    write(device + "/enabled", enabled ? "enabled\n" : "disabled\n");
    if (edid) {
        writeBytes(device + "/edid", *edid);
    }
    link("sys/class/drm/" + name, (root_ / device).string());
}

void FakeSysfs::backlight(const std::string& name, int actual, int maximum, const std::string& type,
                          const std::string& connector) {
    const std::string device = "sys/devices/backlight/" + name;
    write(device + "/actual_brightness", std::to_string(actual) + "\n");
    write(device + "/max_brightness", std::to_string(maximum) + "\n");
    write(device + "/brightness", std::to_string(actual) + "\n");
    write(device + "/type", type + "\n");
    if (!connector.empty()) {
        link(device + "/device", (root_ / "sys/devices/pci0000:00/drm/card0" / connector).string());
    }
    link("sys/class/backlight/" + name, (root_ / device).string());
}

std::vector<std::uint8_t> makeEdid(std::uint16_t vendor, std::uint16_t product, const std::string& name) {
    std::vector<std::uint8_t> edid(128, 0);
    const std::uint8_t header[] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
    std::copy(std::begin(header), std::end(header), edid.begin());
    edid[8] = static_cast<std::uint8_t>(vendor >> 8);
    edid[9] = static_cast<std::uint8_t>(vendor);
    edid[10] = static_cast<std::uint8_t>(product);
    edid[11] = static_cast<std::uint8_t>(product >> 8);
    // First descriptor: a timing (non-zero pixel clock); second: serial text; third: the name.
    edid[54] = 0x01;
    edid[55] = 0x1D;
    edid[75] = 0xFF;
    const std::string serial = "SN123\n";
    std::copy(serial.begin(), serial.end(), edid.begin() + 77);
    if (!name.empty()) {
        edid[93] = 0xFC;
        std::fill(edid.begin() + 95, edid.begin() + 108, 0x20);
        const std::string text = name.substr(0, 13) + (name.size() < 13 ? "\n" : "");
        std::copy(text.begin(), text.end(), edid.begin() + 95);
    }
    std::uint8_t sum = 0;
    for (std::size_t i = 0; i < 127; ++i) {
        sum = static_cast<std::uint8_t>(sum + edid[i]);
    }
    edid[127] = static_cast<std::uint8_t>(0x100 - sum);
    return edid;
}

int openDescriptorCount() {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        ++count;
    }
    return count;
}

} // namespace kivo::test
