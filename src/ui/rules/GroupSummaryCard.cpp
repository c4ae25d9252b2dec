#include "ui/rules/GroupSummaryCard.h"

#include "app/language/LocalizedStrings.h"
#include "app/rules/BlockRuleStore.h"
#include "app/rules/GroupSummary.h"
#include "app/rules/ProtectionSwitch.h"
#include "ui/screens/ScreenContext.h"
#include "ui/screens/ScreenWidgets.h"

#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace kivo {

GroupSummaryCard::GroupSummaryCard(const ScreenContext& context, const BlockRuleGroup& group, QWidget* parent)
    : ClickableRow([this] { emit settingsRequested(); }, parent), context_(context) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(2, 2, 2, 2); // room for the focus frame around the panel
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("groupSummaryCard"));
    panel->setFrameShape(QFrame::StyledPanel);
    outer->addWidget(panel);
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(14, 10, 14, 10);
    row->setSpacing(12);
    switch_ = ScreenWidgets::makeSwitch(panel);
    row->addWidget(switch_);
    auto* text = new QVBoxLayout;
    text->setSpacing(2);
    name_ = ScreenWidgets::headline(QString(), panel);
    name_->setAlignment(Qt::AlignLeft);
    summary_ = ScreenWidgets::captionLabel(QString(), panel);
    text->addWidget(name_);
    text->addWidget(summary_);
    row->addLayout(text);
    row->addStretch();
    row->addWidget(ScreenWidgets::plainLabel(QStringLiteral("\u2699"), panel));
    const Uuid id = group.id;
    connect(switch_, &QCheckBox::clicked, this, [this, id](bool on) {
        switch_->setChecked(ProtectionSwitch::shownValue(
            ProtectionSwitch::setGroupEnabled(context_.rules, context_.shield, id, on), on));
    });
    present(group);
}

void GroupSummaryCard::present(const BlockRuleGroup& group) {
    const QString name = ScreenWidgets::fromStd(group.name);
    const QString summary = GroupSummary::text(group, context_.localizer, context_.language.current());
    setAccessibleName(context_.text(Strings::RuleDetail::A11y::editGroup(name)));
    setAccessibleDescription(summary);
    switch_->setAccessibleName(name);
    switch_->setChecked(group.isEnabled);
    name_->setText(name);
    summary_->setText(summary);
}

} // namespace kivo
