#pragma once

#include "device/DeviceDescription.h"

namespace tessaly::testing {

// The PXI/PCI device of the driver package's golden files: names with a quote, a percent sign
// and Latin-1 bytes, two detection sequences; with or without subsystem IDs.
inline DeviceDescription GoldenPxiDevice(bool subsystem) {
    DeviceDescription d;
    d.ManufCode = "0xABCD";
    d.ModelCode = "0x1234";
    d.UsesSubsystem = subsystem;
    d.SubsystemManufCode = "0x5678";
    d.SubsystemModelCode = "0x9ABC";
    d.ManufName = "Caf\xE9 \"Labs\" 100%";
    d.ModelName = "5 \xB5s Timer";
    d.InstrumentPrefix = "abcdefgh";
    d.RemovalSteps = "R8 CFG 0x00000004;W32 BAR1 0x00000100 0x00000001;";
    d.DetectSequences = {{0, "C16 BAR0 0x00000010 0xFFFF 0x0001;", 1},
                         {1, "C8 CFG 0x00000044 0xFF 0x01;", 1}};
    return d;
}

}  // namespace tessaly::testing
