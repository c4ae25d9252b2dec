#pragma once

#include "domain/Uuid.h"
#include "ui/components/DeferredCall.h"

#include <QWidget>

#include <optional>

class QDialog;
class QLabel;

namespace kivo {

struct ScreenContext;

// The user's brightness triggers: each with its switch, name, levels, time and an apply-now button; a
// click on a row opens it for editing.
class BrightnessTriggerPage : public QWidget {
    Q_OBJECT
public:
    explicit BrightnessTriggerPage(const ScreenContext& context, QWidget* parent = nullptr);
    QLabel* emptyState() const { return empty_; }
    QDialog* openAddSheet();
    QDialog* openEditSheet(const Uuid& id);

private:
    void scheduleRebuild();
    void rebuild();
    const ScreenContext& context_;
    QWidget* rows_ = nullptr;
    QLabel* empty_ = nullptr;
    DeferredCall rebuildLater_{this, [this] { rebuild(); }};
};

} // namespace kivo
