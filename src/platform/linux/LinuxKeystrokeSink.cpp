#include "platform/linux/LinuxKeystrokeSink.h"

#include <xcb/xtest.h>

#include <idn2.h>

#include <algorithm>
#include <cstdlib>

namespace kivo {
namespace {

constexpr std::uint32_t kShiftL = 0xffe1;
constexpr std::uint32_t kControlL = 0xffe3;
constexpr std::uint32_t kReturn = 0xff0d;
constexpr std::uint32_t kDelete = 0xffff;

bool printableAscii(unsigned char c) {
    return c >= 0x20 && c < 0x7f;
}

void percentEncode(std::string& out, unsigned char c) {
    static const char* hex = "0123456789ABCDEF";
    out += '%';
    out += hex[c >> 4];
    out += hex[c & 0xf];
}

} // namespace

LinuxKeystrokeSink::LinuxKeystrokeSink(std::unique_ptr<XcbDesktop> desktop) : desktop_(std::move(desktop)) {}

std::optional<int> LinuxKeystrokeSink::keyboardFocusProcess() {
    if (!desktop_) {
        return std::nullopt;
    }
    std::lock_guard lock(mutex_);
    return desktop_->windowProcess(desktop_->activeWindow());
}

std::optional<std::string> LinuxKeystrokeSink::asciiURL(const std::string& url) {
    for (const unsigned char c : url) {
        if (c < 0x20 || c == 0x7f) {
            return std::nullopt;
        }
    }
    // The host: after "scheme://" and any "user@", up to the port, path, query or fragment.
    std::size_t hostStart = 0;
    std::size_t hostEnd = 0;
    if (const auto scheme = url.find("://"); scheme != std::string::npos) {
        const std::size_t authority = scheme + 3;
        std::size_t authorityEnd = url.find_first_of("/?#", authority);
        if (authorityEnd == std::string::npos) {
            authorityEnd = url.size();
        }
        const auto at = url.rfind('@', authorityEnd);
        hostStart = (at != std::string::npos && at >= authority) ? at + 1 : authority;
        hostEnd = hostStart;
        if (hostStart < authorityEnd && url[hostStart] == '[') {
            hostEnd = url.find(']', hostStart); // an IPv6 literal is ASCII already
            hostEnd = hostEnd == std::string::npos ? authorityEnd : hostEnd + 1;
        } else {
            const auto colon = url.find(':', hostStart);
            hostEnd = colon != std::string::npos && colon < authorityEnd ? colon : authorityEnd;
        }
    }
    std::string out;
    out.reserve(url.size() + 16);
    for (std::size_t i = 0; i < url.size(); ++i) {
        if (i == hostStart && hostEnd > hostStart) {
            const std::string host = url.substr(hostStart, hostEnd - hostStart);
            const bool ascii =
                std::all_of(host.begin(), host.end(), [](unsigned char c) { return c < 0x80; });
            if (ascii) {
                out += host;
            } else {
                char* ace = nullptr;
                if (idn2_to_ascii_8z(host.c_str(), &ace, IDN2_NONTRANSITIONAL | IDN2_NFC_INPUT) != IDN2_OK) {
                    return std::nullopt;
                }
                const std::string converted = ace;
                idn2_free(ace);
                // A character mapped away to nothing would leave another host than the one asked for.
                if (converted.empty() || converted.front() == '.' ||
                    converted.find("..") != std::string::npos) {
                    return std::nullopt;
                }
                out += converted;
            }
            i = hostEnd - 1;
            continue;
        }
        const unsigned char c = static_cast<unsigned char>(url[i]);
        if (c >= 0x80 || c == ' ') {
            percentEncode(out, c);
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

std::optional<std::string> LinuxKeystrokeSink::keyboardText(const std::string& url) {
    auto text = asciiURL(url);
    if (!text || !desktop_) {
        return std::nullopt;
    }
    std::lock_guard lock(mutex_);
    if (!loadKeymap()) {
        return std::nullopt;
    }
    for (const unsigned char c : *text) {
        if (!strokeFor(c)) {
            return std::nullopt;
        }
    }
    return text;
}

bool LinuxKeystrokeSink::loadKeymap() {
    if (!keysyms_.empty()) {
        return true;
    }
    xcb_connection_t* c = desktop_->connection();
    const xcb_setup_t* setup = xcb_get_setup(c);
    minKeycode_ = setup->min_keycode;
    const int count = setup->max_keycode - setup->min_keycode + 1;
    xcb_get_keyboard_mapping_reply_t* reply =
        xcb_get_keyboard_mapping_reply(c, xcb_get_keyboard_mapping(c, setup->min_keycode, count), nullptr);
    if (!reply) {
        return false;
    }
    keysymsPerKeycode_ = reply->keysyms_per_keycode;
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(reply);
    keysyms_.assign(syms, syms + xcb_get_keyboard_mapping_keysyms_length(reply));
    std::free(reply);
    const auto shift = strokeFor(kShiftL);
    const auto control = strokeFor(kControlL);
    shiftKey_ = shift ? shift->key : 0;
    controlKey_ = control ? control->key : 0;
    return keysymsPerKeycode_ > 0 && shiftKey_ && controlKey_;
}

std::optional<LinuxKeystrokeSink::Stroke> LinuxKeystrokeSink::strokeFor(std::uint32_t keysym) {
    if (keysymsPerKeycode_ <= 0) {
        return std::nullopt;
    }
    const std::size_t keys = keysyms_.size() / static_cast<std::size_t>(keysymsPerKeycode_);
    // Unshifted columns first, so that a letter is typed as itself rather than with Shift.
    for (int column = 0; column < std::min(keysymsPerKeycode_, 2); ++column) {
        for (std::size_t k = 0; k < keys; ++k) {
            if (keysyms_[k * static_cast<std::size_t>(keysymsPerKeycode_) +
                         static_cast<std::size_t>(column)] == keysym) {
                return Stroke{static_cast<xcb_keycode_t>(minKeycode_ + k), column == 1};
            }
        }
    }
    return std::nullopt;
}

bool LinuxKeystrokeSink::send(const std::vector<Stroke>& strokes, bool control) {
    xcb_connection_t* c = desktop_->connection();
    const auto fake = [&](std::uint8_t type, xcb_keycode_t key) {
        xcb_test_fake_input(c, type, key, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    };
    if (control) {
        fake(XCB_KEY_PRESS, controlKey_);
    }
    for (const auto& stroke : strokes) {
        if (stroke.shift) {
            fake(XCB_KEY_PRESS, shiftKey_);
        }
        fake(XCB_KEY_PRESS, stroke.key);
        fake(XCB_KEY_RELEASE, stroke.key);
        if (stroke.shift) {
            fake(XCB_KEY_RELEASE, shiftKey_);
        }
    }
    if (control) {
        fake(XCB_KEY_RELEASE, controlKey_);
    }
    // A round trip: the server has handled every event when it answers.
    xcb_get_input_focus_reply_t* sync = xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr);
    std::free(sync);
    return sync != nullptr && !desktop_->isBroken();
}

bool LinuxKeystrokeSink::typeText(const std::string& text) {
    if (!desktop_) {
        return false;
    }
    std::lock_guard lock(mutex_);
    if (!loadKeymap()) {
        return false;
    }
    std::vector<Stroke> strokes;
    strokes.reserve(text.size());
    for (const unsigned char ch : text) {
        // Anything else would either need a keymap change or act as a key of its own.
        if (!printableAscii(ch)) {
            return false;
        }
        const auto stroke = strokeFor(ch); // ASCII keysyms are the characters' own codes
        if (!stroke) {
            return false;
        }
        strokes.push_back(*stroke);
    }
    return send(strokes, false);
}

bool LinuxKeystrokeSink::focusAddressField() {
    if (!desktop_) {
        return false;
    }
    std::lock_guard lock(mutex_);
    const auto stroke = loadKeymap() ? strokeFor('l') : std::nullopt;
    return stroke && send({*stroke}, true);
}

bool LinuxKeystrokeSink::selectAll() {
    if (!desktop_) {
        return false;
    }
    std::lock_guard lock(mutex_);
    const auto stroke = loadKeymap() ? strokeFor('a') : std::nullopt;
    return stroke && send({*stroke}, true);
}

bool LinuxKeystrokeSink::pressReturn() {
    if (!desktop_) {
        return false;
    }
    std::lock_guard lock(mutex_);
    const auto stroke = loadKeymap() ? strokeFor(kReturn) : std::nullopt;
    return stroke && send({*stroke}, false);
}

bool LinuxKeystrokeSink::pressDelete() {
    if (!desktop_) {
        return false;
    }
    std::lock_guard lock(mutex_);
    const auto stroke = loadKeymap() ? strokeFor(kDelete) : std::nullopt;
    return stroke && send({*stroke}, false);
}

} // namespace kivo
