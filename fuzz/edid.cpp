// EDID blocks as a monitor reports them: the fields read from any bytes are within their ranges, the
// name is plain printable text, and binding a display to its bus follows the header rule.
#include "brightness-library/Edid.h"
#include "FakeDdcBus.h"
#include "FuzzCheck.h"
#include "brightness-library/ConnectorDDC.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

using namespace kivo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> edid(data, data + size);
    const bool header = Edid::hasHeader(edid);
    FUZZ_CHECK(!header || size >= 8);
    const auto vendor = Edid::vendorNumber(edid);
    const auto model = Edid::modelNumber(edid);
    FUZZ_CHECK(vendor.has_value() == (size >= 12));
    FUZZ_CHECK(model.has_value() == (size >= 12));
    FUZZ_CHECK(!vendor || *vendor <= 0xFFFF);
    FUZZ_CHECK(!model || *model <= 0xFFFF);
    if (const auto name = Edid::monitorName(edid)) {
        FUZZ_CHECK(header && size >= 128);
        FUZZ_CHECK(!name->empty() && name->size() <= 13);
        FUZZ_CHECK(name->front() != ' ' && name->back() != ' ');
        for (const char c : *name) {
            FUZZ_CHECK(c >= 0x20 && c < 0x7F);
        }
    }
    // The display is vendor 0x10AC, model 0x4242: only a readable EDID naming another monitor keeps it off
    // this bus.
    const bool readable = header && size >= 12;
    const bool names = readable && *vendor == 0x10AC && *model == 0x4242;
    ConnectorDDC ddc(std::make_shared<fuzz::OneDisplay>(),
                     std::make_shared<fuzz::OneChannel>(edid, std::vector<std::uint8_t>{}),
                     std::make_shared<fuzz::InstantClock>());
    FUZZ_CHECK(ddc.hasService(1) == (!readable || names));
    return 0;
}
