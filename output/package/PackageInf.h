#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "device/DeviceDescription.h"

namespace tessaly {

// The architectures the package INF decorates its models for: every Windows sold today.
inline constexpr std::string_view kPackageArchitectures[] = {"NTx86", "NTamd64", "NTarm64"};

// "MM/DD/YYYY,a.b.c.d" for the day (UTC) of `date`.
std::string DriverVerValue(std::int64_t date, std::string_view driverVersion);

// True for a driver version of the form a.b.c.d, each part a decimal number up to 65535.
bool IsValidDriverVersion(std::string_view version);

// The package's INF for `bus`: the hardware IDs, service and
// Corbel database values of the seed's INF for that bus (XP/2000 for PXI/PCI, WDM for USB), with
// models decorated per architecture, DriverVer, CatalogFile and PnpLockdown. Appends the
// hardware IDs in writing order.
std::string RenderPackageInf(const DeviceDescription& device, Bus bus,
                             std::string_view driverVersion, std::int64_t date,
                             std::vector<std::string>& hardwareIds);

}  // namespace tessaly
