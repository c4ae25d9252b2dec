#include "ui/components/DeleteConfirmation.h"

#include "app/language/LocalizedStrings.h"
#include "app/language/Localizer.h"

#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

namespace kivo {

QMessageBox* DeleteConfirmation::ask(QWidget* parent, const Localizer& localizer, LanguagePreference language,
                                     const QString& title, const QString& message,
                                     std::function<void()> onDelete) {
    auto* box = new QMessageBox(parent);
    box->setObjectName(QStringLiteral("deleteConfirmation"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setTextFormat(Qt::PlainText);
    box->setIcon(QMessageBox::Warning);
    box->setText(title);
    box->setInformativeText(message);
    // The informative label does not follow setTextFormat: a name in the message must stay plain text.
    if (auto* info = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel")))
        info->setTextFormat(Qt::PlainText);
    box->setWindowModality(Qt::WindowModal);
    auto* cancel =
        box->addButton(localizer.text(Strings::Common::cancel(), language), QMessageBox::RejectRole);
    auto* remove =
        box->addButton(localizer.text(Strings::Common::delete_(), language), QMessageBox::DestructiveRole);
    box->setDefaultButton(cancel);
    box->setEscapeButton(cancel);
    QObject::connect(remove, &QPushButton::clicked, box, [onDelete = std::move(onDelete)] {
        if (onDelete)
            onDelete();
    });
    // The alert belongs to the sheet it was asked from: whatever ends that sheet ends the alert too.
    if (auto* sheet = qobject_cast<QDialog*>(parent ? parent->window() : nullptr))
        QObject::connect(sheet, &QDialog::finished, box, &QMessageBox::reject);
    box->open();
    return box;
}

} // namespace kivo
