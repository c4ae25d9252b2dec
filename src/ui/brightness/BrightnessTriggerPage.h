#pragma once

#include "domain/Uuid.h"
#include "ui/components/DeferredCall.h"

#include <QWidget>

#include <optional>

class QDialog;
class QLabel;

namespace kivo {

struct ScreenContext;
class RowList;

// The user's brightness triggers: each with its switch, name, levels, time and an apply-now button; a
// click on a row opens it for editing. Rows are updated in place, so the focus stays where the user was.
class BrightnessTriggerPage : public QWidget {
    Q_OBJECT
public:
    explicit BrightnessTriggerPage(const ScreenContext& context, QWidget* parent = nullptr);
    QLabel* emptyState() const { return empty_; }
    RowList* triggerRows() const { return rows_; }
    QDialog* openAddSheet();
    QDialog* openEditSheet(const Uuid& id);

private:
    void scheduleRefresh();
    void refresh();
    const ScreenContext& context_;
    RowList* rows_ = nullptr;
    QLabel* empty_ = nullptr;
    DeferredCall refreshLater_{this, [this] { refresh(); }};
};

} // namespace kivo
