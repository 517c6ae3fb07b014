#pragma once

#include "platform/DriverStore.h"
#include "platform/FileSystem.h"
#include "platform/FtpClient.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "platform/SystemInfo.h"

namespace tessaly {

class DeviceSource;  // discovery/DeviceSource.h

// The platform as the core receives it: references to injected implementations, never globals.
struct Platform {
    Registry& registry;
    FileSystem& files;
    SystemInfo& system;
    Shell& shell;
    PlugAndPlay& plugAndPlay;
    FtpClient& ftp;
    DeviceSource& devices;
    DriverStore& driverStore;
};

}  // namespace tessaly
