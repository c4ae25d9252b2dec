#pragma once

#include <QObject>

#include <functional>

namespace kivo {

// The uninstall warning: one step, no countdown. It holds the uninstall action until the user confirms
// or cancels.
class UninstallFlow : public QObject {
    Q_OBJECT
public:
    enum class Stage { inactive, warning };

    explicit UninstallFlow(QObject* parent = nullptr);

    Stage stage() const { return stage_; }
    bool hasPendingUninstall() const { return static_cast<bool>(performUninstall_); }

    // Shows the warning and keeps the action; an action still pending from an earlier begin is dropped.
    void begin(std::function<void()> performUninstall);
    // Back to inactive; the action is dropped without running.
    void cancel();
    // Back to inactive, then runs the pending action, if any. What decides is whether an action is
    // pending, not the stage: only begin leaves one.
    void confirm();

signals:
    void stageChanged();

private:
    void setStage(Stage stage);

    Stage stage_ = Stage::inactive;
    std::function<void()> performUninstall_;
};

} // namespace kivo
