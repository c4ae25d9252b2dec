#pragma once

#include "app/shield/PresentationOptions.h"
#include "app/shield/SessionLockSource.h"
#include "app/shield/UserIdleSource.h"
#include "core/Timer.h"
#include "domain/BlockRuleGroup.h"
#include "domain/ShieldCountdownState.h"

#include <QObject>
#include <QPointer>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace kivo {

class BlockRuleStore;
class Clock;
class ShieldWindowSystem;
class TimerFactory;

// Makes the user wait before switching protection off takes effect: it works out the wait from the
// group's unlock policy, veils every screen, counts down once a second and then runs the unlock. Escape
// or the cancel button end the wait with nothing changed.
//
// The session's lock wins over the shield: when the session locks or the machine is about to sleep, the
// veils let go of the keyboard and stay under the locker's windows, and the countdown stands still, so
// nothing is unlocked behind a locked screen. Once the locker is gone the shield is whole again and
// counts on from where it stood. A locker that tells no one before it locks (one started after the user's
// idle time) could never take the keyboard from the shield; so once the user has been away for a while the
// veils let go of it too, and take it again at the next input, or once such a locker lets go.
class ShieldOverlayController : public QObject {
    Q_OBJECT
public:
    using Completion = std::function<void(BlockRuleStore&)>;

    ShieldOverlayController(ShieldWindowSystem& windowSystem, const Clock& clock, TimerFactory& timers,
                            QObject* parent = nullptr);
    ~ShieldOverlayController() override;

    // True from a present that needs a wait until its dismissal, whether or not a screen is connected.
    bool isShown() const { return shown_; }
    const std::optional<ShieldCountdownState>& countdownState() const { return countdownState_; }
    const std::optional<BlockRuleGroup>& targetGroup() const { return targetGroup_; }

    // Asks to unlock `group`. Without a wait the completion runs at once; otherwise it runs with the
    // store when the countdown ends. A request while the shield is up is ignored.
    void present(const BlockRuleGroup& group, BlockRuleStore& store, Completion completion);
    // Takes the shield down; with `unlocked` the unlock is counted and the completion runs.
    void dismiss(bool unlocked);
    // Follows `source` from now on; it must outlive the controller.
    void followSessionLock(SessionLockSource& source);
    // True while the shield stands aside for a screen locker.
    bool isYieldingToLock() const { return yielding_; }
    // The idle time after which the veils let go of the keyboard; below every locker's shortest.
    static constexpr std::chrono::seconds kAwayAfter{30};
    // Follows the user's idle time from now on; `source` must outlive the controller.
    void followUserIdle(UserIdleSource& source, std::chrono::milliseconds awayAfter = kAwayAfter);
    // True while the veils have let go of the keyboard for a user who is away.
    bool isAsideWhileAway() const { return away_; }
    // The seconds to wait for `group` now. A backoff record past its reset interval is reset in the
    // store on the way.
    std::int64_t waitSeconds(const BlockRuleGroup& group, BlockRuleStore& store);

signals:
    void shownChanged();
    void countdownStateChanged();

private:
    void tick();
    void rebuildWindows();
    void setShown(bool shown);
    void setCountdownState(std::optional<ShieldCountdownState> state);
    void clearRequest();
    void sessionLockChanged(SessionLockSource::Change change);
    void yieldToLock();
    void awaitLockerGone(std::chrono::milliseconds grace);
    void lockEnded();
    void checkAway();
    void pollAway();
    void endAway();

    ShieldWindowSystem& windowSystem_;
    const Clock& clock_;
    std::unique_ptr<Timer> timer_;

    bool shown_ = false;
    std::optional<ShieldCountdownState> countdownState_;
    PresentationOptions savedPresentationOptions_;
    std::optional<BlockRuleGroup> targetGroup_;
    Completion completion_;
    QPointer<BlockRuleStore> store_;
    SessionLockSource* sessionLock_ = nullptr;
    bool yielding_ = false;
    bool sleeping_ = false;
    UserIdleSource* idle_ = nullptr;
    std::chrono::milliseconds awayAfter_{kAwayAfter};
    std::unique_ptr<Timer> awayPoll_;
    std::chrono::milliseconds lastIdle_{0};
    bool away_ = false;
};

} // namespace kivo
