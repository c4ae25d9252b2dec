#pragma once

#include <QString>
#include <QWidget>

#include <string>
#include <vector>

class QHBoxLayout;
class QLabel;

namespace kivo {

// The orange notice above the rule lists: a warning sign, a title and a message (plain text), and any
// controls its kind adds at the end. Screen readers get the title as its name and the message as its
// description.
class NoticeBanner : public QWidget {
    Q_OBJECT
public:
    NoticeBanner(const QString& title, const QString& message, QWidget* parent = nullptr);

    // Browser names as a message shows them: joined by the katakana middle dot, nothing else between.
    static QString joinedNames(const std::vector<std::string>& names);

    QLabel* title() const { return title_; }
    QLabel* message() const { return message_; }

protected:
    void setMessage(const QString& message);
    void addControl(QWidget* control);
    void paintEvent(QPaintEvent* event) override;

private:
    QHBoxLayout* row_;
    QLabel* title_;
    QLabel* message_;
};

} // namespace kivo
