#include "ui/components/CheckableButtonActions.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QCheckBox>
#include <QKeySequence>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QToolButton>

namespace kivo {
namespace {

// Qt's own button interface in every other respect: role, state, name, location and key.
class CheckableButtonInterface : public QAccessibleWidget {
public:
    explicit CheckableButtonInterface(QAbstractButton* button) : QAccessibleWidget(button) {
        addControllingSignal(QStringLiteral("toggled(bool)"));
    }

    QAccessible::Role role() const override {
        if (!button()->isCheckable()) {
            return QAccessible::Button;
        }
        return button()->autoExclusive() && qobject_cast<QToolButton*>(button()) == nullptr
                   ? QAccessible::RadioButton
                   : QAccessible::CheckBox;
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = button()->isCheckable();
        state.checked = button()->isChecked();
        if (const auto* box = qobject_cast<QCheckBox*>(button())) {
            state.checkStateMixed = box->checkState() == Qt::PartiallyChecked;
        }
        state.pressed = button()->isDown();
        if (const auto* push = qobject_cast<QPushButton*>(button())) {
            state.defaultButton = push->isDefault();
        }
        return state;
    }

    QString text(QAccessible::Text t) const override {
        QString text;
        if (t == QAccessible::Name) {
            text = widget()->accessibleName().isEmpty() ? withoutMnemonic(button()->text())
                                                        : widget()->accessibleName();
        } else if (t == QAccessible::Accelerator) {
            const auto* push = qobject_cast<QPushButton*>(button());
            const QKeySequence key = push != nullptr && push->isDefault()
                                         ? QKeySequence(Qt::Key_Enter)
                                         : QKeySequence::mnemonic(button()->text());
            text = key.toString(QKeySequence::NativeText);
        }
        return text.isEmpty() ? QAccessibleWidget::text(t) : text;
    }

    // A check box is clicked on its box and label, not on the room a layout gives it beyond them.
    QRect rect() const override {
        auto* box = qobject_cast<QCheckBox*>(button());
        if (box == nullptr || !box->isVisible()) {
            return QAccessibleWidget::rect();
        }
        struct Options : QCheckBox {
            using QCheckBox::initStyleOption;
        };
        QStyleOptionButton option;
        (box->*&Options::initStyleOption)(&option);
        QRect area = box->style()->subElementRect(QStyle::SE_CheckBoxClickRect, &option, box);
        area.moveTopLeft(box->mapToGlobal(area.topLeft()));
        return area;
    }

    QStringList actionNames() const override {
        QStringList names;
        if (widget()->isEnabled()) {
            names << (button()->isCheckable() ? toggleAction() : pressAction());
        }
        return names + QAccessibleWidget::actionNames();
    }

    // Press is not offered for a checkable button, but a tool may ask for it by name.
    void doAction(const QString& action) override {
        if (action == toggleAction() || action == pressAction()) {
            button()->click(); // the button may be gone afterwards, and this interface with it
            return;
        }
        QAccessibleWidget::doAction(action);
    }

    QStringList keyBindingsForAction(const QString& action) const override {
        if ((action == toggleAction() || action == pressAction()) && !button()->shortcut().isEmpty()) {
            return {button()->shortcut().toString(QKeySequence::NativeText)};
        }
        return QAccessibleWidget::keyBindingsForAction(action);
    }

private:
    QAbstractButton* button() const { return static_cast<QAbstractButton*>(widget()); }

    // "&Save" reads "Save", "R&&D" reads "R&D".
    static QString withoutMnemonic(const QString& text) {
        QString plain;
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text[i] == QLatin1Char('&') && i + 1 < text.size()) {
                ++i;
            }
            plain += text[i];
        }
        return plain;
    }
};

bool hasMenu(QAbstractButton* button) {
    const auto* push = qobject_cast<QPushButton*>(button);
    const auto* tool = qobject_cast<QToolButton*>(button);
    return (push != nullptr && push->menu() != nullptr) || (tool != nullptr && tool->menu() != nullptr);
}

QAccessibleInterface* checkableButtonInterface(const QString&, QObject* object) {
    auto* button = qobject_cast<QAbstractButton*>(object);
    if (button == nullptr || !button->isCheckable() || hasMenu(button)) {
        return nullptr;
    }
    return new CheckableButtonInterface(button);
}

} // namespace

void CheckableButtonActions::install() {
    // Factories installed later are asked first, so this one comes before the application's own.
    static const bool installed = [] {
        QAccessible::installFactory(checkableButtonInterface);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace kivo
