#pragma once

#include "core/TimerFactory.h"

#include <QObject>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace kivo {

// Runs blocking work for one resource (a browser, an I2C bus) on its own thread, one job at a time, and
// reports each job back on the owner's thread. Every job has a deadline that really bounds the caller's
// wait: at the deadline the caller is told "timed out" even while the job is still stuck, and the late
// result is dropped when it finally arrives. A worker whose job is still running is busy; callers skip it
// rather than queueing more work behind a stuck call.
class SerialWorker : public QObject {
    Q_OBJECT
public:
    SerialWorker(std::string name, TimerFactory& timers, QObject* parent = nullptr);
    ~SerialWorker() override;

    SerialWorker(const SerialWorker&) = delete;
    SerialWorker& operator=(const SerialWorker&) = delete;

    const std::string& name() const { return name_; }

    // True while a job is queued or running on the worker thread, including one whose caller has already
    // been given its time-out.
    bool isBusy() const;

    // Runs `work` on the worker thread. `done` runs once on the owner's thread: with the result, or with
    // none when the deadline passed first. `work` must own what it touches (capture by value): a stuck
    // job can outlive its caller.
    template <class R>
    void submit(std::function<R()> work, std::chrono::milliseconds deadline,
                std::function<void(std::optional<R>)> done) {
        auto result = std::make_shared<std::optional<R>>();
        submitJob([work = std::move(work), result] { *result = work(); }, deadline,
                  [done = std::move(done), result](bool timedOut) {
                      if (done) {
                          done(timedOut ? std::nullopt : std::move(*result));
                      }
                  });
    }

    // The same for work without a result: `done` receives true when the job finished before the deadline.
    void submitVoid(std::function<void()> work, std::chrono::milliseconds deadline,
                    std::function<void(bool finished)> done);

signals:
    // The last outstanding job has returned, on the owner's thread: also one whose caller was already
    // given its time-out, so a caller that skipped the worker while it was stuck knows when to go on.
    void idle();

private:
    struct Shared;
    struct Pending {
        std::unique_ptr<Timer> deadline;
        std::function<void(bool timedOut)> done;
    };

    void submitJob(std::function<void()> work, std::chrono::milliseconds deadline,
                   std::function<void(bool timedOut)> done);
    void finish(std::uint64_t id, bool timedOut);
    void returned(std::uint64_t id);

    std::string name_;
    TimerFactory& timers_;
    std::shared_ptr<Shared> shared_;
    std::map<std::uint64_t, Pending> pending_;
    std::uint64_t nextId_ = 1;
};

} // namespace kivo
