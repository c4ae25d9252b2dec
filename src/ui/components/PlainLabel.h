#pragma once

#include <QLabel>
#include <QString>

namespace kivo {

// Every label of the interface shows its text as typed: a group or display name holding markup must never
// be rendered as rich text.
inline QLabel* plainLabel(const QString& text, QWidget* parent = nullptr) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    return label;
}

} // namespace kivo
