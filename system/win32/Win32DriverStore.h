#pragma once

#include "platform/DriverStore.h"

namespace tessaly {

// Windows' own stores: crypt32's system certificate stores of the local machine, setupapi's
// driver store (SetupCopyOEMInfA) and newdev's driver update for the present devices.
class Win32DriverStore final : public DriverStore {
public:
    bool HasCertificateStores() override { return true; }
    bool TrustPublisher(std::string_view certificate) override;
    bool InstallPackage(const std::string& inf, const std::string& catalog,
                        const std::vector<std::string>& hardwareIds) override;
    bool Is64BitWindows() override;
};

}  // namespace tessaly
