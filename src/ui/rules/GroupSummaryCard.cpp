#include "ui/rules/GroupSummaryCard.h"

#include "app/rules/BlockRuleStore.h"
#include "app/rules/GroupSummary.h"
#include "app/rules/ProtectionSwitch.h"
#include "ui/screens/ScreenContext.h"
#include "ui/screens/ScreenWidgets.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace kivo {

GroupSummaryCard::GroupSummaryCard(const ScreenContext& context, const BlockRuleGroup& group, QWidget* parent)
    : QFrame(parent) {
    setObjectName(QStringLiteral("groupSummaryCard"));
    setFrameShape(QFrame::StyledPanel);
    setCursor(Qt::PointingHandCursor);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(14, 10, 14, 10);
    row->setSpacing(12);
    switch_ = ScreenWidgets::makeSwitch(this);
    switch_->setChecked(group.isEnabled);
    row->addWidget(switch_);
    auto* text = new QVBoxLayout;
    text->setSpacing(2);
    QLabel* name = ScreenWidgets::headline(ScreenWidgets::fromStd(group.name), this);
    name->setAlignment(Qt::AlignLeft);
    summary_ = ScreenWidgets::captionLabel(
        GroupSummary::text(group, context.localizer, context.language.current()), this);
    text->addWidget(name);
    text->addWidget(summary_);
    row->addLayout(text);
    row->addStretch();
    row->addWidget(ScreenWidgets::plainLabel(QStringLiteral("\u2699"), this));
    const Uuid id = group.id;
    connect(switch_, &QCheckBox::clicked, this, [this, &context, id](bool on) {
        ProtectionSwitch::setGroupEnabled(context.rules, context.shield, id, on);
        // The switch shows what the store holds (still on while the shield counts down).
        for (const auto& g : context.rules.groups()) {
            if (g.id == id) {
                switch_->setChecked(g.isEnabled);
            }
        }
    });
}

void GroupSummaryCard::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit settingsRequested();
    }
    QFrame::mouseReleaseEvent(event);
}

} // namespace kivo
