#include "platform/linux/IBusInputMethod.h"

#include "platform/linux/InputMethodRecord.h"

namespace kivo {

IBusInputMethod::IBusInputMethod(std::shared_ptr<InputMethodRecord> record) : record_(std::move(record)) {}

IBusInputMethod::~IBusInputMethod() = default;

PlainTyping IBusInputMethod::typePlain(int, WindowHandle) {
    return {};
}

bool IBusInputMethod::restore() {
    return true;
}

void IBusInputMethod::recover(const QJsonObject&) {}

} // namespace kivo
