#pragma once

#include "domain/RuleAction.h"
#include "domain/Uuid.h"
#include "ui/components/DeferredCall.h"

#include <QWidget>

#include <string>
#include <vector>

class QLabel;
class QPushButton;

namespace kivo {

struct ScreenContext;
struct BlockRuleGroup;
class GroupSummaryCard;
class RowList;

// One rule group's page: the summary card, a choice between its block and its allow patterns, and the
// patterns with their switches. It holds only the group's id and brings itself up to date with the store
// on every change, in place so the focus stays where the user was; a group deleted elsewhere turns it into
// its "not found" state.
class RuleDetailPage : public QWidget {
    Q_OBJECT
public:
    RuleDetailPage(const ScreenContext& context, const Uuid& groupId, QWidget* parent = nullptr);
    const Uuid& groupId() const { return groupId_; }
    RuleAction selectedTab() const { return selectedTab_; }
    void setSelectedTab(RuleAction tab);
    GroupSummaryCard* card() const { return card_; }
    QPushButton* addButton() const { return add_; }
    RowList* patternRows() const { return rows_; }
    // The sheets, opened as the page's own buttons and rows open them.
    QDialog* openAddSheet();
    QDialog* openEditSheet(const Uuid& ruleId);
    QDialog* openSettingsSheet();

private:
    void scheduleRefresh();
    void refresh();
    void build(const BlockRuleGroup& group);
    const ScreenContext& context_;
    Uuid groupId_;
    RuleAction selectedTab_ = RuleAction::block;
    QWidget* content_ = nullptr;
    QWidget* notFound_ = nullptr;
    QWidget* bannerSlot_ = nullptr;
    std::vector<std::string> bannerNames_;
    QLabel* title_ = nullptr;
    GroupSummaryCard* card_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* tabs_[2] = {nullptr, nullptr};
    RowList* rows_ = nullptr;
    QWidget* empty_ = nullptr;
    QLabel* emptyTitle_ = nullptr;
    QLabel* emptyDescription_ = nullptr;
    DeferredCall refreshLater_{this, [this] { refresh(); }};
};

} // namespace kivo
