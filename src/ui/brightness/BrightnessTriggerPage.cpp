#include "ui/brightness/BrightnessTriggerPage.h"

#include "app/brightness/BrightnessController.h"
#include "app/brightness/BrightnessTriggerRows.h"
#include "app/brightness/BrightnessTriggerStore.h"
#include "app/language/LocalizedStrings.h"
#include "ui/brightness/BrightnessTriggerSheet.h"
#include "ui/components/RowList.h"
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

namespace {

// One trigger: its switch, name, levels, time and apply-now button; the row itself opens the trigger.
class TriggerRow : public ClickableRow {
public:
    TriggerRow(const ScreenContext& context, const Uuid& id, std::function<void()> open, QWidget* parent)
        : ClickableRow(std::move(open), parent), context_(context) {
        namespace D = Strings::Display;
        auto* line = new QHBoxLayout(this);
        line->setContentsMargins(6, 4, 6, 4);
        toggle_ = makeSwitch(this);
        line->addWidget(toggle_);
        auto* text = new QVBoxLayout;
        auto* nameLine = new QHBoxLayout;
        nameLine->setSpacing(4);
        name_ = plainLabel(QString(), this);
        nameLine->addWidget(name_);
        power_ = captionLabel(QStringLiteral("\u23FB"), this);
        power_->setToolTip(context.text(D::Help::appliesOnWake()));
        power_->setAccessibleName(power_->toolTip());
        nameLine->addWidget(power_);
        nameLine->addStretch();
        text->addLayout(nameLine);
        summary_ = captionLabel(QString(), this);
        text->addWidget(summary_);
        line->addLayout(text, 1);
        time_ = captionLabel(QString(), this);
        line->addWidget(time_);
        apply_ = new QToolButton(this);
        apply_->setText(QStringLiteral("\u21BB"));
        apply_->setAutoRaise(true);
        apply_->setToolTip(context.text(D::Help::applyNow()));
        line->addWidget(apply_);
        connect(toggle_, &QCheckBox::clicked, this, [this, id](bool on) {
            BrightnessTriggerRows::setTriggerEnabled(context_.triggers, context_.brightness, id, on);
            if (const BrightnessTrigger* t = find(id)) {
                toggle_->setChecked(t->isEnabled());
            }
        });
        connect(apply_, &QToolButton::clicked, this, [this, id] {
            if (const BrightnessTrigger* t = find(id)) {
                context_.brightness.applyNow(*t);
            }
        });
    }

    void present(const BrightnessTrigger& trigger) {
        const QString title =
            trigger.name().empty() ? context_.text(Strings::Display::untitled()) : fromStd(trigger.name());
        const QString time = fromStd(trigger.formattedTime());
        // A screen reader hears what the row opens; the switch and the button say whose they are.
        setAccessibleName(title + QLatin1Char(' ') + time);
        toggle_->setAccessibleName(title);
        toggle_->setChecked(trigger.isEnabled());
        apply_->setAccessibleName(context_.text(Strings::Display::A11y::applyTriggerNow(title)));
        name_->setText(title);
        power_->setVisible(trigger.appliesOnWake());
        summary_->setText(fromStd(BrightnessTriggerRows::brightnessSummary(trigger)));
        summary_->setVisible(!trigger.displayBrightness().empty());
        time_->setText(time);
    }

private:
    const BrightnessTrigger* find(const Uuid& id) const {
        for (const auto& t : context_.triggers.triggers()) {
            if (t.id() == id) {
                return &t;
            }
        }
        return nullptr;
    }

    const ScreenContext& context_;
    QCheckBox* toggle_ = nullptr;
    QLabel* name_ = nullptr;
    QLabel* power_ = nullptr;
    QLabel* summary_ = nullptr;
    QLabel* time_ = nullptr;
    QToolButton* apply_ = nullptr;
};

} // namespace

BrightnessTriggerPage::BrightnessTriggerPage(const ScreenContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
    namespace D = Strings::Display;
    auto* column = new QVBoxLayout(this);
    QHBoxLayout* toolbar = titleBar(context.text(Strings::Sidebar::display()), this);
    auto* add = new QPushButton(QStringLiteral("+ ") + context.text(Strings::Common::add()), this);
    toolbar->addWidget(add);
    column->addLayout(toolbar);
    connect(add, &QPushButton::clicked, this, [this] { openAddSheet(); });
    const RowList::Scrolled scrolled = RowList::inScrollArea(add, add, this);
    rows_ = scrolled.list;
    empty_ =
        plainLabel(context.text(D::emptyTitle()) + QLatin1Char('\n') + context.text(D::emptyDescription()),
                   scrolled.scroll->widget());
    empty_->setAlignment(Qt::AlignCenter);
    empty_->setWordWrap(true);
    scrolled.column->addWidget(empty_);
    scrolled.column->addStretch();
    column->addWidget(scrolled.scroll, 1);
    connect(&context.triggers, &BrightnessTriggerStore::triggersChanged, this,
            &BrightnessTriggerPage::scheduleRefresh);
    refresh();
}

void BrightnessTriggerPage::scheduleRefresh() {
    refreshLater_.request();
}

void BrightnessTriggerPage::refresh() {
    const auto& triggers = context_.triggers.triggers();
    std::vector<std::string> keys;
    keys.reserve(triggers.size());
    for (const BrightnessTrigger& trigger : triggers) {
        keys.push_back(trigger.id().toString());
    }
    rows_->sync(
        keys,
        [&](std::size_t i) -> QWidget* {
            const Uuid id = triggers[i].id();
            return new TriggerRow(
                context_, id, [this, id] { openEditSheet(id); }, rows_);
        },
        [&](std::size_t i, QWidget* row) { static_cast<TriggerRow*>(row)->present(triggers[i]); });
    empty_->setVisible(triggers.empty());
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
