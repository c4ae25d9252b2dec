#pragma once

#include "browser-monitor/ports/AccessibilityTree.h"
#include "platform/linux/XcbDesktop.h"

#include <QDBusConnection>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

class QDBusMessage;

namespace kivo {

// Applications' accessibility trees over AT-SPI, spoken directly on the accessibility bus with QtDBus:
// its connection may be used from several worker threads at once and every call carries a timeout, so
// a browser that stops answering costs a call its timeout and no more. Below a window only the page it
// shows is exposed (the window's EMBEDS relation, or where it names none, the document of the selected tab's
// browser), never background tabs or the page's own content.
// Windows are matched to X windows through the X server (process and extents); where several X windows
// lie exactly on each other, only the active one is told, by the frame's active state.
//
// Nothing here waits on the session bus or on connecting to the accessibility bus: a background thread
// reads the bus's switch and (re)connects, one attempt at a time, and every caller answers from what it
// last learnt. A wedged bus (a handshake that never ends) costs the reads of a pass, never a caller's
// thread. What it learns stays current: the switch's change signal is heard on the thread that made the
// tree, and Kivo's own switch counts at once.
class LinuxAccessibilityTree final : public AccessibilityTree {
public:
    static constexpr std::chrono::milliseconds kCallTimeout{1000};

    // Works without a session bus or X display: it is then never trusted and reads nothing.
    explicit LinuxAccessibilityTree(std::unique_ptr<XcbDesktop> desktop);
    ~LinuxAccessibilityTree() override;

    bool isTrusted() override;
    bool isTrustSettled() override;
    ObserverToken addTrustObserver(std::function<void()> observer) override;
    void removeTrustObserver(ObserverToken token) override;
    AccessibilityElement applicationElement(int processId) override;
    std::optional<std::string> role(const AccessibilityElement& element) override;
    std::optional<std::string> url(const AccessibilityElement& element) override;
    std::optional<std::vector<AccessibilityElement>> children(const AccessibilityElement& element) override;
    std::optional<AccessibilityElement> focusedWindow(const AccessibilityElement& application) override;
    bool raiseWindow(const AccessibilityElement& window) override;
    std::optional<WindowHandle> windowHandle(const AccessibilityElement& window) override;
    bool isActive(const AccessibilityElement& window) override;
    // The address field is the first element of the window, in tree order, that is an editable one-line
    // field with inline completion, lies in a toolbar and in no document (a page, a docked developer tool
    // or a panel's web content) nor frame below the window; it is remembered while it lives.
    std::optional<AddressField> addressField(const AccessibilityElement& window) override;
    std::optional<bool> isLoading(const AccessibilityElement& webArea) override;
    // Any switch turns the accessibility bus on (and the desktop's setting where it keeps one).
    bool setBooleanAttribute(const AccessibilityElement& element, const std::string& name,
                             bool value) override;

    // Turns on the session's accessibility bus, so that applications started from now on (and Firefox
    // at once) expose their trees, and counts it on at once; false when the session has no accessibility
    // bus. Waits on the session bus for its answer (half a second at most).
    bool enableAccessibilityBus();

    // The process of each application on the bus, as the bus knows it (not a sandbox's own number); none
    // when the registry cannot be read. Blocks on the bus: for worker threads.
    std::optional<std::vector<int>> applicationProcesses();

    // Calls made on the accessibility bus, for tests and the bench.
    long busCalls() const { return busCalls_.load(); }

private:
    struct Extents {
        int x = 0, y = 0, width = 0, height = 0;
    };

    struct State;
    std::optional<QDBusConnection> bus();
    static void refreshSoon(const std::shared_ptr<State>& state, bool force);
    static void refresh(const std::shared_ptr<State>& state);
    static void listen(const std::shared_ptr<State>& state);
    std::optional<QDBusMessage> call(const AccessibilityElement& element, const char* interface,
                                     const char* method, const QList<QVariant>& arguments = {});
    // The element's children as its application lists them (an application's windows, say).
    std::optional<std::vector<AccessibilityElement>> childList(const AccessibilityElement& element);
    // The targets of the element's relations of one type.
    std::optional<std::vector<AccessibilityElement>> related(const AccessibilityElement& element,
                                                             unsigned type);
    // The pages in the browser of the window's selected tab.
    std::vector<AccessibilityElement> selectedTabPages(const AccessibilityElement& window);
    std::optional<Extents> extents(const AccessibilityElement& element);
    std::optional<std::string> name(const AccessibilityElement& element);
    std::optional<int> processOf(const std::string& busName);
    int windowSideProcess(int busProcess);
    static std::optional<int> innermostProcess(int processId);
    std::optional<unsigned> roleNumber(const AccessibilityElement& element);
    // The element's state set as bits; none when it cannot be read.
    std::optional<std::uint64_t> states(const AccessibilityElement& element);
    // Elements below `element` in tree order with every one of `stateBits` and one of `roles`, at most
    // `count`: the application searches its own tree, in one call instead of a walk.
    std::vector<AccessibilityElement> matching(const AccessibilityElement& element, std::uint64_t stateBits,
                                               const std::vector<unsigned>& roles, int count);
    std::optional<AccessibilityElement> parent(const AccessibilityElement& element);
    std::optional<AccessibilityElement> findAddressField(const AccessibilityElement& window);
    // The roles from the element up to the window, when it lies there in the browser's own interface.
    std::optional<std::vector<unsigned>> interfaceRoles(const AccessibilityElement& window,
                                                        const AccessibilityElement& element);
    // The application's X windows that lie closest to where the frame is (several only when they lie
    // exactly on each other).
    std::vector<xcb_window_t> xWindowsAt(const AccessibilityElement& window);
    // The frame's own X window, told for certain; none when it cannot be.
    std::optional<xcb_window_t> xWindowOf(const AccessibilityElement& window, bool frameActive);
    xcb_window_t xWindowFor(int processId, const Extents& frame, const std::optional<std::string>& frameName);

    std::unique_ptr<XcbDesktop> desktop_;
    std::mutex fieldMutex_;
    // Windows and their address fields, the latest found last.
    std::vector<std::pair<AccessibilityElement, AccessibilityElement>> addressFields_;
    // Shared with the background refresh, which may outlive the tree while a handshake hangs.
    std::shared_ptr<State> state_;
    // Hears the switch move; lives on the tree's thread, as its observers do.
    std::unique_ptr<QObject> listener_;
    std::atomic<long> busCalls_{0};
};

} // namespace kivo
