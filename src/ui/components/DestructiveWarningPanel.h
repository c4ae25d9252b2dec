#pragma once

#include <QWidget>

class QPushButton;

namespace kivo {

// The warning before something that cannot be undone: a red icon with a title, the explanation, and a
// row with Cancel on the left and the caller's confirm button on the right.
class DestructiveWarningPanel : public QWidget {
    Q_OBJECT
public:
    enum class Icon { warning, trash };

    DestructiveWarningPanel(Icon icon, const QString& title, const QString& message,
                            const QString& cancelText, QPushButton* confirmButton, QWidget* parent = nullptr);

    QPushButton* cancelButton() const { return cancel_; }
    QPushButton* confirmButton() const { return confirm_; }

signals:
    void cancelled();

private:
    QPushButton* cancel_;
    QPushButton* confirm_;
};

} // namespace kivo
