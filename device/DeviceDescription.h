#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tessaly {

// The hardware bus of the device: it decides the pages and the files.
enum class Bus { PxiPci, Usb };

// One detection sequence: a label, its step string and the number of steps in it.
struct DetectSequence {
    std::int32_t Number = 0;
    std::string Steps;
    std::int32_t StepCount = 0;

    friend bool operator==(const DetectSequence&, const DetectSequence&) = default;
};

// Everything the wizard gathers about one instrument. Texts hold 8-bit bytes as typed or
// loaded; ID texts are canonical ("0x%04X") only once their field has lost focus.
struct DeviceDescription {
    // Bus selection page.
    Bus BusType = Bus::PxiPci;

    // PXI/PCI device information page.
    std::string ManufCode = "0xFFFF";
    std::string ModelCode = "0xFFFF";
    bool UsesSubsystem = false;
    std::string SubsystemManufCode = "0x0000";
    std::string SubsystemModelCode = "0x0000";
    std::string ManufName = "Your Manufacturer Name";
    std::string ModelName = "Your Model Name";
    bool GeneratesInterrupts = false;

    // USB device information page.
    std::string UsbVendorId = "0xFFFF";
    std::string UsbProductId = "0xFFFF";
    std::string UsbManufName = "Your Manufacturer Name";
    std::string UsbModelName = "Your Model Name";
    bool IsCompoundDevice = false;
    int InterfaceCount = 2;
    std::string InterfaceCountText = "2";  // the field's text; InterfaceCount is read from it

    // Interrupt pages.
    std::vector<DetectSequence> DetectSequences;
    std::string RemovalSteps;

    // Output files page.
    std::string InstrumentPrefix = "prefix";
    std::string OutputDirectory;

    friend bool operator==(const DeviceDescription&, const DeviceDescription&) = default;
};

}  // namespace tessaly
