#include "ui/rules/RulesPage.h"

#include "app/language/LocalizedStrings.h"
#include "app/rules/BlockRuleStore.h"
#include "app/rules/ProtectionSwitch.h"
#include "browser-monitor/BrowserMonitor.h"
#include "ui/components/AutomationPermissionBanner.h"
#include "ui/components/UnseenBrowsersNotice.h"
#include "ui/rules/GroupReorderSheet.h"
#include "ui/rules/GroupSettingsSheet.h"
#include "ui/rules/RuleDetailPage.h"
#include "ui/screens/ScreenContext.h"
#include "ui/screens/ScreenWidgets.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>
#include <QTreeWidget>
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
    auto* toolbar = new QHBoxLayout;
    toolbar->addWidget(headline(context.text(Strings::Sidebar::rules()), listPage_));
    toolbar->addStretch();
    auto* reorder =
        new QPushButton(QStringLiteral("\u21C5 ") + context.text(Strings::Rules::reorder()), listPage_);
    auto* add = new QPushButton(QStringLiteral("+ ") + context.text(Strings::Rules::add()), listPage_);
    toolbar->addWidget(reorder);
    toolbar->addWidget(add);
    column->addLayout(toolbar);
    connect(reorder, &QPushButton::clicked, this, [this] { openReorderSheet(); });
    connect(add, &QPushButton::clicked, this, [this] { openAddSheet(); });

    // One item per group rather than a widget per row: the list stays quick with hundreds of groups.
    list_ = new QTreeWidget(listPage_);
    list_->setColumnCount(3);
    list_->setHeaderHidden(true);
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setSelectionMode(QAbstractItemView::NoSelection);
    list_->setFocusPolicy(Qt::StrongFocus);
    list_->header()->setStretchLastSection(false);
    list_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    list_->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    list_->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    column->addWidget(list_, 1);
    empty_ = plainLabel(context.text(Strings::Rules::emptyTitle()) + QLatin1Char('\n') +
                            context.text(Strings::Rules::emptyDescription()),
                        listPage_);
    empty_->setAlignment(Qt::AlignCenter);
    empty_->setWordWrap(true);
    column->addWidget(empty_);
    connect(list_, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int column) {
        if (column != 0) {
            return;
        }
        const auto id = Uuid::parse(item->data(0, Qt::UserRole).toString().toStdString());
        if (!id) {
            return;
        }
        ProtectionSwitch::setGroupEnabled(context_.rules, context_.shield, *id,
                                          item->checkState(0) == Qt::Checked);
        // The switch shows what the store holds (still on while the shield counts down).
        for (const auto& g : context_.rules.groups()) {
            if (g.id == *id) {
                const QSignalBlocker quiet(list_);
                item->setCheckState(0, g.isEnabled ? Qt::Checked : Qt::Unchecked);
            }
        }
    });
    connect(list_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item, int column) {
        if (column == 0) {
            return; // the switch
        }
        if (const auto id = Uuid::parse(item->data(0, Qt::UserRole).toString().toStdString())) {
            const Uuid groupId = *id;
            QTimer::singleShot(0, this, [this, groupId] { openGroup(groupId); });
        }
    });
    connect(list_, &QTreeWidget::itemActivated, list_, &QTreeWidget::itemClicked);
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

    const QSignalBlocker quiet(list_);
    list_->clear();
    QList<QTreeWidgetItem*> items;
    for (const auto& group : context_.rules.groups()) {
        auto* item = new QTreeWidgetItem;
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(0, group.isEnabled ? Qt::Checked : Qt::Unchecked);
        item->setData(0, Qt::UserRole, QString::fromStdString(group.id.toString()));
        item->setText(1, fromStd(group.name)); // item text is never read as markup
        item->setText(2, QString::number(group.rules.size()));
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
        items.append(item);
    }
    list_->addTopLevelItems(items);
    list_->setVisible(!items.isEmpty());
    empty_->setVisible(context_.rules.groups().empty());
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
