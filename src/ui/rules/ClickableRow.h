#pragma once

#include <QAbstractButton>

#include <functional>

namespace kivo {

// A row whose whole rectangle is a button, except the controls inside it that take their own clicks. Like
// any button it is reached with Tab, pressed with Space or Return, and read by a screen reader as a button
// under its accessible name (what it opens).
class ClickableRow : public QAbstractButton {
    Q_OBJECT
public:
    explicit ClickableRow(std::function<void()> onClick, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

} // namespace kivo
