#include "ui/rules/RuleDetailPage.h"

#include "app/language/LocalizedStrings.h"
#include "app/rules/BlockRuleStore.h"
#include "app/rules/ProtectionSwitch.h"
#include "browser-monitor/BrowserMonitor.h"
#include "ui/components/AutomationPermissionBanner.h"
#include "ui/components/RowList.h"
#include "ui/components/UnseenBrowsersNotice.h"
#include "ui/rules/GroupSettingsSheet.h"
#include "ui/rules/GroupSummaryCard.h"
#include "ui/rules/PatternEditSheet.h"
#include "ui/rules/SwitchRow.h"
#include "ui/screens/ScreenContext.h"
#include "ui/screens/ScreenWidgets.h"

#include <QButtonGroup>
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
    // Outside the content, which is updated in place: the notice follows the unseen browsers by itself.
    layout->addWidget(new UnseenBrowsersNotice(context, this));
    connect(&context.rules, &BlockRuleStore::groupsChanged, this, &RuleDetailPage::scheduleRefresh);
    if (context.monitor != nullptr) {
        connect(context.monitor, &BrowserMonitor::permissionStatesChanged, this,
                &RuleDetailPage::scheduleRefresh);
    }
    refresh();
}

void RuleDetailPage::setSelectedTab(RuleAction tab) {
    selectedTab_ = tab;
    scheduleRefresh();
}

void RuleDetailPage::scheduleRefresh() {
    refreshLater_.request();
}

void RuleDetailPage::build(const BlockRuleGroup& group) {
    content_ = new QWidget(this);
    layout()->addWidget(content_);
    auto* column = new QVBoxLayout(content_);
    bannerSlot_ = new QWidget(content_);
    bannerNames_.clear();
    (new QVBoxLayout(bannerSlot_))->setContentsMargins(0, 0, 0, 0);
    column->addWidget(bannerSlot_);
    auto* titleRow = new QHBoxLayout;
    title_ = headline(QString(), content_);
    title_->setAlignment(Qt::AlignLeft);
    titleRow->addWidget(title_, 1);
    add_ = new QPushButton(QStringLiteral("+ ") + context_.text(Strings::RuleDetail::addPattern()), content_);
    titleRow->addWidget(add_);
    column->addLayout(titleRow);
    connect(add_, &QPushButton::clicked, this, [this] { openAddSheet(); });

    card_ = new GroupSummaryCard(context_, group, content_);
    column->addWidget(card_);
    connect(card_, &GroupSummaryCard::settingsRequested, this, [this] { openSettingsSheet(); });

    auto* tabs = new QHBoxLayout;
    auto* exclusive = new QButtonGroup(content_);
    const std::pair<RuleAction, const LocalizedString*> tabKeys[] = {
        {RuleAction::block, &Strings::RuleDetail::Tab::block()},
        {RuleAction::allow, &Strings::RuleDetail::Tab::allow()}};
    tabs->addStretch();
    QPushButton* lastTab = nullptr;
    for (const auto& [action, key] : tabKeys) {
        auto* tab = new QPushButton(content_);
        tab->setCheckable(true); // before the text names it to assistive tools
        tab->setText(context_.text(*key));
        exclusive->addButton(tab);
        tabs->addWidget(tab);
        const RuleAction a = action;
        tabs_[a == RuleAction::block ? 0 : 1] = tab;
        connect(tab, &QPushButton::clicked, this, [this, a] { setSelectedTab(a); });
        lastTab = tab;
    }
    tabs->addStretch();
    column->addLayout(tabs);

    const RowList::Scrolled scrolled = RowList::inScrollArea(lastTab, add_, content_);
    rows_ = scrolled.list;
    empty_ = new QWidget(scrolled.scroll->widget());
    auto* emptyColumn = new QVBoxLayout(empty_);
    emptyColumn->addStretch();
    emptyTitle_ = headline(QString(), empty_);
    emptyColumn->addWidget(emptyTitle_);
    emptyDescription_ = captionLabel(QString(), empty_);
    emptyDescription_->setAlignment(Qt::AlignHCenter);
    emptyDescription_->setWordWrap(true);
    emptyColumn->addWidget(emptyDescription_);
    auto* plus = new QPushButton(QStringLiteral("\u2295"), empty_);
    plus->setFlat(true);
    plus->setAccessibleName(context_.text(Strings::RuleDetail::addPattern()));
    QFont big = plus->font();
    big.setPointSize(28);
    plus->setFont(big);
    emptyColumn->addWidget(plus, 0, Qt::AlignHCenter);
    connect(plus, &QPushButton::clicked, this, [this] { openAddSheet(); });
    scrolled.column->addWidget(empty_);
    scrolled.column->addStretch();
    column->addWidget(scrolled.scroll, 1);
}

