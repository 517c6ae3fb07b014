#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

// Where driver packages are installed: Windows' driver store and certificate stores, or on a
// system without them the inf folder of a Windows image.
class DriverStore {
public:
    virtual ~DriverStore() = default;

    // True where installing a package trusts its certificate on the machine (Windows).
    virtual bool HasCertificateStores() = 0;

    // Adds the certificate (DER) to the machine's "Root" and "TrustedPublisher" stores: Windows
    // then accepts packages it signed without asking. False when either store refuses.
    virtual bool TrustPublisher(std::string_view certificate) = 0;

    // Stages the package's INF and catalog and installs it for the present devices with these
    // hardware IDs; a device that is not present takes the package when it appears. False when
    // the package could not be staged.
    virtual bool InstallPackage(const std::string& inf, const std::string& catalog,
                                const std::vector<std::string>& hardwareIds) = 0;

    // True on a 64-bit Windows (x64, ARM64), which ignores an INF without decorated models.
    virtual bool Is64BitWindows() = 0;
};

}  // namespace tessaly
