#include "app/errors/ErrorEvent.h"

#include <QJsonArray>

namespace kivo {

QJsonObject ErrorEvent::toJson() const {
    QJsonObject json{{QStringLiteral("event_id"), eventId},
                     {QStringLiteral("timestamp"), timestamp},
                     {QStringLiteral("platform"), QStringLiteral("native")},
                     {QStringLiteral("level"), level},
                     {QStringLiteral("environment"), environment},
                     {QStringLiteral("logger"), QStringLiteral("kivo")}};
    if (!release.isEmpty()) {
        json.insert(QStringLiteral("release"), release);
    }
    if (message) {
        json.insert(QStringLiteral("message"), QJsonObject{{QStringLiteral("formatted"), *message}});
    }
    if (exceptions) {
        QJsonArray values;
        for (const auto& e : *exceptions) {
            QJsonObject value{{QStringLiteral("type"), e.type}, {QStringLiteral("value"), e.value}};
            if (e.mechanism) {
                QJsonObject mechanism;
                if (e.mechanism->type) {
                    mechanism.insert(QStringLiteral("type"), *e.mechanism->type);
                }
                value.insert(QStringLiteral("mechanism"), mechanism);
            }
            values.append(value);
        }
        json.insert(QStringLiteral("exception"), QJsonObject{{QStringLiteral("values"), values}});
    }
    if (threads) {
        QJsonArray values;
        for (const auto& t : *threads) {
            QJsonObject thread;
            if (t.stacktrace) {
                QJsonArray frames;
                for (const auto& f : *t.stacktrace) {
                    QJsonObject frame;
                    if (f.function) {
                        frame.insert(QStringLiteral("function"), *f.function);
                    }
                    frames.append(frame);
                }
                thread.insert(QStringLiteral("stacktrace"), QJsonObject{{QStringLiteral("frames"), frames}});
            }
            values.append(thread);
        }
        json.insert(QStringLiteral("threads"), QJsonObject{{QStringLiteral("values"), values}});
    }
    if (!contexts.isEmpty()) {
        json.insert(QStringLiteral("contexts"), contexts);
    }
    return json;
}

} // namespace kivo
