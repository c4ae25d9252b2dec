#pragma once

#include <QJsonObject>
#include <QString>

#include <optional>
#include <vector>

namespace kivo {

// One error report, with the parts the before-send filter reads kept as typed fields; `toJson` gives the
// event payload that goes into an envelope.
struct ErrorEvent {
    struct Mechanism {
        std::optional<QString> type;
        friend bool operator==(const Mechanism&, const Mechanism&) = default;
    };
    struct Exception {
        QString type;
        QString value;
        std::optional<Mechanism> mechanism;
        friend bool operator==(const Exception&, const Exception&) = default;
    };
    struct Frame {
        std::optional<QString> function;
        friend bool operator==(const Frame&, const Frame&) = default;
    };
    struct Thread {
        std::optional<std::vector<Frame>> stacktrace; // the frames of the thread's stack trace
        friend bool operator==(const Thread&, const Thread&) = default;
    };

    QString eventId;      // 32 lower-case hex digits
    double timestamp = 0; // seconds since 1970-01-01T00:00:00Z
    QString level;        // "error", "warning", "info"
    QString environment;
    QString release;
    std::optional<QString> message;
    std::optional<std::vector<Exception>> exceptions;
    std::optional<std::vector<Thread>> threads;
    QJsonObject contexts; // name -> object

    QJsonObject toJson() const;

    friend bool operator==(const ErrorEvent&, const ErrorEvent&) = default;
};

} // namespace kivo