void RuleDetailPage::refresh() {
    const BlockRuleGroup* group = findGroup(context_.rules, groupId_);
    if (group == nullptr) {
        if (content_ != nullptr) {
            content_->hide();
            content_->deleteLater();
            content_ = nullptr;
            card_ = nullptr;
            add_ = nullptr;
        }
        if (notFound_ == nullptr) {
            notFound_ = new QWidget(this);
            auto* column = new QVBoxLayout(notFound_);
            column->addStretch();
            column->addWidget(headline(context_.text(Strings::RuleDetail::notFound()), notFound_));
            column->addStretch();
            layout()->addWidget(notFound_);
        }
        return;
    }
    if (notFound_ != nullptr) {
        notFound_->hide();
        notFound_->deleteLater();
        notFound_ = nullptr;
    }
    if (content_ == nullptr) {
        build(*group);
    }
    // The notice is made anew when the denied browsers change, and is absent while none is.
    const auto denied =
        context_.deniedBrowserNames ? context_.deniedBrowserNames() : std::vector<std::string>{};
    if (denied != bannerNames_) {
        for (QWidget* old : bannerSlot_->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            old->hide();
            old->deleteLater();
        }
        if (!denied.empty()) {
            bannerSlot_->layout()->addWidget(new AutomationPermissionBanner(context_, denied, bannerSlot_));
        }
        bannerNames_ = denied;
    }
    bannerSlot_->setVisible(!denied.empty());
    title_->setText(fromStd(group->name));
    card_->present(*group);
    tabs_[0]->setChecked(selectedTab_ == RuleAction::block);
    tabs_[1]->setChecked(selectedTab_ == RuleAction::allow);

    std::vector<const BlockRule*> shown;
    std::vector<std::string> keys;
    for (const BlockRule& rule : group->rules) {
        if (rule.action == selectedTab_) {
            shown.push_back(&rule);
            keys.push_back(rule.id.toString());
        }
    }
    rows_->sync(
        keys,
        [&](std::size_t i) -> QWidget* {
            const Uuid ruleId = shown[i]->id;
            return new SwitchRow([this, ruleId] { openEditSheet(ruleId); },
                                 [this, ruleId](bool on) {
                                     return ProtectionSwitch::shownValue(
                                         ProtectionSwitch::setRuleEnabled(context_.rules, context_.shield,
                                                                          groupId_, ruleId, on),
                                         on);
                                 },
                                 rows_);
        },
        [&](std::size_t i, QWidget* row) {
            static_cast<SwitchRow*>(row)->present(fromStd(shown[i]->displayPattern()), shown[i]->isEnabled);
        });
    const bool block = selectedTab_ == RuleAction::block;
    namespace E = Strings::RuleDetail::Empty;
    emptyTitle_->setText(context_.text(block ? E::blockTitle() : E::allowTitle()));
    emptyDescription_->setText(context_.text(block ? E::blockDescription() : E::allowDescription()));
    empty_->setVisible(shown.empty());
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
