#include "ui/rules/UnlockPolicyEditor.h"

#include "app/language/LocalizedStrings.h"
#include "ui/components/SegmentedPicker.h"
#include "ui/screens/ScreenContext.h"
#include "ui/screens/ScreenWidgets.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kivo {

using PolicyType = UnlockPolicyEditorModel::PolicyType;

UnlockPolicyEditor::UnlockPolicyEditor(const ScreenContext& context, const UnlockPolicy& policy,
                                       QWidget* parent)
    : QWidget(parent), model_(policy) {
    namespace U = Strings::Unlock;
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(ScreenWidgets::captionLabel(context.text(U::section())));

    auto* methods = new SegmentedPicker(context.text(U::method()),
                                        {context.text(U::Method::instant()), context.text(U::Method::wait()),
                                         context.text(U::Method::backoff())},
                                        static_cast<int>(model_.selectedType()), this);
    for (int i = 0; i < 3; ++i) {
        types_[i] = methods->segment(i);
    }
    column->addWidget(methods);
    connect(methods, &SegmentedPicker::segmentClicked, this,
            [this](int index) { edited(model_.setSelectedType(static_cast<PolicyType>(index))); });

    waitRow_ = new QWidget(this);
    auto* waitLine = new QHBoxLayout(waitRow_);
    waitLine->setContentsMargins(0, 0, 0, 0);
    wait_ = new QComboBox(waitRow_);
    wait_->setAccessibleName(context.text(U::waitSeconds()));
    for (const std::int64_t seconds : UnlockPolicyEditorModel::waitSecondsChoices) {
        wait_->addItem(context.text(U::seconds(seconds)), QVariant::fromValue<qint64>(seconds));
    }
    // A stored wait that is not offered shows no entry, and stays until the user picks one.
    wait_->setCurrentIndex(wait_->findData(QVariant::fromValue<qint64>(model_.waitSeconds())));
    waitLine->addStretch();
    QLabel* waitLabel = ScreenWidgets::plainLabel(context.text(U::waitSeconds()), waitRow_);
    ScreenWidgets::labelField(waitLabel, wait_);
    waitLine->addWidget(waitLabel);
    waitLine->addWidget(wait_);
    waitLine->addStretch();
    column->addWidget(waitRow_);
    connect(wait_, &QComboBox::activated, this,
            [this](int index) { edited(model_.setWaitSeconds(wait_->itemData(index).toLongLong())); });

    backoffPart_ = new QWidget(this);
    auto* backoffColumn = new QVBoxLayout(backoffPart_);
    backoffColumn->setContentsMargins(0, 0, 0, 0);
    auto* resetLine = new QHBoxLayout;
    reset_ = new QComboBox(backoffPart_);
    reset_->setAccessibleName(context.text(U::resetInterval()));
    for (const auto choice : UnlockPolicyEditorModel::resetIntervalChoices) {
        reset_->addItem(context.text(UnlockPolicyEditorModel::label(choice)), static_cast<int>(choice));
    }
    reset_->setCurrentIndex(reset_->findData(static_cast<int>(model_.resetInterval())));
    resetLine->addStretch();
    QLabel* resetLabel = ScreenWidgets::plainLabel(context.text(U::resetInterval()), backoffPart_);
    ScreenWidgets::labelField(resetLabel, reset_);
    resetLine->addWidget(resetLabel);
    resetLine->addWidget(reset_);
    resetLine->addStretch();
    backoffColumn->addLayout(resetLine);
    QLabel* description = ScreenWidgets::captionLabel(context.text(U::backoffDescription()), backoffPart_);
    description->setWordWrap(true);
    description->setAlignment(Qt::AlignHCenter);
    backoffColumn->addWidget(description);
    column->addWidget(backoffPart_);
    connect(reset_, &QComboBox::activated, this, [this](int index) {
        edited(model_.setResetInterval(
            static_cast<UnlockPolicyEditorModel::ResetIntervalChoice>(reset_->itemData(index).toInt())));
    });
    waitRow_->setVisible(model_.selectedType() == PolicyType::wait);
    backoffPart_->setVisible(model_.selectedType() == PolicyType::backoff);
}

QPushButton* UnlockPolicyEditor::typeButton(PolicyType type) const {
    return types_[static_cast<int>(type)];
}

void UnlockPolicyEditor::edited(const std::optional<UnlockPolicy>& policy) {
    if (!policy) {
        return; // the choice already made: nothing to write
    }
    waitRow_->setVisible(model_.selectedType() == PolicyType::wait);
    backoffPart_->setVisible(model_.selectedType() == PolicyType::backoff);
    emit policyEdited(*policy);
}

} // namespace kivo
