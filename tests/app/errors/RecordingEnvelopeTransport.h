#pragma once

#include "app/ports/EnvelopeTransport.h"

#include <vector>

namespace kivo::test {

// Keeps every envelope handed to it, with the event it came from, and answers that it was delivered, or
// what `delivers` says.
class RecordingEnvelopeTransport : public EnvelopeTransport {
public:
    struct Sent {
        ErrorEvent event;
        QByteArray envelope;
    };

    explicit RecordingEnvelopeTransport(std::vector<Sent>& sink, bool delivers = true)
        : sink_(sink), delivers_(delivers) {}
    void send(const ErrorEvent& event, const QByteArray& envelope, Delivered delivered = {}) override {
        sink_.push_back({event, envelope});
        if (delivered) {
            delivered(delivers_);
        }
    }

private:
    std::vector<Sent>& sink_;
    bool delivers_;
};

} // namespace kivo::test
