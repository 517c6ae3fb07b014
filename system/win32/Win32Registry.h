#pragma once

#include "platform/Registry.h"

namespace tessaly {

// HKEY_LOCAL_MACHINE through the ANSI registry calls, read only, in the 32-bit view.
class Win32Registry final : public Registry {
public:
    std::unique_ptr<RegistryKey> OpenLocalMachineKey(const std::string& path) override;
};

}  // namespace tessaly
