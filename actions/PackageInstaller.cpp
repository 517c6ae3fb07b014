#include "actions/PackageInstaller.h"

#include <optional>

#include "platform/DriverStore.h"
#include "platform/FileSystem.h"
#include "platform/Prompter.h"
#include "platform/SystemInfo.h"

namespace tessaly {
namespace {

std::string TrustText(const DriverPackage& package) {
    return "The driver package is signed with a certificate made for it alone:\r\n\r\n"
           "Subject: " +
           package.subject + "\r\nThumbprint: " + package.thumbprint +
           "\r\n\r\nInstalling adds it to this computer's \"Root\" and \"TrustedPublisher\" "
           "stores, so that Windows installs the package without asking. Its private key was "
           "discarded after signing: nothing else can be signed with it.";
}

std::string FileNameOf(const std::string& path, char separator) {
    const auto at = path.rfind(separator);
    return at == std::string::npos ? path : path.substr(at + 1);
}

}  // namespace

bool InstallDriverPackage(const DriverPackage& package, DriverStore& store, Prompter& prompter,
                          TrustConsent consent) {
    if (package.generatedCertificate && store.HasCertificateStores()) {
        const std::string text = TrustText(package);
        if (consent == TrustConsent::Ask) {
            if (!prompter.AskYesNo(text + "\r\n\r\nTrust it and install the package?")) {
                return false;
            }
        } else {
            prompter.ShowMessage(text, MessageIcon::None);
        }
        if (!store.TrustPublisher(package.certificate)) {
            prompter.ShowMessage(
                "Unable to add the package's certificate to this computer's "
                "certificate stores (installing needs an administrator).",
                MessageIcon::Stop);
            return false;
        }
    }
    return store.InstallPackage(package.inf, package.catalog, package.hardwareIds);
}

void WarnIfSeedInfIsIgnored(DriverStore& store, Prompter& prompter) {
    if (store.Is64BitWindows()) {
        prompter.ShowMessage(
            "warning: 64-bit Windows does not use this INF file: its models are not decorated "
            "for x64 or ARM64 and it has no signed catalog. Install the signed driver package "
            "instead.",
            MessageIcon::None);
    }
}

bool StagePackageInInfFolder(const std::string& inf, const std::string& catalog, FileSystem& files,
                             SystemInfo& system) {
    const std::optional<std::string> windows = system.GetWindowsDirectory();
    if (!windows) {
        return false;
    }
    const char separator = files.Separator();
    const std::string folder = *windows + separator + "inf" + separator;
    const std::string target = folder + FileNameOf(inf, separator);
    // A stale precompiled INF would win over the new text; its absence is fine.
    if (target.size() >= 3 && target.compare(target.size() - 3, 3, "inf") == 0) {
        files.RemoveFile(target.substr(0, target.size() - 3) + "pnf");
    }
    // The catalog first: an INF there whose catalog is missing is a package Windows refuses.
    return files.CopyReplacing(catalog, folder + FileNameOf(catalog, separator)) &&
           files.CopyReplacing(inf, target);
}

}  // namespace tessaly
