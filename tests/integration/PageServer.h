#pragma once

#include <QTcpServer>

#include <string>

namespace kivo::test {

// Serves a small page for any path from 127.0.0.1, on the main thread. It also answers requests in a
// proxy's absolute form, so a browser told to use it as its proxy reaches made-up hosts here and nowhere
// else; tunnels (CONNECT) are refused.
class PageServer : public QTcpServer {
public:
    PageServer();
    int port() const { return serverPort(); }
    // "http://127.0.0.1:<port>" + path.
    std::string url(const std::string& path) const;
};

} // namespace kivo::test
