#include "ui/brightness/BrightnessTriggerPage.h"

#include "app/brightness/BrightnessController.h"
#include "app/brightness/BrightnessTriggerRows.h"
#include "app/brightness/BrightnessTriggerStore.h"
#include "app/language/LocalizedStrings.h"
#include "ui/brightness/BrightnessTriggerSheet.h"
#include "ui/rules/ClickableRow.h"
#include "ui/screens/ScreenContext.h"
#include "ui/screens/ScreenWidgets.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

namespace kivo {

using namespace ScreenWidgets;

BrightnessTriggerPage::BrightnessTriggerPage(const ScreenContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
    namespace D = Strings::Display;
    auto* column = new QVBoxLayout(this);
    auto* toolbar = new QHBoxLayout;
    toolbar->addWidget(headline(context.text(Strings::Sidebar::display()), this));
    toolbar->addStretch();
    auto* add = new QPushButton(QStringLiteral("+ ") + context.text(Strings::Common::add()), this);
    toolbar->addWidget(add);
    column->addLayout(toolbar);
    connect(add, &QPushButton::clicked, this, [this] { openAddSheet(); });
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    auto* holder = new QWidget(scroll);
    auto* holderColumn = new QVBoxLayout(holder);
    rows_ = new QWidget(holder);
    new QVBoxLayout(rows_);
    holderColumn->addWidget(rows_);
    empty_ = plainLabel(
        context.text(D::emptyTitle()) + QLatin1Char('\n') + context.text(D::emptyDescription()), holder);
    empty_->setAlignment(Qt::AlignCenter);
    empty_->setWordWrap(true);
    holderColumn->addWidget(empty_);
    holderColumn->addStretch();
    scroll->setWidget(holder);
    column->addWidget(scroll, 1);
    connect(&context.triggers, &BrightnessTriggerStore::triggersChanged, this,
            &BrightnessTriggerPage::scheduleRebuild);
    rebuild();
}

void BrightnessTriggerPage::scheduleRebuild() {
    rebuildLater_.request();
}

void BrightnessTriggerPage::rebuild() {
    namespace D = Strings::Display;
    for (QWidget* old : rows_->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        old->hide();
        old->deleteLater();
    }
    for (const BrightnessTrigger& trigger : context_.triggers.triggers()) {
        const Uuid id = trigger.id();
        auto* row = new ClickableRow([this, id] { openEditSheet(id); }, rows_);
        auto* line = new QHBoxLayout(row);
        line->setContentsMargins(6, 4, 6, 4);
        QCheckBox* toggle = makeSwitch(row);
        toggle->setChecked(trigger.isEnabled());
        line->addWidget(toggle);
        auto* text = new QVBoxLayout;
        auto* nameLine = new QHBoxLayout;
        nameLine->setSpacing(4);
        nameLine->addWidget(
            plainLabel(trigger.name().empty() ? context_.text(D::untitled()) : fromStd(trigger.name()), row));
        if (trigger.appliesOnWake()) {
            QLabel* power = captionLabel(QStringLiteral("\u23FB"), row);
            power->setToolTip(context_.text(D::Help::appliesOnWake()));
            power->setAccessibleName(power->toolTip());
            nameLine->addWidget(power);
        }
        nameLine->addStretch();
        text->addLayout(nameLine);
        if (!trigger.displayBrightness().empty()) {
            text->addWidget(captionLabel(fromStd(BrightnessTriggerRows::brightnessSummary(trigger)), row));
        }
        line->addLayout(text, 1);
        line->addWidget(captionLabel(fromStd(trigger.formattedTime()), row));
        auto* apply = new QToolButton(row);
        apply->setText(QStringLiteral("\u21BB"));
        apply->setAutoRaise(true);
        apply->setToolTip(context_.text(D::Help::applyNow()));
        apply->setAccessibleName(apply->toolTip());
        line->addWidget(apply);
        rows_->layout()->addWidget(row);
        connect(toggle, &QCheckBox::clicked, this, [this, toggle, id](bool on) {
            BrightnessTriggerRows::setTriggerEnabled(context_.triggers, context_.brightness, id, on);
            for (const auto& t : context_.triggers.triggers()) {
                if (t.id() == id) {
                    toggle->setChecked(t.isEnabled());
                }
            }
        });
        connect(apply, &QToolButton::clicked, this, [this, id] {
            for (const auto& t : context_.triggers.triggers()) {
                if (t.id() == id) {
                    context_.brightness.applyNow(t);
                }
            }
        });
    }
    empty_->setVisible(context_.triggers.triggers().empty());
}

QDialog* BrightnessTriggerPage::openAddSheet() {
    auto* sheet = new BrightnessTriggerSheet(context_, std::nullopt, this);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    sheet->open();
    return sheet;
}

QDialog* BrightnessTriggerPage::openEditSheet(const Uuid& id) {
    for (const auto& t : context_.triggers.triggers()) {
        if (t.id() == id) {
            auto* sheet = new BrightnessTriggerSheet(context_, t, this);
            sheet->setAttribute(Qt::WA_DeleteOnClose);
            sheet->open();
            return sheet;
        }
    }
    return nullptr;
}

} // namespace kivo
