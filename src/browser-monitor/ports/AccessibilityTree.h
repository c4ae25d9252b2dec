#pragma once

#include "browser-monitor/ports/AccessibilityElement.h"

#include <optional>
#include <string>
#include <vector>

namespace kivo {

// Read access to applications' accessibility trees. Reads run on a browser's worker thread and may
// block while the application answers; every read fails (none) while Kivo is not trusted. Several
// browsers' workers read at the same time (and `isTrusted` is asked on the main thread), so a back end
// must be safe to call from several threads at once.
class AccessibilityTree {
public:
    // Role texts and attribute names Kivo uses. They are this port's own vocabulary: a back end maps its
    // platform's roles (a web document, say) and switches onto them.
    static constexpr const char* kWebAreaRole = "AXWebArea";
    static constexpr const char* kEnhancedUserInterface = "AXEnhancedUserInterface";
    static constexpr const char* kManualAccessibility = "AXManualAccessibility";

    virtual ~AccessibilityTree() = default;

    // Kivo may read other applications' trees.
    virtual bool isTrusted() = 0;
    virtual AccessibilityElement applicationElement(int processId) = 0;
    // The element's role as text; none on failure or when it has none.
    virtual std::optional<std::string> role(const AccessibilityElement& element) = 0;
    // The URL of a web area as text; none when it has no readable URL.
    virtual std::optional<std::string> url(const AccessibilityElement& element) = 0;
    // The element's children in order; none when they cannot be read.
    virtual std::optional<std::vector<AccessibilityElement>>
    children(const AccessibilityElement& element) = 0;
    // The application's focused window, the one keystrokes reach; none when it cannot be told. Below a
    // window, a back end exposes as web areas only the pages the window shows (not those of background
    // tabs), since typing reaches only a shown page.
    virtual std::optional<AccessibilityElement> focusedWindow(const AccessibilityElement& application) = 0;
    // Brings one of the application's windows (a child of its application element) to the front with
    // the keyboard focus; false when the desktop refused at once. Whether it came is for the caller to
    // watch through `focusedWindow`.
    virtual bool raiseWindow(const AccessibilityElement& window) = 0;
    // Whether an element with the keyboard focus in the window (the address field while it is being
    // typed into) holds exactly this text. A browser may keep a stale focus mark on another element, so
    // the question is about any focused element, not the first one found.
    virtual bool focusedTextEquals(const AccessibilityElement& window, const std::string& text) = 0;
    // Sets an application-level switch; false when the application refused.
    virtual bool setBooleanAttribute(const AccessibilityElement& element, const std::string& name,
                                     bool value) = 0;
};

} // namespace kivo
