#pragma once

#include "app/shield/SessionLockSource.h"

#include <vector>

namespace kivo {

// Several sources of the session's lock as one: every change of each reaches the one handler.
class CombinedSessionLock final : public SessionLockSource {
public:
    explicit CombinedSessionLock(std::vector<SessionLockSource*> sources) : sources_(std::move(sources)) {}
    ~CombinedSessionLock() override { setSessionLockHandler(nullptr); }
    CombinedSessionLock(const CombinedSessionLock&) = delete;
    CombinedSessionLock& operator=(const CombinedSessionLock&) = delete;

    void setSessionLockHandler(std::function<void(Change)> handler) override {
        for (SessionLockSource* source : sources_)
            source->setSessionLockHandler(handler);
    }

private:
    std::vector<SessionLockSource*> sources_;
};

} // namespace kivo
