#pragma once

#include <QObject>
#include <QPointer>

#include <optional>

class QLineEdit;

namespace kivo {

// Keeps a line edit within a number of user-perceived characters: a longer text is cut back to its
// first `limit` characters. QLineEdit's own maximum counts UTF-16 units, which would let it split an
// emoji or a decomposed accent and would count them wrongly. A text already too long when the limiter
// is attached stays until it is next changed; an input-method composition is never cut into, the
// check waits until it is committed. The cursor stays where the user was typing.
class MaxLengthLimiter : public QObject {
    Q_OBJECT
public:
    MaxLengthLimiter(QLineEdit* edit, int limit);

    // The first `limit` characters of `text` when it is longer; none when it fits.
    static std::optional<QString> cut(const QString& text, int limit);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void enforce();

    QPointer<QLineEdit> edit_;
    int limit_;
    bool composing_ = false;
};

} // namespace kivo
