#pragma once

#include "app/brightness/DisplayChangeSource.h"

#include <QObject>

class QScreen;

namespace kivo {

// Display changes as Qt sees them: a screen added or removed, or a screen's geometry changed.
class QtScreenChangeSource final : public QObject, public DisplayChangeSource {
    Q_OBJECT
public:
    explicit QtScreenChangeSource(QObject* parent = nullptr);

    void setDisplaysChangedHandler(std::function<void()> handler) override;

private:
    void watch(QScreen* screen);
    void changed();

    std::function<void()> handler_;
};

} // namespace kivo
