#include "ui/rules/RulesPage.h"

#include "app/BlockRuleStore.h"
#include "app/LocalizedStrings.h"
#include "app/rules/ProtectionSwitch.h"
#include "ui/rules/ClickableRow.h"
#include "ui/rules/GroupReorderSheet.h"
#include "ui/rules/GroupSettingsSheet.h"
#include "ui/rules/RuleDetailPage.h"
#include "ui/screens/ScreenContext.h"
#include "ui/screens/ScreenWidgets.h"

#include <QCheckBox>
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
    banner_ = plainLabel(QString(), listPage_);
    banner_->setWordWrap(true);
    banner_->setObjectName(QStringLiteral("automationBanner"));
    column->addWidget(banner_);
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

    auto* scroll = new QScrollArea(listPage_);
    scroll->setWidgetResizable(true);
    auto* holder = new QWidget(scroll);
    auto* holderColumn = new QVBoxLayout(holder);
    rows_ = new QWidget(holder);
    new QVBoxLayout(rows_);
    rows_->layout()->setContentsMargins(0, 0, 0, 0);
    rows_->layout()->setSpacing(0);
    holderColumn->addWidget(rows_);
    empty_ = plainLabel(context.text(Strings::Rules::emptyTitle()) + QLatin1Char('\n') +
                            context.text(Strings::Rules::emptyDescription()),
                        holder);
    empty_->setAlignment(Qt::AlignCenter);
    empty_->setWordWrap(true);
    holderColumn->addWidget(empty_);
    holderColumn->addStretch();
    scroll->setWidget(holder);
    column->addWidget(scroll, 1);
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
    rebuildList();
}

void RulesPage::scheduleRebuild() {
    // The change may come from a row's own switch: rows are replaced on a later turn of the event loop.
    if (rebuildPending_) {
        return;
    }
    rebuildPending_ = true;
    QTimer::singleShot(0, this, [this] {
        rebuildPending_ = false;
        rebuildList();
    });
}

void RulesPage::rebuildList() {
    const auto denied =
        context_.deniedBrowserNames ? context_.deniedBrowserNames() : std::vector<std::string>{};
    QStringList names;
    for (const auto& n : denied) {
        names << fromStd(n);
    }
    banner_->setText(names.isEmpty() ? QString()
                                     : context_.text(Strings::Permissions::Automation::message(
                                           names.join(QStringLiteral(", ")))));
    banner_->setVisible(!names.isEmpty());

    auto* old = rows_;
    auto* holderLayout = static_cast<QVBoxLayout*>(old->parentWidget()->layout());
    rows_ = new QWidget(old->parentWidget());
    rows_->setUpdatesEnabled(false);
    auto* layout = new QVBoxLayout(rows_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (const auto& group : context_.rules.groups()) {
        const Uuid id = group.id;
        auto* row = new ClickableRow(
            [this, id] { QTimer::singleShot(0, this, [this, id] { openGroup(id); }); }, rows_);
        auto* line = new QHBoxLayout(row);
        line->setContentsMargins(6, 4, 6, 4);
        QCheckBox* toggle = makeSwitch(row);
        toggle->setChecked(group.isEnabled);
        line->addWidget(toggle);
        line->addWidget(plainLabel(fromStd(group.name), row), 1);
        line->addWidget(captionLabel(QString::number(group.rules.size()), row));
        layout->addWidget(row);
        connect(toggle, &QCheckBox::clicked, this, [this, toggle, id](bool on) {
            ProtectionSwitch::setGroupEnabled(context_.rules, context_.shield, id, on);
            for (const auto& g : context_.rules.groups()) {
                if (g.id == id) {
                    toggle->setChecked(g.isEnabled);
                }
            }
        });
    }
    holderLayout->replaceWidget(old, rows_);
    old->hide();
    old->deleteLater();
    rows_->setUpdatesEnabled(true);
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
    auto* sheet = new GroupSettingsSheet(context_, std::nullopt, window());
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    sheet->open();
    return sheet;
}

QDialog* RulesPage::openReorderSheet() {
    auto* sheet = new GroupReorderSheet(context_, window());
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    sheet->open();
    return sheet;
}

} // namespace kivo
