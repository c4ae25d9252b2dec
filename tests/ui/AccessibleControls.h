#pragma once

#include <QAccessible>
#include <QString>
#include <QWidget>

#include <functional>
#include <vector>

namespace kivo::test {

// A control as the accessibility tree reports it to a screen reader.
struct Control {
    QAccessible::Role role;
    QString name;
    bool checked = false;
    QString group = {}; // the name of the innermost group around it, as a screen reader announces on entering
    QWidget* widget = nullptr;
};

enum class HiddenParts { skipped, included };

// Every object of `root` (itself included) a keyboard can land on, as the accessibility tree reports it.
// Hidden parts (another mode's fields) are left out unless asked for; sheets and alerts opened on it never
// come in.
inline std::vector<Control> focusable(QWidget* root, HiddenParts hidden = HiddenParts::skipped) {
    std::vector<Control> found;
    std::function<void(QAccessibleInterface*, const QString&)> visit = [&](QAccessibleInterface* node,
                                                                           const QString& group) {
        if (node == nullptr || (node->state().invisible && hidden == HiddenParts::skipped)) {
            return;
        }
        if (node->state().focusable) {
            found.push_back({node->role(), node->text(QAccessible::Name), node->state().checked != 0, group,
                             qobject_cast<QWidget*>(node->object())});
        }
        const QString inner = node->role() == QAccessible::Grouping ? node->text(QAccessible::Name) : group;
        for (int i = 0; i < node->childCount(); ++i) {
            visit(node->child(i), inner);
        }
    };
    visit(QAccessible::queryAccessibleInterface(root), QString());
    return found;
}

} // namespace kivo::test
