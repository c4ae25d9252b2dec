#include "ui/more/MorePage.h"

#include "app/language/LocalizedStrings.h"
#include "app/more/LoginItemService.h"
#include "app/more/MoreLinks.h"
#include "app/ports/UpdateDriver.h"
#include "app/sheets/EraseAllDataFlow.h"
#include "app/sheets/QuitConfirmationFlow.h"
#include "app/sheets/UninstallFlow.h"
#include "ui/screens/ScreenContext.h"
#include "ui/screens/ScreenWidgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace kivo {

using namespace ScreenWidgets;

MorePage::MorePage(const ScreenContext& context, QWidget* parent) : QWidget(parent), context_(context) {
    namespace M = Strings::More;
    auto* column = new QVBoxLayout(this);
    column->addLayout(titleBar(context.text(M::title()), this));

    updates_ = new QPushButton(context.text(M::checkForUpdates()), this);
    column->addWidget(updates_, 0, Qt::AlignLeft);
    const bool canCheck = context.updater != nullptr && context.updater->canCheckForUpdates();
    updates_->setEnabled(canCheck);
    if (!canCheck) {
        // On Linux the distribution's package manager installs Kivo's updates.
        QLabel* why = captionLabel(context.text(M::updatesFromPackageManager()), this);
        why->setObjectName(QStringLiteral("updatesExplanation"));
        column->addWidget(why);
        updates_->setToolTip(why->text());
    }
    connect(updates_, &QPushButton::clicked, this, [this] {
        if (context_.updater != nullptr) {
            context_.updater->checkForUpdates();
        }
    });

    loginItem_ = new QCheckBox(context.text(M::loginItemToggle()), this);
    loginItem_->setChecked(context.loginItem.isEnabled());
    column->addWidget(loginItem_);
    connect(loginItem_, &QCheckBox::clicked, this, [this](bool on) {
        context_.loginItem.setEnabled(on);
        loginItem_->setChecked(context_.loginItem.isEnabled()); // a failed change springs back
    });
    connect(&context.loginItem, &LoginItemService::isEnabledChanged, loginItem_, &QCheckBox::setChecked);

    auto* languageRow = new QHBoxLayout;
    QLabel* languageLabel = plainLabel(context.text(M::languagePicker()), this);
    languageRow->addWidget(languageLabel);
    language_ = new QComboBox(this);
    labelField(languageLabel, language_);
    for (const LanguagePreference lang : LanguagePreference::allCases()) {
        language_->addItem(
            QString::fromUtf8(lang.nativeName().data(), static_cast<int>(lang.nativeName().size())));
    }
    const auto& all = LanguagePreference::allCases();
    language_->setCurrentIndex(
        static_cast<int>(std::find(all.begin(), all.end(), context.language.current()) - all.begin()));
    languageRow->addStretch();
    languageRow->addWidget(language_);
    column->addLayout(languageRow);
    connect(language_, &QComboBox::activated, this, [this](int index) {
        const LanguagePreference chosen = LanguagePreference::allCases().at(static_cast<std::size_t>(index));
        // The change rebuilds the window's content, this picker included: run it after the signal.
        LanguageController* controller = &context_.language;
        QTimer::singleShot(0, controller, [controller, chosen] { controller->setLanguage(chosen); });
    });

    // A row shows only when it leads to a page: a build without a feedback form has no feedback row.
    const LanguagePreference language = context.language.current();
    if (MoreLinks::feedbackURL(context.links, language)) {
        feedback_ = new QPushButton(context.text(M::feedback()) + QStringLiteral("  \u2197"), this);
        connect(feedback_, &QPushButton::clicked, this, [this] { confirmLink(true); });
    }
    if (MoreLinks::privacyPolicyURL(context.links, language)) {
        privacy_ = new QPushButton(context.text(M::privacyPolicy()) + QStringLiteral("  \u2197"), this);
        connect(privacy_, &QPushButton::clicked, this, [this] { confirmLink(false); });
    }
    for (QPushButton* link : {feedback_, privacy_}) {
        if (link != nullptr) {
            link->setFlat(true);
            column->addWidget(link, 0, Qt::AlignLeft);
        }
    }

    auto* actions = new QVBoxLayout;
    actions->setSpacing(12);
    stop_ = new QPushButton(context.text(M::stopApp()), this);
    erase_ = new QPushButton(context.text(M::eraseAllData()), this);
    uninstall_ = new QPushButton(context.text(M::uninstall()), this);
    stop_->setStyleSheet(QStringLiteral("color: #1a5fd0; padding: 6px;"));
    erase_->setStyleSheet(QStringLiteral("color: #d11; padding: 6px;"));
    uninstall_->setStyleSheet(QStringLiteral("color: #d11; padding: 6px;"));
    for (QPushButton* b : {stop_, erase_, uninstall_}) {
        actions->addWidget(b);
    }
    stop_->setEnabled(context.quitFlow != nullptr);
    erase_->setEnabled(context.eraseFlow != nullptr);
    uninstall_->setEnabled(context.uninstallFlow != nullptr);
    column->addLayout(actions);
    column->addStretch();

    connect(stop_, &QPushButton::clicked, this, [this] {
        if (context_.quitFlow == nullptr) {
            return;
        }
        if (context_.showMainWindow) {
            context_.showMainWindow();
        }
        context_.quitFlow->begin(QuitSource::settings, context_.quitAction);
    });
    connect(erase_, &QPushButton::clicked, this, [this] {
        if (context_.eraseFlow == nullptr) {
            return;
        }
        if (context_.showMainWindow) {
            context_.showMainWindow();
        }
        context_.eraseFlow->begin(context_.eraseAllDataAction);
    });
    connect(uninstall_, &QPushButton::clicked, this, [this] {
        if (context_.uninstallFlow == nullptr) {
            return;
        }
        if (context_.showMainWindow) {
            context_.showMainWindow();
        }
        context_.uninstallFlow->begin(context_.uninstallAction);
    });
}

void MorePage::confirmLink(bool feedback) {
    namespace M = Strings::More;
    auto* box = new QMessageBox(this);
    box->setObjectName(feedback ? QStringLiteral("feedbackConfirmation")
                                : QStringLiteral("privacyConfirmation"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    box->setTextFormat(Qt::PlainText);
    box->setText(context_.text(feedback ? M::feedbackAlertTitle() : M::privacyPolicyAlertTitle()));
    box->setInformativeText(
        context_.text(feedback ? M::feedbackAlertMessage() : M::privacyPolicyAlertMessage()));
    QPushButton* open = box->addButton(context_.text(feedback ? M::feedbackOpen() : M::privacyPolicyOpen()),
                                       QMessageBox::AcceptRole);
    QPushButton* cancel = box->addButton(context_.text(Strings::Common::cancel()), QMessageBox::RejectRole);
    box->setEscapeButton(cancel);
    connect(box, &QMessageBox::buttonClicked, this, [this, open, feedback](QAbstractButton* clicked) {
        if (clicked != open) {
            return;
        }
        // The page is chosen now, in the language current when the user confirms.
        const LanguagePreference language = context_.language.current();
        const std::optional<QUrl> url = feedback ? MoreLinks::feedbackURL(context_.links, language)
                                                 : MoreLinks::privacyPolicyURL(context_.links, language);
        if (!url) {
            return;
        } else if (context_.openURL) {
            context_.openURL(*url);
        } else {
            QDesktopServices::openUrl(*url);
        }
    });
    box->open();
}

} // namespace kivo
