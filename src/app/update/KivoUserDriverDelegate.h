#pragma once

#include <QObject>

namespace kivo {

// Follows the update interface: logs the end of each update session.
class KivoUserDriverDelegate : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    void standardUserDriverWillFinishUpdateSession();
};

} // namespace kivo
