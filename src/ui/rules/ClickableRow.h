#pragma once

#include <QFrame>

#include <functional>

namespace kivo {

// A row whose whole rectangle is a button, except the controls inside it that take their own clicks.
class ClickableRow : public QFrame {
public:
    explicit ClickableRow(std::function<void()> onClick, QWidget* parent = nullptr);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    std::function<void()> onClick_;
};

} // namespace kivo
