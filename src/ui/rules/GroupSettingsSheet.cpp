#include "ui/rules/GroupSettingsSheet.h"

#include "app/LocalizedStrings.h"
#include "domain/Text.h"
#include "ui/components/DeleteConfirmation.h"
#include "ui/rules/ScheduleEditor.h"
#include "ui/rules/UnlockPolicyEditor.h"
#include "ui/screens/ScreenContext.h"
#include "ui/screens/ScreenWidgets.h"

#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace kivo {

using namespace ScreenWidgets;

GroupSettingsSheet::GroupSettingsSheet(const ScreenContext& context, std::optional<BlockRuleGroup> group,
                                       QWidget* parent)
    : QDialog(parent), context_(context), presenter_(std::move(group)) {
    namespace G = Strings::GroupRule;
    namespace C = Strings::Common;
    setWindowModality(Qt::WindowModal);
    ScreenWidgets::closeWithWindow(this);
    setFixedWidth(400);
    auto* column = new QVBoxLayout(this);
    column->setSpacing(16);
    column->addWidget(headline(context.text(presenter_.isEditing() ? G::editTitle() : G::addTitle()), this));

    column->addWidget(captionLabel(context.text(G::Section::name()), this));
    name_ = new QLineEdit(fromStd(presenter_.name()), this);
    name_->setPlaceholderText(context.text(G::Field::namePlaceholder()));
    nameError_ = errorLabel(this);
    column->addWidget(name_);
    column->addWidget(nameError_);
    bindText(name_, [this](const QString& text) {
        presenter_.setName(toStd(text));
        refresh();
        return presenter_.name();
    });

    schedule_ = new ScheduleEditor(context, presenter_.schedule(), this);
    column->addWidget(schedule_);
    connect(schedule_, &ScheduleEditor::scheduleEdited, this,
            [this](const BlockSchedule& s) { presenter_.setSchedule(s); });
    unlock_ = new UnlockPolicyEditor(context, presenter_.unlockPolicy(), this);
    column->addWidget(unlock_);
    connect(unlock_, &UnlockPolicyEditor::policyEdited, this,
            [this](const UnlockPolicy& p) { presenter_.setUnlockPolicy(p); });

    column->addWidget(captionLabel(context.text(C::Section::detail()), this));
    accordion_ = new QToolButton(this);
    accordion_->setText(context.text(C::Redirect::header()));
    accordion_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    accordion_->setAutoRaise(true);
    column->addWidget(accordion_);
    connect(accordion_, &QToolButton::clicked, this, [this] {
        presenter_.setShowRedirectSection(!presenter_.showRedirectSection());
        refresh();
    });
    redirectPart_ = new QWidget(this);
    auto* redirectColumn = new QVBoxLayout(redirectPart_);
    redirectColumn->setContentsMargins(0, 0, 0, 0);
    append_ = new QCheckBox(context.text(C::Redirect::appendQuery()), redirectPart_);
    append_->setChecked(presenter_.appendsQueryParameters());
    custom_ = new QCheckBox(context.text(G::Redirect::useCustom()), redirectPart_);
    custom_->setChecked(presenter_.useCustomRedirect());
    redirectColumn->addWidget(append_);
    redirectColumn->addWidget(custom_);
    urlPart_ = new QWidget(redirectPart_);
    auto* urlColumn = new QVBoxLayout(urlPart_);
    urlColumn->setContentsMargins(0, 0, 0, 0);
    redirect_ = new QLineEdit(fromStd(presenter_.redirectURLString()), urlPart_);
    redirect_->setPlaceholderText(QStringLiteral("https://example.com/focus"));
    auto* status = new QHBoxLayout;
    redirectError_ = errorLabel(urlPart_);
    counter_ = captionLabel(QString(), urlPart_);
    status->addWidget(redirectError_, 1);
    status->addStretch();
    status->addWidget(counter_);
    urlColumn->addWidget(redirect_);
    urlColumn->addLayout(status);
    redirectColumn->addWidget(urlPart_);
    column->addWidget(redirectPart_);
    connect(append_, &QCheckBox::clicked, this,
            [this](bool on) { presenter_.setAppendsQueryParameters(on); });
    connect(custom_, &QCheckBox::clicked, this, [this](bool on) {
        presenter_.setUseCustomRedirect(on);
        refresh();
    });
    bindText(redirect_, [this](const QString& text) {
        presenter_.setRedirectURLString(toStd(text));
        refresh();
        return presenter_.redirectURLString();
    });

    auto* footer = new QHBoxLayout;
    auto* cancel = new QPushButton(context.text(C::cancel()), this);
    cancel->setAutoDefault(false);
    footer->addWidget(cancel);
    footer->addStretch();
    if (presenter_.canDelete()) {
        delete_ = new QPushButton(context.text(C::delete_()), this);
        delete_->setAutoDefault(false);
        footer->addWidget(delete_);
        connect(delete_, &QPushButton::clicked, this, [this] {
            DeleteConfirmation::ask(this, context_.localizer, context_.language.current(),
                                    context_.text(Strings::GroupRule::deleteConfirmTitle()),
                                    context_.text(Strings::GroupRule::deleteConfirmMessage()), [this] {
                                        presenter_.confirmDelete(context_.rules);
                                        accept();
                                    });
        });
    }
    save_ = new QPushButton(context.text(presenter_.isEditing() ? C::save() : C::add()), this);
    save_->setDefault(true);
    footer->addWidget(save_);
    column->addLayout(footer);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(save_, &QPushButton::clicked, this, &GroupSettingsSheet::save);
    refresh();
}

void GroupSettingsSheet::refresh() {
    showError(nameError_, presenter_.validationError());
    showError(redirectError_, presenter_.redirectURLError());
    redirectPart_->setVisible(presenter_.showRedirectSection());
    accordion_->setArrowType(presenter_.showRedirectSection() ? Qt::DownArrow : Qt::RightArrow);
    urlPart_->setVisible(presenter_.useCustomRedirect());
    counter_->setText(QStringLiteral("%1 / %2")
                          .arg(Text::characterCount(presenter_.redirectURLString()))
                          .arg(GroupSettingsPresenter::redirectURLLimit));
    save_->setEnabled(presenter_.canSave());
    adjustSize();
}

void GroupSettingsSheet::save() {
    if (!presenter_.canSave()) {
        return;
    }
    if (presenter_.save(context_.rules)) {
        accept();
    } else {
        refresh();
    }
}

} // namespace kivo
