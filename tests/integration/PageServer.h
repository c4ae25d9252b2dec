#pragma once

#include <QTcpServer>

#include <map>
#include <string>
#include <vector>

namespace kivo::test {

// Serves a small page for any path from 127.0.0.1, on the main thread. It also answers requests in a
// proxy's absolute form, so a browser told to use it as its proxy reaches made-up hosts here and nowhere
// else; tunnels (CONNECT) are refused. A path holding "/keys" gets a page with a focused text area that
// reports every key it receives as a request for "/key?..." (with "takes-l" in it, the page also takes
// Ctrl+L for itself, as a web terminal does; with "-full" in it, the text area fills the window); a path
// holding "/field" gets a page with a focused text field that reports its whole text on every change, as
// a request for "/value?..." (what an input method composes and commits shows there); a path
// holding "/slow" is answered only after kSlowDelayMs, one holding "/slower" after kSlowerDelayMs. Pages
// are sent with "Cache-Control: no-store", except those whose path holds "/cacheable".
class PageServer : public QTcpServer {
public:
    static constexpr int kSlowDelayMs = 1200;
    static constexpr int kSlowerDelayMs = 4000;

    PageServer();
    int port() const { return serverPort(); }
    // "http://127.0.0.1:<port>" + path.
    std::string url(const std::string& path) const;
    // The keys the recorder pages received ("l+ctrl", "a", "Enter", ...), in order.
    const std::vector<std::string>& keysReceived() const { return keys_; }
    // Those that the recorder page at `path` received.
    std::vector<std::string> keysReceivedBy(const std::string& path) const;
    // The text the field of the "/field" page at `path` last held.
    std::string fieldText(const std::string& path) const;
    // Whether that field last said it has the keyboard focus.
    bool fieldFocused(const std::string& path) const;
    // Paths asked for so far.
    const std::vector<std::string>& requests() const { return requests_; }

private:
    std::vector<std::string> keys_;
    std::vector<std::pair<std::string, std::string>> pageKeys_; // page path, key
    std::vector<std::string> requests_;
    struct Field {
        int change = -1;
        std::string text;
        bool focused = false;
    };
    std::map<std::string, Field> fields_; // by page path
};

} // namespace kivo::test
