#include "ui/rules/RuleDetailPage.h"

#include "app/language/LocalizedStrings.h"
#include "app/rules/BlockRuleStore.h"
#include "app/rules/ProtectionSwitch.h"
#include "browser-monitor/BrowserMonitor.h"
#include "ui/components/AutomationPermissionBanner.h"
#include "ui/components/UnseenBrowsersNotice.h"
#include "ui/rules/ClickableRow.h"
#include "ui/rules/GroupSettingsSheet.h"
#include "ui/rules/GroupSummaryCard.h"
#include "ui/rules/PatternEditSheet.h"
#include "ui/screens/ScreenContext.h"
#include "ui/screens/ScreenWidgets.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>

namespace kivo {

using namespace ScreenWidgets;

namespace {

const BlockRuleGroup* findGroup(const BlockRuleStore& store, const Uuid& id) {
    const auto& groups = store.groups();
    const auto it =
        std::find_if(groups.begin(), groups.end(), [&](const BlockRuleGroup& g) { return g.id == id; });
    return it == groups.end() ? nullptr : &*it;
}

QDialog* present(QDialog* sheet) {
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    sheet->open();
    return sheet;
}

} // namespace

RuleDetailPage::RuleDetailPage(const ScreenContext& context, const Uuid& groupId, QWidget* parent)
    : QWidget(parent), context_(context), groupId_(groupId) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    // Outside the content, which is rebuilt: the notice follows the unseen browsers by itself.
    layout->addWidget(new UnseenBrowsersNotice(context, this));
    connect(&context.rules, &BlockRuleStore::groupsChanged, this, &RuleDetailPage::scheduleRebuild);
    if (context.monitor != nullptr) {
        connect(context.monitor, &BrowserMonitor::permissionStatesChanged, this,
                &RuleDetailPage::scheduleRebuild);
    }
    rebuild();
}

void RuleDetailPage::setSelectedTab(RuleAction tab) {
    selectedTab_ = tab;
    scheduleRebuild();
}

void RuleDetailPage::scheduleRebuild() {
    rebuildLater_.request();
}

