#pragma once

#include "domain/Uuid.h"
#include "ui/rules/ClickableRow.h"

class QCheckBox;
class QLabel;

namespace kivo {

struct ScreenContext;
struct BlockRuleGroup;

// The card at the top of a group's page: its switch, its name and a line summing up when it is active,
// how it unlocks and whether it has its own redirect target. The card is a button that asks for the
// group's settings; its switch takes its own clicks.
class GroupSummaryCard : public ClickableRow {
    Q_OBJECT
public:
    GroupSummaryCard(const ScreenContext& context, const BlockRuleGroup& group, QWidget* parent = nullptr);
    QCheckBox* groupSwitch() const { return switch_; }
    QLabel* summaryLabel() const { return summary_; }
    // Shows the group as the store holds it now, in place.
    void present(const BlockRuleGroup& group);

signals:
    void settingsRequested();

private:
    const ScreenContext& context_;
    QCheckBox* switch_ = nullptr;
    QLabel* name_ = nullptr;
    QLabel* summary_ = nullptr;
};

} // namespace kivo
