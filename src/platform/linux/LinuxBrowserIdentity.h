#pragma once

#include <optional>
#include <string>

namespace kivo {

// Which row of the supported-browser table a window belongs to, told by its X window class. Rows keep
// their identifiers (stored data and logs use them); a row without a Linux build never matches, and a
// class that is not listed is not a browser.
namespace LinuxBrowserIdentity {

std::optional<std::string> bundleIdForWindowClass(const std::string& instance, const std::string& className);
// The name the user knows the browser by on this desktop: the Chrome row run as Chromium is "Chromium".
// None when the class is not a browser.
std::optional<std::string> displayNameForWindowClass(const std::string& instance,
                                                     const std::string& className);

// The same for a process, told by the file name of its program (an executable's, or a command's as the
// process was started): the Linux builds' programs and the window classes' names. None when it is not a
// browser.
std::optional<std::string> bundleIdForProgram(const std::string& fileName);
std::optional<std::string> displayNameForProgram(const std::string& fileName);

} // namespace LinuxBrowserIdentity
} // namespace kivo
