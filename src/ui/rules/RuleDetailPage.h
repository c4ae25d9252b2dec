#pragma once

#include "domain/RuleAction.h"
#include "domain/Uuid.h"
#include "ui/components/DeferredCall.h"

#include <QWidget>

class QPushButton;
class QVBoxLayout;

namespace kivo {

struct ScreenContext;
class GroupSummaryCard;

// One rule group's page: the summary card, a choice between its block and its allow patterns, and the
// patterns with their switches. It holds only the group's id and redraws from the store on every change,
// so a group deleted elsewhere turns it into its "not found" state.
class RuleDetailPage : public QWidget {
    Q_OBJECT
public:
    RuleDetailPage(const ScreenContext& context, const Uuid& groupId, QWidget* parent = nullptr);
    const Uuid& groupId() const { return groupId_; }
    RuleAction selectedTab() const { return selectedTab_; }
    void setSelectedTab(RuleAction tab);
    GroupSummaryCard* card() const { return card_; }
    QPushButton* addButton() const { return add_; }
    // The sheets, opened as the page's own buttons and rows open them.
    QDialog* openAddSheet();
    QDialog* openEditSheet(const Uuid& ruleId);
    QDialog* openSettingsSheet();

private:
    void scheduleRebuild();
    void rebuild();
    const ScreenContext& context_;
    Uuid groupId_;
    RuleAction selectedTab_ = RuleAction::block;
    QWidget* content_ = nullptr;
    GroupSummaryCard* card_ = nullptr;
    QPushButton* add_ = nullptr;
    DeferredCall rebuildLater_{this, [this] { rebuild(); }};
};

} // namespace kivo
