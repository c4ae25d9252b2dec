#include "ui/screens/ScreenWidgets.h"

#include "app/language/LocalizedStrings.h"
#include "ui/components/DeleteConfirmation.h"
#include "ui/screens/ScreenContext.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QEvent>
#include <QHBoxLayout>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace kivo::ScreenWidgets {

QString fromStd(const std::string& s) {
    return QString::fromStdString(s);
}

std::string toStd(const QString& s) {
    return s.toStdString();
}

QLabel* plainLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    return label;
}

QLabel* captionLabel(const QString& text, QWidget* parent) {
    QLabel* label = plainLabel(text, parent);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * 0.85);
    label->setFont(font);
    label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}

QLabel* errorLabel(QWidget* parent) {
    QLabel* label = captionLabel(QString(), parent);
    label->setStyleSheet(QStringLiteral("color: #d11;"));
    label->setWordWrap(true);
    label->hide();
    return label;
}

void showError(QLabel* label, const std::optional<std::string>& message) {
    label->setText(message ? fromStd(*message) : QString());
    label->setVisible(message.has_value());
}

QLabel* headline(const QString& text, QWidget* parent) {
    QLabel* label = plainLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    label->setAlignment(Qt::AlignHCenter);
    return label;
}

QHBoxLayout* titleBar(const QString& title, QWidget* parent) {
    auto* row = new QHBoxLayout;
    row->addWidget(headline(title, parent));
    row->addStretch();
    return row;
}

void labelField(QLabel* label, QWidget* field) {
    label->setBuddy(field);
    if (auto* choices = qobject_cast<QComboBox*>(field)) {
        choices->view()->setAccessibleName(label->text());
    }
}

QCheckBox* makeSwitch(QWidget* parent) {
    auto* box = new QCheckBox(parent);
    box->setFocusPolicy(Qt::StrongFocus);
    return box;
}

namespace {

// Hands each user edit to the working state and shows what it kept (a limit counts user-perceived
// characters, which QLineEdit's own maximum cannot). The cursor stays where the user was typing, and an
// input method's open composition is never cut into: the field catches up once it is committed.
class TextBinding : public QObject {
public:
    TextBinding(QLineEdit* edit, std::function<std::string(const QString&)> apply)
        : QObject(edit), edit_(edit), apply_(std::move(apply)) {
        edit->installEventFilter(this);
        connect(edit, &QLineEdit::textEdited, this, [this](const QString& text) { take(text); });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == edit_ && event->type() == QEvent::InputMethod) {
            const bool wasComposing = composing_;
            composing_ = !static_cast<QInputMethodEvent*>(event)->preeditString().isEmpty();
            // The commit lands after this filter returns; look again once the field holds it.
            if (wasComposing && !composing_) {
                QMetaObject::invokeMethod(
                    this, [this] { take(edit_->text()); }, Qt::QueuedConnection);
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void take(const QString& text) {
        const QString kept = fromStd(apply_(text));
        if (kept == text || composing_) {
            return;
        }
        const int cursor = std::min(edit_->cursorPosition(), static_cast<int>(kept.size()));
        edit_->setText(kept);
        edit_->setCursorPosition(cursor);
    }

    QLineEdit* edit_;
    std::function<std::string(const QString&)> apply_;
    bool composing_ = false;
};

} // namespace

void bindText(QLineEdit* edit, const std::function<std::string(const QString&)>& apply) {
    new TextBinding(edit, apply);
}

namespace {

class WindowHideWatcher : public QObject {
public:
    WindowHideWatcher(QDialog* sheet, QWidget* window) : QObject(sheet), sheet_(sheet) {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // A spontaneous hide is the window being minimised: the sheet stays as it is until restored.
        if (event->type() == QEvent::Hide && !event->spontaneous() && sheet_ && sheet_->isVisible() &&
            watched != sheet_) {
            sheet_->reject();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QPointer<QDialog> sheet_;
};

} // namespace

void closeWithWindow(QDialog* sheet) {
    if (QWidget* parent = sheet->parentWidget()) {
        new WindowHideWatcher(sheet, parent->window());
    }
}

SheetFooter addSheetFooter(QDialog* sheet, QVBoxLayout* column, const ScreenContext& context, bool editing,
                           std::optional<SheetDelete> remove) {
    namespace C = Strings::Common;
    SheetFooter footer;
    auto* row = new QHBoxLayout;
    auto* cancel = new QPushButton(context.text(C::cancel()), sheet);
    cancel->setAutoDefault(false);
    row->addWidget(cancel);
    row->addStretch();
    if (remove) {
        footer.remove = new QPushButton(context.text(C::delete_()), sheet);
        footer.remove->setAutoDefault(false);
        row->addWidget(footer.remove);
        QObject::connect(footer.remove, &QPushButton::clicked, sheet,
                         [sheet, context = &context, remove = std::move(*remove)] {
                             DeleteConfirmation::ask(sheet, context->localizer, context->language.current(),
                                                     context->text(remove.title),
                                                     context->text(remove.message),
                                                     [sheet, run = remove.run] {
                                                         run();
                                                         sheet->accept();
                                                     });
                         });
    }
    footer.save = new QPushButton(context.text(editing ? C::save() : C::add()), sheet);
    footer.save->setDefault(true);
    row->addWidget(footer.save);
    column->addLayout(row);
    QObject::connect(cancel, &QPushButton::clicked, sheet, &QDialog::reject);
    return footer;
}

} // namespace kivo::ScreenWidgets
