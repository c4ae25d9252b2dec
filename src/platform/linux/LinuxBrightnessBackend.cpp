#include "platform/linux/LinuxBrightnessBackend.h"

#include "brightness-library/SteadySleepClock.h"
#include "platform/linux/LinuxBacklightService.h"
#include "platform/linux/LinuxDrmDisplayList.h"
#include "platform/linux/LinuxI2CTransport.h"
#include "platform/linux/LogindBacklightWriter.h"
#include "platform/linux/SystemPosixFileIo.h"

namespace kivo::LinuxBrightnessBackend {

std::shared_ptr<SystemDisplayBrightnessBackend> make(std::shared_ptr<BacklightWriter> writer,
                                                     const std::filesystem::path& root) {
    if (!writer) {
        writer = std::make_shared<LogindBacklightWriter>();
    }
    auto io = std::make_shared<SystemPosixFileIo>();
    auto displays = std::make_shared<LinuxDrmDisplayList>(root);
    return std::make_shared<SystemDisplayBrightnessBackend>(
        displays, std::make_shared<LinuxBacklightService>(root, displays, io, std::move(writer)),
        std::make_shared<LinuxI2CTransport>(root, io), std::make_shared<SteadySleepClock>());
}

} // namespace kivo::LinuxBrightnessBackend
