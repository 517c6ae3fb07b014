#pragma once

#include <string>
#include <string_view>

#include "output/package/DriverPackage.h"

namespace tessaly {

class DriverStore;
class FileSystem;
class Prompter;
class SystemInfo;

// How the user agrees to trusting a generated certificate.
enum class TrustConsent {
    Ask,   // the wizard: a question, No installs nothing
    Tell,  // a script that asked to install: the install is the consent; the program says so
};

inline constexpr std::string_view kPackageNotInstalled =
    "The wizard could not install the driver package.";

// Installs a driver package. Where the store has certificate stores and the certificate was
// generated, the certificate is trusted first, after asking (or telling) the user its subject
// and thumbprint. True when the package was installed.
bool InstallDriverPackage(const DriverPackage& package, DriverStore& store, Prompter& prompter,
                          TrustConsent consent);

// Before the seed's XP/2000 or WDM INF is installed without a package: on 64-bit Windows, which
// does not use that INF, a warning that says so (a notice: the install goes on).
void WarnIfSeedInfIsIgnored(DriverStore& store, Prompter& prompter);

// What installing means without Windows' driver store: the INF and its catalog are copied into
// the inf folder of the Windows directory, and the INF's stale precompiled companion (.pnf) is
// removed. False when there is no Windows directory or a copy fails.
bool StagePackageInInfFolder(const std::string& inf, const std::string& catalog, FileSystem& files,
                             SystemInfo& system);

}  // namespace tessaly
