#include "app/shield/ShieldOverlayController.h"

#include "app/rules/BlockRuleStore.h"
#include "app/shield/ShieldWindowSystem.h"
#include "core/Clock.h"
#include "core/Log.h"
#include "core/TimerFactory.h"

#include <algorithm>
#include <chrono>
#include <utility>

namespace kivo {

namespace {

// How long a locker started on the session's news may take to hold the keyboard before the shield takes
// it back; i3lock gives up after about a second, a busy machine is slower.
constexpr std::chrono::seconds kLockerStart{10};
// After an unlock: the X server's screen saver goes off at the first input, which may come before the
// locker started as it turned on has grabbed; a moment lets it, or the shield would keep it out.
constexpr std::chrono::seconds kLockerGrab{2};
// While the user is away, how often the idle time is read for the next input.
constexpr std::chrono::milliseconds kAwayPoll{200};

} // namespace

ShieldOverlayController::ShieldOverlayController(ShieldWindowSystem& windowSystem, const Clock& clock,
                                                 TimerFactory& timers, QObject* parent)
    : QObject(parent), windowSystem_(windowSystem), clock_(clock), timer_(timers.createTimer()),
      awayPoll_(timers.createTimer()) {
    // One timer for the life of the controller, so a second countdown can never run beside the first.
    timer_->setCallback([this] { tick(); });
    awayPoll_->setCallback([this] { pollAway(); });
}

ShieldOverlayController::~ShieldOverlayController() {
    if (sessionLock_) {
        sessionLock_->setSessionLockHandler(nullptr);
    }
    // Going away with the shield up must not leave the desktop locked; the pending unlock is dropped.
    if (shown_) {
        timer_->stop();
        windowSystem_.setScreensChangedHandler(nullptr);
        windowSystem_.closeVeils();
        windowSystem_.setPresentationOptions(savedPresentationOptions_);
    }
}

void ShieldOverlayController::present(const BlockRuleGroup& group, BlockRuleStore& store,
                                      Completion completion) {
    if (shown_) {
        qCDebug(lcLifecycle, "Shield already shown; unlock request ignored");
        return;
    }
    targetGroup_ = group;
    completion_ = std::move(completion);
    store_ = &store;

    const std::int64_t seconds = waitSeconds(group, store);
    if (seconds < 1) {
        // Nothing to wait for: the request is finished here and must not linger for a later dismissal.
        auto action = std::move(completion_);
        clearRequest();
        if (action) {
            action(store);
        }
        return;
    }

    if (windowSystem_.screens().empty()) {
        // Nowhere to show the wait: treat it as a cancel rather than lock the desktop invisibly.
        qCWarning(lcLifecycle, "No screen to show the shield on; unlock cancelled");
        clearRequest();
        return;
    }

    setCountdownState(ShieldCountdownState{seconds, seconds});
    savedPresentationOptions_ = windowSystem_.presentationOptions();
    windowSystem_.setPresentationOptions(PresentationOptions{PresentationOptions::shield});
    setShown(true);
    rebuildWindows();
    timer_->start(std::chrono::seconds(1));
    windowSystem_.setScreensChangedHandler([this] {
        // Veils built now would cover the locker: they are built when it is gone, or the user is back.
        if (shown_ && !yielding_ && !away_) {
            rebuildWindows();
        }
    });
}

void ShieldOverlayController::dismiss(bool unlocked) {
    if (!shown_) {
        return;
    }
    timer_->stop();
    endAway();
    windowSystem_.setScreensChangedHandler(nullptr);

    auto group = std::move(targetGroup_);
    QPointer<BlockRuleStore> store = store_;
    auto action = std::move(completion_);

    windowSystem_.closeVeils();
    yielding_ = false;
    clearRequest();
    setCountdownState(std::nullopt);
    windowSystem_.setPresentationOptions(savedPresentationOptions_);
    setShown(false);

    if (!unlocked || !group || !store) {
        return;
    }
    if (group->unlockPolicy.asWaitWithBackoff() != nullptr) {
        store->recordUnlock(group->id);
    }
    if (action) {
        action(*store);
    }
}

std::int64_t ShieldOverlayController::waitSeconds(const BlockRuleGroup& group, BlockRuleStore& store) {
    const UnlockPolicy& policy = group.unlockPolicy;
    if (policy.isInstant()) {
        return 0;
    }
    if (const auto* wait = policy.asWaitToUnlock()) {
        return wait->seconds;
    }
    const auto* backoff = policy.asWaitWithBackoff();
    BackoffRecord record = store.backoffRecord(group.id);
    if (record.shouldReset(backoff->resetInterval, clock_.now())) {
        record = record.reset();
        store.resetBackoffRecord(group.id);
    }
    return record.waitSeconds(backoff->baseSeconds);
}

void ShieldOverlayController::tick() {
    if (!countdownState_ || countdownState_->remainingSeconds == 0) {
        timer_->stop();
        return;
    }
    const std::int64_t next = countdownState_->remainingSeconds - 1;
    if (next < 1) {
        setCountdownState(std::nullopt);
        timer_->stop();
        dismiss(true);
        return;
    }
    setCountdownState(ShieldCountdownState{countdownState_->totalSeconds, next});
    checkAway();
}

void ShieldOverlayController::rebuildWindows() {
    windowSystem_.closeVeils();
    const auto screens = windowSystem_.screens();
    // The main screen carries the countdown and the cancel button; should the system name a main screen
    // that is not in the list, the first screen does, so that the wait can always be cancelled.
    std::optional<ShieldScreen> primary = windowSystem_.mainScreen();
    if (primary && std::find(screens.begin(), screens.end(), *primary) == screens.end()) {
        primary.reset();
    }
    if (!primary && !screens.empty()) {
        primary = screens.front();
    }
    for (const auto& screen : screens) {
        const bool isPrimary = primary && screen == *primary;
        // Escape typed at a lock screen is the locker's, whichever window it reaches.
        windowSystem_.showVeil(screen, isPrimary, *this, [this] {
            if (!yielding_) {
                dismiss(false);
            }
        });
    }
}

void ShieldOverlayController::followSessionLock(SessionLockSource& source) {
    if (sessionLock_) {
        sessionLock_->setSessionLockHandler(nullptr);
    }
    sessionLock_ = &source;
    source.setSessionLockHandler([this](SessionLockSource::Change change) { sessionLockChanged(change); });
}

void ShieldOverlayController::sessionLockChanged(SessionLockSource::Change change) {
    using Change = SessionLockSource::Change;
    switch (change) {
    case Change::locked:
        if (shown_) {
            yieldToLock();
            if (!sleeping_) {
                awaitLockerGone(kLockerStart);
            }
        }
        break;
    case Change::sleeping:
        sleeping_ = true;
        if (shown_) {
            yieldToLock();
            // A locker started for the sleep may take the keyboard only after the wake.
            windowSystem_.whenKeyboardFree(std::chrono::milliseconds(0), nullptr);
        }
        break;
    case Change::woke:
        sleeping_ = false;
        if (yielding_) {
            awaitLockerGone(kLockerStart);
        }
        break;
    case Change::unlocked:
        // The login manager's word is not enough while a locker still holds the keyboard.
        if (yielding_ && !sleeping_) {
            awaitLockerGone(kLockerGrab);
        }
        break;
    }
}

void ShieldOverlayController::yieldToLock() {
    endAway();
    if (yielding_) {
        return;
    }
    yielding_ = true;
    // Nothing is unlocked behind a locked screen: the countdown stands still.
    timer_->stop();
    windowSystem_.yieldToLocker();
    qCInfo(lcLifecycle, "Session locks or sleeps: the shield stands aside for the screen locker");
}

void ShieldOverlayController::awaitLockerGone(std::chrono::milliseconds grace) {
    windowSystem_.whenKeyboardFree(grace, [this] { lockEnded(); });
}

void ShieldOverlayController::lockEnded() {
    if (!shown_ || !yielding_) {
        return;
    }
    yielding_ = false;
    qCInfo(lcLifecycle, "Screen lock over: the shield covers the screens again");
    // Fresh veils are mapped above every window, the locker's last ones included, and take the grabs.
    rebuildWindows();
    timer_->start(std::chrono::seconds(1));
}

void ShieldOverlayController::followUserIdle(UserIdleSource& source, std::chrono::milliseconds awayAfter) {
    idle_ = &source;
    awayAfter_ = awayAfter;
}

void ShieldOverlayController::checkAway() {
    if (!idle_ || away_ || yielding_ || !shown_) {
        return;
    }
    const auto idle = idle_->idleTime();
    if (!idle || *idle < awayAfter_) {
        return;
    }
    away_ = true;
    lastIdle_ = *idle;
    // The veils stay up and the countdown goes on; only the keyboard and the pointer are let go.
    windowSystem_.yieldToLocker();
    awayPoll_->start(kAwayPoll);
    qCInfo(lcLifecycle,
           "No input for a while: the shield lets go of the keyboard, so that a locker can lock");
}

void ShieldOverlayController::pollAway() {
    if (!away_) {
        awayPoll_->stop();
        return;
    }
    const auto idle = idle_ ? idle_->idleTime() : std::nullopt;
    if (idle && *idle >= lastIdle_) {
        lastIdle_ = *idle;
        return;
    }
    // Input again (or the idle time can no longer be told): the user is back, at the shield or at a
    // locker that took the keyboard meanwhile. The countdown waits until no locker holds it.
    endAway();
    yielding_ = true;
    timer_->stop();
    awaitLockerGone(std::chrono::milliseconds(0));
}

void ShieldOverlayController::endAway() {
    away_ = false;
    awayPoll_->stop();
}

void ShieldOverlayController::setShown(bool shown) {
    if (shown_ == shown) {
        return;
    }
    shown_ = shown;
    emit shownChanged();
}

void ShieldOverlayController::setCountdownState(std::optional<ShieldCountdownState> state) {
    if (countdownState_ == state) {
        return;
    }
    countdownState_ = std::move(state);
    emit countdownStateChanged();
}

void ShieldOverlayController::clearRequest() {
    targetGroup_.reset();
    completion_ = nullptr;
    store_.clear();
}

} // namespace kivo
