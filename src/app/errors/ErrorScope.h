#pragma once

#include <QJsonObject>
#include <QString>

namespace kivo {

// Extra data a caller attaches to one report.
class ErrorScope {
public:
    void setContextValue(const QJsonObject& value, const QString& key) { contexts_.insert(key, value); }
    const QJsonObject& contexts() const { return contexts_; }

private:
    QJsonObject contexts_;
};

} // namespace kivo
