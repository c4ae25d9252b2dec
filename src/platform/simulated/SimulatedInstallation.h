#pragma once

#include "app/ports/Installation.h"

namespace kivo {

// An installation that is either the user's own (its files and folders listed) or a system package.
class SimulatedInstallation : public Installation {
public:
    QStringList files{QStringLiteral("/home/user/.local/bin/kivo")};
    QStringList folders;
    QString packageReason; // non-empty: the program belongs to a system package

    QStringList userOwnedFiles() const override { return packageReason.isEmpty() ? files : QStringList{}; }
    QStringList userOwnedFolders() const override {
        return packageReason.isEmpty() ? folders : QStringList{};
    }
    QString systemOwnedReason() const override { return packageReason; }
};

} // namespace kivo
