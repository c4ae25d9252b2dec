#include "platform/linux/LinuxBrowserIdentity.h"

#include <algorithm>
#include <cctype>

namespace kivo {
namespace LinuxBrowserIdentity {
namespace {

struct Entry {
    const char* className; // lowercase
    const char* bundleId;
    const char* displayName;
};

// Window classes of the Linux builds, as their packages set them.
constexpr Entry kEntries[] = {
    {"chromium", "com.google.Chrome", "Chromium"},
    {"chromium-browser", "com.google.Chrome", "Chromium"},
    {"google-chrome", "com.google.Chrome", "Chrome"},
    {"google-chrome-beta", "com.google.Chrome", "Chrome"},
    {"google-chrome-unstable", "com.google.Chrome", "Chrome"},
    {"brave-browser", "com.brave.Browser", "Brave"},
    {"microsoft-edge", "com.microsoft.edgemac", "Edge"},
    {"microsoft-edge-beta", "com.microsoft.edgemac", "Edge"},
    {"microsoft-edge-dev", "com.microsoft.edgemac", "Edge"},
    {"opera", "com.operasoftware.Opera", "Opera"},
    {"vivaldi-stable", "com.vivaldi.Vivaldi", "Vivaldi"},
    {"vivaldi", "com.vivaldi.Vivaldi", "Vivaldi"},
    {"yandex-browser", "ru.yandex.desktop.yandex-browser", "Yandex"},
    {"yandex-browser-beta", "ru.yandex.desktop.yandex-browser", "Yandex"},
    {"naver-whale", "com.naver.Whale", "Naver Whale"},
    {"firefox", "org.mozilla.firefox", "Firefox"},
    {"firefox-esr", "org.mozilla.firefox", "Firefox"},
};

// The programs the packages install (their file names in `className`), where the names differ from the
// window classes.
constexpr Entry kPrograms[] = {
    {"chrome", "com.google.Chrome", "Chrome"},
    {"brave", "com.brave.Browser", "Brave"},
    {"msedge", "com.microsoft.edgemac", "Edge"},
    {"vivaldi-bin", "com.vivaldi.Vivaldi", "Vivaldi"},
    {"yandex_browser", "ru.yandex.desktop.yandex-browser", "Yandex"},
    {"whale", "com.naver.Whale", "Naver Whale"},
    {"firefox-bin", "org.mozilla.firefox", "Firefox"},
};

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

const Entry* find(const std::string& instance, const std::string& className) {
    const std::string cls = lower(className);
    for (const auto& entry : kEntries) {
        if (cls == entry.className) {
            return &entry;
        }
    }
    // Chromium names its instance after the profile ("chromium (<dir>)"); Firefox's is "Navigator".
    const std::string inst = lower(instance);
    for (const auto& entry : kEntries) {
        const std::string name = entry.className;
        if (inst == name || inst.rfind(name + " (", 0) == 0) {
            return &entry;
        }
    }
    if (inst == "navigator" && cls.rfind("firefox", 0) == 0) {
        return &kEntries[std::size(kEntries) - 2];
    }
    return nullptr;
}

// A program is named as its file is, case and all: a window class's name stands for a wrapper script.
const Entry* findProgram(const std::string& fileName) {
    for (const auto& entry : kPrograms) {
        if (fileName == entry.className) {
            return &entry;
        }
    }
    for (const auto& entry : kEntries) {
        if (fileName == entry.className) {
            return &entry;
        }
    }
    return nullptr;
}

} // namespace

std::optional<std::string> bundleIdForWindowClass(const std::string& instance, const std::string& className) {
    if (const Entry* entry = find(instance, className)) {
        return std::string(entry->bundleId);
    }
    return std::nullopt;
}

std::optional<std::string> displayNameForWindowClass(const std::string& instance,
                                                     const std::string& className) {
    if (const Entry* entry = find(instance, className)) {
        return std::string(entry->displayName);
    }
    return std::nullopt;
}

std::optional<std::string> bundleIdForProgram(const std::string& fileName) {
    if (const Entry* entry = findProgram(fileName)) {
        return std::string(entry->bundleId);
    }
    return std::nullopt;
}

std::optional<std::string> displayNameForProgram(const std::string& fileName) {
    if (const Entry* entry = findProgram(fileName)) {
        return std::string(entry->displayName);
    }
    return std::nullopt;
}

} // namespace LinuxBrowserIdentity
} // namespace kivo
