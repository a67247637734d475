#include "platform/usb/backend/backend.h"

#include "platform/usb/hid/hid_device.h"
#include "platform/usb/sim/simulated_meter.h"

#include <cstdlib>
#include <cstring>

namespace usb {

Backend SelectBackend(bool simulateFlag, const char *meterEnv)
{
    if (simulateFlag)
        return Backend::Simulated;
    if (meterEnv != nullptr && std::strcmp(meterEnv, "sim") == 0)
        return Backend::Simulated;
    return Backend::Hid;
}

Backend SelectBackend(int argc, const char *const *argv)
{
    bool simulate = false;
    for (int i = 1; i < argc && argv != nullptr; ++i)
        if (argv[i] != nullptr && std::strcmp(argv[i], "--simulate") == 0)
            simulate = true;
    return SelectBackend(simulate, std::getenv("NIVORA_METER"));
}

std::unique_ptr<UsbDevice> CreateUsbDevice(Backend backend)
{
    if (backend == Backend::Simulated) {
        auto meter = std::make_unique<SimulatedMeter>();
        meter->LoadSampleContent();
        return meter;
    }
    return std::make_unique<HidDevice>();
}

} // namespace usb
