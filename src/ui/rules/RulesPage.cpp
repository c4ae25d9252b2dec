#include "ui/rules/RulesPage.h"

#include "app/language/LocalizedStrings.h"
#include "app/rules/BlockRuleStore.h"
#include "app/rules/ProtectionSwitch.h"
#include "browser-monitor/BrowserMonitor.h"
#include "ui/components/AutomationPermissionBanner.h"
#include "ui/components/RowList.h"
#include "ui/components/UnseenBrowsersNotice.h"
#include "ui/rules/GroupReorderSheet.h"
#include "ui/rules/GroupSettingsSheet.h"
#include "ui/rules/RuleDetailPage.h"
#include "ui/rules/SwitchRow.h"
#include "ui/screens/ScreenContext.h"
#include "ui/screens/ScreenWidgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace kivo {

using namespace ScreenWidgets;

RulesPage::RulesPage(const ScreenContext& context, QWidget* parent) : QWidget(parent), context_(context) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    stack_ = new QStackedWidget(this);
    outer->addWidget(stack_);

    listPage_ = new QWidget(stack_);
    auto* column = new QVBoxLayout(listPage_);
    bannerSlot_ = new QWidget(listPage_);
    (new QVBoxLayout(bannerSlot_))->setContentsMargins(0, 0, 0, 0);
    column->addWidget(bannerSlot_);
    unseenNotice_ = new UnseenBrowsersNotice(context, listPage_);
    column->addWidget(unseenNotice_);
    QHBoxLayout* toolbar = titleBar(context.text(Strings::Sidebar::rules()), listPage_);
    auto* reorder =
        new QPushButton(QStringLiteral("\u21C5 ") + context.text(Strings::Rules::reorder()), listPage_);
    auto* add = new QPushButton(QStringLiteral("+ ") + context.text(Strings::Rules::add()), listPage_);
    toolbar->addWidget(reorder);
    toolbar->addWidget(add);
    column->addLayout(toolbar);
    connect(reorder, &QPushButton::clicked, this, [this] { openReorderSheet(); });
    connect(add, &QPushButton::clicked, this, [this] { openAddSheet(); });

    // The rows are updated in place, so a switch or row keeps the focus through a change.
    const RowList::Scrolled scrolled = RowList::inScrollArea(add, add, listPage_);
    scroll_ = scrolled.scroll;
    list_ = scrolled.list;
    scrolled.column->addStretch();
    column->addWidget(scroll_, 1);
    empty_ = plainLabel(context.text(Strings::Rules::emptyTitle()) + QLatin1Char('\n') +
                            context.text(Strings::Rules::emptyDescription()),
                        listPage_);
    empty_->setAlignment(Qt::AlignCenter);
    empty_->setWordWrap(true);
    column->addWidget(empty_);
    stack_->addWidget(listPage_);

    detailHolder_ = new QWidget(stack_);
    auto* detailColumn = new QVBoxLayout(detailHolder_);
    auto* back =
        new QPushButton(QStringLiteral("\u2039 ") + context.text(Strings::Sidebar::rules()), detailHolder_);
    back->setFlat(true);
    detailColumn->addWidget(back, 0, Qt::AlignLeft);
    connect(back, &QPushButton::clicked, this, [this] { QTimer::singleShot(0, this, &RulesPage::showList); });
    stack_->addWidget(detailHolder_);

    connect(&context.rules, &BlockRuleStore::groupsChanged, this, &RulesPage::scheduleRebuild);
    if (context.monitor != nullptr) {
        connect(context.monitor, &BrowserMonitor::permissionStatesChanged, this, &RulesPage::scheduleRebuild);
    }
    rebuildList();
}

void RulesPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!unseenWatch_ && context_.watchUnseenBrowsers) {
        unseenWatch_ = context_.watchUnseenBrowsers();
    }
}

void RulesPage::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    unseenWatch_.reset();
}

void RulesPage::scheduleRebuild() {
    rebuildLater_.request();
}

void RulesPage::rebuildList() {
    // The banner is built anew when the denied browsers change, and is absent while none is.
    const auto denied =
        context_.deniedBrowserNames ? context_.deniedBrowserNames() : std::vector<std::string>{};
    if (banner_ == nullptr || denied != bannerNames_) {
        if (banner_ != nullptr) {
            banner_->hide();
            banner_->deleteLater();
            banner_ = nullptr;
        }
        if (!denied.empty()) {
            banner_ = new AutomationPermissionBanner(context_, denied, bannerSlot_);
            bannerSlot_->layout()->addWidget(banner_);
        }
        bannerNames_ = denied;
    }
    bannerSlot_->setVisible(!denied.empty());

    const auto& groups = context_.rules.groups();
    std::vector<std::string> keys;
    keys.reserve(groups.size());
    for (const auto& group : groups) {
        keys.push_back(group.id.toString());
    }
    list_->sync(
        keys,
        [&](std::size_t i) -> QWidget* {
            const Uuid id = groups[i].id;
            // Opening replaces what is shown: it waits until the row's click has returned.
            return new SwitchRow(
                [this, id] { QTimer::singleShot(0, this, [this, id] { openGroup(id); }); },
                [this, id](bool on) {
                    return ProtectionSwitch::shownValue(
                        ProtectionSwitch::setGroupEnabled(context_.rules, context_.shield, id, on), on);
                },
                list_);
        },
        [&](std::size_t i, QWidget* row) {
            static_cast<SwitchRow*>(row)->present(fromStd(groups[i].name), groups[i].isEnabled,
                                                  QString::number(groups[i].rules.size()));
        });
    scroll_->setVisible(!groups.empty());
    empty_->setVisible(groups.empty());
}

RuleDetailPage* RulesPage::openGroup(const Uuid& groupId) {
    if (detail_ != nullptr) {
        detail_->hide();
        detail_->deleteLater();
    }
    detail_ = new RuleDetailPage(context_, groupId, detailHolder_);
    detailHolder_->layout()->addWidget(detail_);
    stack_->setCurrentWidget(detailHolder_);
    return detail_;
}

void RulesPage::showList() {
    stack_->setCurrentWidget(listPage_);
    if (detail_ != nullptr) {
        detail_->hide();
        detail_->deleteLater();
        detail_ = nullptr;
    }
}

QDialog* RulesPage::openAddSheet() {
    auto* sheet = new GroupSettingsSheet(context_, std::nullopt, this);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    sheet->open();
    return sheet;
}

QDialog* RulesPage::openReorderSheet() {
    auto* sheet = new GroupReorderSheet(context_, this);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    sheet->open();
    return sheet;
}

} // namespace kivo
