#include "ui/onboarding/LanguageOnboardingPage.h"

#include "app/language/LanguageController.h"
#include "app/language/LocalizedStrings.h"
#include "ui/UiContext.h"
#include "ui/components/PlainLabel.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QIcon>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace kivo {

LanguageOnboardingPage::LanguageOnboardingPage(const UiContext& ui, std::function<void()> onContinue,
                                               QWidget* parent)
    : QWidget(parent), picker_(new QComboBox),
      continue_(new QPushButton(ui.text(Strings::Common::continue_()))) {
    setObjectName(QStringLiteral("onboarding"));
    auto* outer = new QVBoxLayout(this);
    // No margin of its own: the window fits the page's frame, Continue 32 from its bottom edge.
    outer->setContentsMargins(0, 0, 0, 0);
    auto* page = new QWidget;
    page->setFixedSize(360, 480);
    outer->addWidget(page, 0, Qt::AlignCenter);

    auto* column = new QVBoxLayout(page);
    column->setSpacing(24);
    column->setContentsMargins(0, 0, 0, 32);
    column->addStretch(1);
    auto* icon = new QLabel;
    icon->setPixmap(QIcon(QStringLiteral(":/icons/kivo-leaf.svg")).pixmap(96, 96));
    column->addWidget(icon, 0, Qt::AlignHCenter);

    auto* title = plainLabel(ui.text(Strings::Onboarding::Language::title()));
    QFont titleFont = title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    titleFont.setBold(true);
    title->setFont(titleFont);
    title->setAlignment(Qt::AlignCenter);
    title->setWordWrap(true);
    column->addWidget(title);

    auto* subtitle = plainLabel(ui.text(Strings::Onboarding::Language::subtitle()));
    subtitle->setAlignment(Qt::AlignCenter);
    subtitle->setWordWrap(true);
    subtitle->setForegroundRole(QPalette::PlaceholderText);
    subtitle->setContentsMargins(32, 0, 32, 0);
    column->addWidget(subtitle);

    // Named so that the rebuild after a language pick gives the keyboard back to it.
    picker_->setObjectName(QStringLiteral("languagePicker"));
    picker_->setAccessibleName(ui.text(Strings::Onboarding::Language::pickerLabel()));
    picker_->view()->setAccessibleName(picker_->accessibleName());
    for (const auto language : LanguagePreference::allCases())
        picker_->addItem(QString::fromUtf8(language.nativeName().data(),
                                           static_cast<qsizetype>(language.nativeName().size())),
                         static_cast<int>(language.value()));
    auto& languages = ui.languageController;
    const auto& all = LanguagePreference::allCases();
    const auto current = std::find(all.begin(), all.end(), languages.current());
    picker_->setCurrentIndex(static_cast<int>(current - all.begin()));
    connect(picker_, &QComboBox::activated, this, [&languages](int index) {
        languages.setLanguage(LanguagePreference::allCases()[static_cast<std::size_t>(index)]);
    });
    auto* pickerRow = new QVBoxLayout;
    pickerRow->setContentsMargins(48, 0, 48, 0);
    pickerRow->addWidget(picker_);
    column->addLayout(pickerRow);
    column->addStretch(1);

    continue_->setDefault(true);
    continue_->setMinimumHeight(36);
    auto* buttonRow = new QVBoxLayout;
    buttonRow->setContentsMargins(32, 0, 32, 0);
    buttonRow->addWidget(continue_);
    column->addLayout(buttonRow);
    connect(continue_, &QPushButton::clicked, this, [onContinue = std::move(onContinue)] { onContinue(); });
    // A default button answers Return only inside a dialog; on the window's page a shortcut does it.
    for (const auto key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* shortcut = new QShortcut(QKeySequence(key), this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, continue_, &QPushButton::click);
    }
}

} // namespace kivo
