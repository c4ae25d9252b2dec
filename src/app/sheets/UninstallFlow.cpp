#include "app/sheets/UninstallFlow.h"

#include <utility>

namespace kivo {

UninstallFlow::UninstallFlow(QObject* parent) : QObject(parent) {}

void UninstallFlow::begin(std::function<void()> performUninstall) {
    performUninstall_ = std::move(performUninstall);
    setStage(Stage::warning);
}

void UninstallFlow::cancel() {
    setStage(Stage::inactive);
    performUninstall_ = nullptr;
}

void UninstallFlow::confirm() {
    auto action = std::move(performUninstall_);
    performUninstall_ = nullptr;
    setStage(Stage::inactive);
    // Last, with the flow already idle: the action may quit the program or begin a new uninstall.
    if (action) {
        action();
    }
}

void UninstallFlow::setStage(Stage stage) {
    if (stage_ == stage) {
        return;
    }
    stage_ = stage;
    emit stageChanged();
}

} // namespace kivo
