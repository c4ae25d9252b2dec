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
    QString removeEmptyFolder(const QString& path) override {
        removedFolders_.append(path);
        return {};
    }

    void setFailure(QString message) { failure_ = std::move(message); }
    QStringList requests() const { return requests_; }
    QStringList removedFolders() const { return removedFolders_; }

private:
    QString failure_;
    QStringList requests_;
    QStringList removedFolders_;
};

} // namespace kivo
