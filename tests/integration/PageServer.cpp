#include "PageServer.h"

#include <QTcpSocket>
#include <QTimer>
#include <QUrl>
#include <QUrlQuery>

namespace kivo::test {

PageServer::PageServer() {
    listen(QHostAddress::LocalHost, 0);
    connect(this, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = nextPendingConnection()) {
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                const QByteArray request = socket->peek(64 * 1024);
                if (!request.contains("\r\n\r\n")) {
                    return;
                }
                socket->readAll();
                const QList<QByteArray> line = request.left(request.indexOf("\r\n")).split(' ');
                const QByteArray target = line.value(1);
                requests_.push_back(target.toStdString());
                const QUrl url(QString::fromUtf8(target));
                if (url.path().endsWith("/key")) {
                    const QUrlQuery query(url);
                    keys_.push_back(query.queryItemValue("k", QUrl::FullyDecoded).toStdString());
                    pageKeys_.emplace_back(query.queryItemValue("p", QUrl::FullyDecoded).toStdString(),
                                           keys_.back());
                }
                if (url.path().endsWith("/value")) {
                    // The reports may arrive out of order: the latest change counts.
                    const QUrlQuery query(url);
                    auto& field = fields_[query.queryItemValue("p", QUrl::FullyDecoded).toStdString()];
                    const int change = query.queryItemValue("n").toInt();
                    if (change >= field.change) {
                        field = {change, query.queryItemValue("v", QUrl::FullyDecoded).toStdString(),
                                 query.queryItemValue("focus") == "1"};
                    }
                }
                QByteArray response;
                if (line.value(0) != "GET" || target.endsWith("/favicon.ico")) {
                    response = "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
                } else {
                    const QByteArray text = QString::fromUtf8(target).toHtmlEscaped().toUtf8();
                    QByteArray body = "<!doctype html><html><head><meta charset=\"utf-8\"><title>" + text +
                                      "</title></head><body><p>" + text + "</p>";
                    if (target.contains("/keys")) {
                        body += target.contains("-full")
                                    ? "<textarea id=\"t\" autofocus style=\"position:fixed;left:0;top:0;"
                                      "width:100%;height:100%\">draft</textarea><script>"
                                    : "<textarea id=\"t\" autofocus>draft</textarea><script>";
                        body += "const t = document.getElementById('t'); t.focus();"
                                "document.addEventListener('keydown', e => {"
                                "  new Image().src = '/key?k=' + encodeURIComponent(e.key + (e.ctrlKey ? "
                                "'+ctrl' : '')) + '&p=' + encodeURIComponent(location.pathname);";
                        if (target.contains("takes-l")) {
                            body += "  if (e.ctrlKey && e.key.toLowerCase() === 'l') { e.preventDefault(); "
                                    "t.focus(); }";
                        }
                        body += "}, true);</script>";
                    }
                    if (target.contains("/field")) {
                        // Every change reports the text, and every focus change whether keys reach the
                        // field.
                        body +=
                            "<input id=\"f\" autofocus size=\"60\"><script>"
                            "const f = document.getElementById('f'); let n = 0;"
                            "const report = () => { new Image().src = '/value?n=' + ++n + '&v=' +"
                            "  encodeURIComponent(f.value) + '&p=' + encodeURIComponent(location.pathname) +"
                            "  '&focus=' + (document.hasFocus() && document.activeElement === f ? 1 : 0); };"
                            "f.addEventListener('input', report); f.addEventListener('focus', report);"
                            "f.addEventListener('blur', report); window.addEventListener('focus', report);"
                            "window.addEventListener('blur', report); f.focus(); report();</script>";
                    }
                    body += "</body></html>";
                    // Most sites let the browser keep a page (and restore it on Back from memory).
                    const QByteArray caching =
                        target.contains("/cacheable") ? QByteArray() : "Cache-Control: no-store\r\n";
                    response = "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\n" + caching +
                               "Connection: close\r\nContent-Length: " + QByteArray::number(body.size()) +
                               "\r\n\r\n" + body;
                }
                const int delay = target.contains("/slower") ? kSlowerDelayMs
                                  : target.contains("/slow") ? kSlowDelayMs
                                                             : 0;
                QTimer::singleShot(delay, socket, [socket, response] {
                    socket->write(response);
                    socket->disconnectFromHost();
                });
            });
        }
    });
}

std::vector<std::string> PageServer::keysReceivedBy(const std::string& path) const {
    std::vector<std::string> keys;
    for (const auto& [page, key] : pageKeys_) {
        if (page == path) {
            keys.push_back(key);
        }
    }
    return keys;
}

std::string PageServer::fieldText(const std::string& path) const {
    const auto it = fields_.find(path);
    return it == fields_.end() ? std::string() : it->second.text;
}

bool PageServer::fieldFocused(const std::string& path) const {
    const auto it = fields_.find(path);
    return it != fields_.end() && it->second.focused;
}

std::string PageServer::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port()) + path;
}

} // namespace kivo::test
