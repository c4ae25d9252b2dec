#pragma once

#include "app/ports/TrashPort.h"

#include <QStringList>

namespace kivo {

// A trash that only records what it was asked to take; a test can make it refuse.
class SimulatedTrash : public TrashPort {
public:
    QString moveToTrash(const QString& path) override {
        requests_.append(path);
        return failure_;
    }

    void setFailure(QString message) { failure_ = std::move(message); }
    QStringList requests() const { return requests_; }

private:
    QString failure_;
    QStringList requests_;
};

} // namespace kivo
