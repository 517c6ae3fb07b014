#pragma once

#include <string_view>

// The program's string table: texts shown to the user that carry a resource number.
namespace tessaly::strings {

inline constexpr std::string_view kAppTitle = "Tessaly Wizard";  // 57344

inline constexpr std::string_view kManufacturerIdZero = "Manufacturer ID cannot be zero.";  // 120
inline constexpr std::string_view kSubsystemManufacturerIdZero =
    "Subsystem Manufacturer ID cannot be zero.";  // 121
inline constexpr std::string_view kInterfaceCountInvalid =
    "The number of interfaces entered for this compound device is invalid.  Please choose a "
    "number between 2 and 99.";                                                              // 122
inline constexpr std::string_view kOutputFilesTitle = "Tessaly Wizard - %s - Output Files";  // 123
inline constexpr std::string_view kUsbDistributionNote =
    "If you are creating a distribution kit for your driver or application, you need to install "
    "the appropriate .INF file depending on the operating system.";  // 125
inline constexpr std::string_view kPxiDistributionNote =
    "If you are creating a distribution kit for your driver or application, you need to install "
    "the appropriate .INF file depending on the operating system.  (The distribution kit that "
    "Plexicode creates for IVI and VXIpnp drivers does this automatically.)";  // 126
inline constexpr std::string_view kNotModuleDescriptionFile =
    "The file you selected is not a valid module description file.";                 // 127
inline constexpr std::string_view kInstrumentPrefixLabel = "%s Instrument &Prefix";  // 130

}  // namespace tessaly::strings
