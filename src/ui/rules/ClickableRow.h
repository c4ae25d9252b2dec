#pragma once

#include <QFrame>

#include <functional>

namespace kivo {

// A row whose whole rectangle is a button, except the controls inside it that take their own clicks. Like
// any button it is reached with Tab and pressed with Space or Return.
class ClickableRow : public QFrame {
    Q_OBJECT
public:
    explicit ClickableRow(std::function<void()> onClick, QWidget* parent = nullptr);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    std::function<void()> onClick_;
};

} // namespace kivo
