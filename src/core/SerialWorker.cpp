#include "core/SerialWorker.h"

#include "core/Threads.h"

#include <QMetaObject>

#include <condition_variable>
#include <deque>
#include <mutex>

namespace kivo {

// State shared with the worker thread. It outlives the SerialWorker when a stuck job keeps the thread
// alive after the owner is gone; `owner` is cleared under the lock so the thread never posts to a
// destroyed object.
struct SerialWorker::Shared {
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::pair<std::uint64_t, std::function<void()>>> queue;
    SerialWorker* owner = nullptr;
    bool stopping = false;
    bool running = false;
    int outstanding = 0; // queued + running
    std::thread thread;
};

SerialWorker::SerialWorker(std::string name, TimerFactory& timers, QObject* parent)
    : QObject(parent), name_(std::move(name)), timers_(timers), shared_(std::make_shared<Shared>()) {
    shared_->owner = this;
    shared_->thread = startThread(name_, [shared = shared_] {
        std::unique_lock lock(shared->mutex);
        for (;;) {
            shared->wake.wait(lock, [&] { return shared->stopping || !shared->queue.empty(); });
            if (shared->stopping) {
                return;
            }
            auto [id, work] = std::move(shared->queue.front());
            shared->queue.pop_front();
            shared->running = true;
            lock.unlock();
            work();
            work = nullptr; // release captured state on this thread, before reporting
            lock.lock();
            shared->running = false;
            --shared->outstanding;
            if (shared->owner) {
                SerialWorker* owner = shared->owner;
                QMetaObject::invokeMethod(
                    owner, [owner, id = id] { owner->returned(id); }, Qt::QueuedConnection);
            }
        }
    });
}

SerialWorker::~SerialWorker() {
    bool running = false;
    {
        std::lock_guard lock(shared_->mutex);
        shared_->owner = nullptr;
        shared_->stopping = true;
        shared_->outstanding -= static_cast<int>(shared_->queue.size());
        shared_->queue.clear();
        running = shared_->running;
    }
    shared_->wake.notify_all();
    if (running) {
        // A stuck job: let the thread end on its own when the call returns.
        shared_->thread.detach();
    } else {
        shared_->thread.join();
    }
}

bool SerialWorker::isBusy() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->outstanding > 0;
}

void SerialWorker::submitVoid(std::function<void()> work, std::chrono::milliseconds deadline,
                              std::function<void(bool finished)> done) {
    submitJob(std::move(work), deadline, [done = std::move(done)](bool timedOut) {
        if (done) {
            done(!timedOut);
        }
    });
}

void SerialWorker::submitJob(std::function<void()> work, std::chrono::milliseconds deadline,
                             std::function<void(bool timedOut)> done) {
    const std::uint64_t id = nextId_++;
    Pending p;
    p.done = std::move(done);
    p.deadline = timers_.createTimer();
    p.deadline->setSingleShot(true);
    p.deadline->setCallback([this, id] { finish(id, true); });
    p.deadline->start(deadline);
    pending_.emplace(id, std::move(p));
    {
        std::lock_guard lock(shared_->mutex);
        shared_->queue.emplace_back(id, std::move(work));
        ++shared_->outstanding;
    }
    shared_->wake.notify_one();
}

void SerialWorker::returned(std::uint64_t id) {
    finish(id, false);
    if (!isBusy()) {
        emit idle();
    }
}

void SerialWorker::finish(std::uint64_t id, bool timedOut) {
    auto it = pending_.find(id);
    if (it == pending_.end()) {
        return; // already reported (time-out before a late result, or the other way round)
    }
    auto done = std::move(it->second.done);
    // The timer may be the caller of this function; destroy it only after its callback returns.
    auto deadline = std::move(it->second.deadline);
    pending_.erase(it);
    deadline->stop();
    if (done) {
        done(timedOut);
    }
    QMetaObject::invokeMethod(
        this, [d = std::shared_ptr<Timer>(std::move(deadline))] {}, Qt::QueuedConnection);
}

} // namespace kivo
