// Choosing the meter backend once at program start.
//
// "--simulate" on the command line, or the environment variable
// NIVORA_METER=sim, selects the simulated meter; otherwise the real meter is
// reached through hidapi.
#pragma once

#include "platform/usb/usb_device.h"

#include <memory>

namespace usb {

enum class Backend { Simulated, Hid };

// meterEnv is the value of NIVORA_METER (nullptr when unset).
Backend SelectBackend(bool simulateFlag, const char *meterEnv);

// Looks for "--simulate" among argv[1..argc-1] and reads NIVORA_METER.
Backend SelectBackend(int argc, const char *const *argv);

// A device of the chosen kind. The simulated meter comes filled with
// sample data sets and LEQ records so the whole program can be tried out.
std::unique_ptr<UsbDevice> CreateUsbDevice(Backend backend);

} // namespace usb
