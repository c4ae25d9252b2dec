#include "ui/rules/GroupSettingsSheet.h"

#include "app/language/LocalizedStrings.h"
#include "ui/rules/RedirectSection.h"
#include "ui/rules/ScheduleEditor.h"
#include "ui/rules/UnlockPolicyEditor.h"
#include "ui/screens/ScreenContext.h"
#include "ui/screens/ScreenWidgets.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
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
    const QString title = context.text(presenter_.isEditing() ? G::editTitle() : G::addTitle());
    setWindowTitle(title);
    setAccessibleName(title);
    column->addWidget(headline(title, this));

    QLabel* nameLabel = captionLabel(context.text(G::Section::name()), this);
    column->addWidget(nameLabel);
    name_ = new QLineEdit(fromStd(presenter_.name()), this);
    labelField(nameLabel, name_);
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

    redirect_ = std::make_unique<RedirectSection>(context, column, this, presenter_.redirect(),
                                                  [this] { refresh(); });
    append_ = new QCheckBox(context.text(C::Redirect::appendQuery()), this);
    append_->setChecked(presenter_.appendsQueryParameters());
    custom_ = new QCheckBox(context.text(G::Redirect::useCustom()), this);
    custom_->setChecked(presenter_.useCustomRedirect());
    redirect_->body()->addWidget(append_);
    redirect_->body()->addWidget(custom_);
    redirect_->body()->addWidget(redirect_->urlPart());
    connect(append_, &QCheckBox::clicked, this,
            [this](bool on) { presenter_.setAppendsQueryParameters(on); });
    connect(custom_, &QCheckBox::clicked, this, [this](bool on) {
        presenter_.setUseCustomRedirect(on);
        refresh();
    });

    const SheetFooter footer = addSheetFooter(
        this, column, context, presenter_.isEditing(),
        presenter_.canDelete()
            ? std::optional<SheetDelete>(SheetDelete{Strings::GroupRule::deleteConfirmTitle(),
                                                     Strings::GroupRule::deleteConfirmMessage(),
                                                     [this] { presenter_.confirmDelete(context_.rules); }})
            : std::nullopt);
    save_ = footer.save;
    delete_ = footer.remove;
    connect(save_, &QPushButton::clicked, this, &GroupSettingsSheet::save);
    refresh();
}

GroupSettingsSheet::~GroupSettingsSheet() = default;

QLineEdit* GroupSettingsSheet::redirectField() const {
    return redirect_->field();
}

void GroupSettingsSheet::refresh() {
    showError(nameError_, presenter_.validationError());
    redirect_->refresh();
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
