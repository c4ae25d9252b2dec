#pragma once

#include "browser-monitor/ports/AccessibilityElement.h"
#include "browser-monitor/ports/AddressField.h"
#include "browser-monitor/ports/WindowHandle.h"

#include <functional>
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

    using ObserverToken = int;

    virtual ~AccessibilityTree() = default;

    // Kivo may read other applications' trees, as far as the back end knows right now: it never waits to
    // find out, and follows the platform's switch as it moves, Kivo's own switch at once.
    virtual bool isTrusted() = 0;
    // False while the back end is still finding the switch out (it has only just started, say, or cannot
    // hear it move): an untrusted answer may then be old, and nobody is asked to grant access on its word.
    virtual bool isTrustSettled() = 0;
    // Called on the main thread whenever either answer above may have changed. Main thread only.
    virtual ObserverToken addTrustObserver(std::function<void()> observer) = 0;
    virtual void removeTrustObserver(ObserverToken token) = 0;
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
    // The desktop window of one of the application's windows, told for certain; none when it cannot be
    // (several desktop windows could be it). Keystrokes are aimed at it.
    virtual std::optional<WindowHandle> windowHandle(const AccessibilityElement& window) = 0;
    // Whether the window is its application's active window.
    virtual bool isActive(const AccessibilityElement& window) = 0;
    // The window's own address field, told by what it is and where it lies (the browser's one-line field
    // for addresses in the window's toolbar), never by elimination: a page's field, a developer console or
    // a panel's search box is not it, whether or not it holds the focus. None when the window has no
    // address field (an app window) or it cannot be told.
    virtual std::optional<AddressField> addressField(const AccessibilityElement& window) = 0;
    // Whether a web area is still loading its document; none when it cannot be told.
    virtual std::optional<bool> isLoading(const AccessibilityElement& webArea) = 0;
    // Sets an application-level switch; false when the application refused.
    virtual bool setBooleanAttribute(const AccessibilityElement& element, const std::string& name,
                                     bool value) = 0;
};

} // namespace kivo