void RuleDetailPage::rebuild() {
    if (content_ != nullptr) {
        content_->hide();
        content_->deleteLater();
    }
    card_ = nullptr;
    add_ = nullptr;
    content_ = new QWidget(this);
    layout()->addWidget(content_);
    auto* column = new QVBoxLayout(content_);
    const BlockRuleGroup* group = findGroup(context_.rules, groupId_);
    if (group == nullptr) {
        column->addStretch();
        QLabel* notFound = headline(context_.text(Strings::RuleDetail::notFound()), content_);
        column->addWidget(notFound);
        column->addStretch();
        return;
    }
    const auto denied =
        context_.deniedBrowserNames ? context_.deniedBrowserNames() : std::vector<std::string>{};
    if (!denied.empty()) {
        column->addWidget(new AutomationPermissionBanner(context_, denied, content_));
    }
    auto* titleRow = new QHBoxLayout;
    QLabel* title = headline(fromStd(group->name), content_);
    title->setAlignment(Qt::AlignLeft);
    titleRow->addWidget(title, 1);
    add_ = new QPushButton(QStringLiteral("+ ") + context_.text(Strings::RuleDetail::addPattern()), content_);
    titleRow->addWidget(add_);
    column->addLayout(titleRow);
    connect(add_, &QPushButton::clicked, this, [this] { openAddSheet(); });

    card_ = new GroupSummaryCard(context_, *group, content_);
    column->addWidget(card_);
    connect(card_, &GroupSummaryCard::settingsRequested, this, [this] { openSettingsSheet(); });

    auto* tabs = new QHBoxLayout;
    auto* exclusive = new QButtonGroup(content_);
    const std::pair<RuleAction, const LocalizedString*> tabKeys[] = {
        {RuleAction::block, &Strings::RuleDetail::Tab::block()},
        {RuleAction::allow, &Strings::RuleDetail::Tab::allow()}};
    tabs->addStretch();
    for (const auto& [action, key] : tabKeys) {
        auto* tab = new QPushButton(context_.text(*key), content_);
        tab->setCheckable(true);
        tab->setChecked(action == selectedTab_);
        exclusive->addButton(tab);
        tabs->addWidget(tab);
        const RuleAction a = action;
        connect(tab, &QPushButton::clicked, this, [this, a] { setSelectedTab(a); });
    }
    tabs->addStretch();
    column->addLayout(tabs);

    auto* scroll = new QScrollArea(content_);
    scroll->setWidgetResizable(true);
    auto* list = new QWidget(scroll);
    auto* rows = new QVBoxLayout(list);
    bool any = false;
    for (const BlockRule& rule : group->rules) {
        if (rule.action != selectedTab_) {
            continue;
        }
        any = true;
        const Uuid ruleId = rule.id;
        auto* row = new ClickableRow([this, ruleId] { openEditSheet(ruleId); }, list);
        auto* line = new QHBoxLayout(row);
        line->setContentsMargins(4, 2, 4, 2);
        QCheckBox* toggle = makeSwitch(row);
        toggle->setChecked(rule.isEnabled);
        line->addWidget(toggle);
        QLabel* pattern = plainLabel(fromStd(rule.displayPattern()), row);
        pattern->setTextInteractionFlags(Qt::NoTextInteraction);
        line->addWidget(pattern, 1);
        rows->addWidget(row);
        connect(toggle, &QCheckBox::clicked, this, [this, toggle, ruleId](bool on) {
            ProtectionSwitch::setRuleEnabled(context_.rules, context_.shield, groupId_, ruleId, on);
            if (const BlockRuleGroup* live = findGroup(context_.rules, groupId_)) {
                for (const auto& r : live->rules) {
                    if (r.id == ruleId) {
                        toggle->setChecked(r.isEnabled);
                    }
                }
            }
        });
    }
    if (!any) {
        const bool block = selectedTab_ == RuleAction::block;
        namespace E = Strings::RuleDetail::Empty;
        rows->addStretch();
        rows->addWidget(headline(context_.text(block ? E::blockTitle() : E::allowTitle()), list));
        QLabel* description =
            captionLabel(context_.text(block ? E::blockDescription() : E::allowDescription()), list);
        description->setAlignment(Qt::AlignHCenter);
        description->setWordWrap(true);
        rows->addWidget(description);
        auto* plus = new QPushButton(QStringLiteral("\u2295"), list);
        plus->setFlat(true);
        plus->setAccessibleName(context_.text(Strings::RuleDetail::addPattern()));
        QFont big = plus->font();
        big.setPointSize(28);
        plus->setFont(big);
        rows->addWidget(plus, 0, Qt::AlignHCenter);
        connect(plus, &QPushButton::clicked, this, [this] { openAddSheet(); });
    }
    rows->addStretch();
    scroll->setWidget(list);
    column->addWidget(scroll, 1);
}

QDialog* RuleDetailPage::openAddSheet() {
    return present(
        new PatternEditSheet(context_, PatternEditPresenter::adding(groupId_, selectedTab_), this));
}

QDialog* RuleDetailPage::openEditSheet(const Uuid& ruleId) {
    const BlockRuleGroup* group = findGroup(context_.rules, groupId_);
    if (group == nullptr) {
        return nullptr;
    }
    for (const auto& rule : group->rules) {
        if (rule.id == ruleId) {
            return present(
                new PatternEditSheet(context_, PatternEditPresenter::editing(groupId_, rule), this));
        }
    }
    return nullptr;
}

QDialog* RuleDetailPage::openSettingsSheet() {
    const BlockRuleGroup* group = findGroup(context_.rules, groupId_);
    if (group == nullptr) {
        return nullptr;
    }
    return present(new GroupSettingsSheet(context_, *group, this));
}

} // namespace kivo
