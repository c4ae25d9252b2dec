#pragma once

#include "app/ports/EnvelopeTransport.h"

#include <vector>

namespace kivo::test {

// Keeps every envelope handed to it, with the event it came from.
class RecordingEnvelopeTransport : public EnvelopeTransport {
public:
    struct Sent {
        ErrorEvent event;
        QByteArray envelope;
    };

    explicit RecordingEnvelopeTransport(std::vector<Sent>& sink) : sink_(sink) {}
    void send(const ErrorEvent& event, const QByteArray& envelope) override {
        sink_.push_back({event, envelope});
    }

private:
    std::vector<Sent>& sink_;
};

} // namespace kivo::test
