#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace kivo::test {

// A throw-away directory standing for "/", with helpers to plant sysfs-like files and links.
class FakeSysfs {
public:
    FakeSysfs();
    ~FakeSysfs();
    FakeSysfs(const FakeSysfs&) = delete;
    FakeSysfs& operator=(const FakeSysfs&) = delete;

    const std::filesystem::path& root() const { return root_; }
    void write(const std::string& path, const std::string& text);
    void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
    void link(const std::string& path, const std::string& target);
    std::string read(const std::string& path) const;

    // A DRM connector directory with its status, enabled state and (when given) EDID.
    void connector(const std::string& name, bool connected, bool enabled,
                   const std::vector<std::uint8_t>* edid = nullptr);
    void backlight(const std::string& name, int actual, int maximum, const std::string& type,
                   const std::string& connector = {});

private:
    std::filesystem::path root_;
};

// A 128-byte EDID base block for the given manufacturer id, product code and (optional) monitor name.
std::vector<std::uint8_t> makeEdid(std::uint16_t vendor, std::uint16_t product, const std::string& name);

// Descriptors this process has open.
int openDescriptorCount();

} // namespace kivo::test
