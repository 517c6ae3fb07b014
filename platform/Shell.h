#pragma once

#include <string>

namespace tessaly {

class Shell {
public:
    virtual ~Shell() = default;

    // Opens a folder in the desktop's file manager without waiting; false when that failed.
    virtual bool OpenFolder(const std::string& path) = 0;

    // Starts `file` with the verb "open" and `parameters`, hidden and not waited for. Returns
    // the shell's result code: 32 or more means the program was started.
    virtual int Execute(const std::string& file, const std::string& parameters) = 0;
};

// Driver installation for Plug and Play devices.
class PlugAndPlay {
public:
    virtual ~PlugAndPlay() = default;

    // False when the update function is not available on this system.
    virtual bool IsAvailable() = 0;

    // Updates the driver of the devices matching `hardwareId` from `infPath`; the result and
    // any reboot request are not reported.
    virtual void UpdateDriver(const std::string& hardwareId, const std::string& infPath) = 0;
};

}  // namespace tessaly
