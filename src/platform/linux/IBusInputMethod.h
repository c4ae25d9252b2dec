#pragma once

#include "platform/linux/LinuxInputMethod.h"

#include <memory>

namespace kivo {

class InputMethodRecord;

class IBusInputMethod final : public InputMethodFramework {
public:
    explicit IBusInputMethod(std::shared_ptr<InputMethodRecord> record);
    ~IBusInputMethod() override;

    QString name() const override { return QStringLiteral("ibus"); }
    PlainTyping typePlain(int processId, WindowHandle window) override;
    bool restore() override;
    void recover(const QJsonObject& record) override;

private:
    std::shared_ptr<InputMethodRecord> record_;
};

} // namespace kivo
