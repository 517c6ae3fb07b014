#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "device/DeviceDescription.h"

namespace tessaly {

class FileSystem;
class PackageCrypto;
class Prompter;

// Where the package's signature comes from.
enum class SigningSource {
    Generated,          // a fresh self-signed certificate whose key is discarded after signing
    Pkcs12,             // the user's .pfx file and its password
    KeyAndCertificate,  // the user's key file and certificate file (PEM or DER)
};

struct SigningChoice {
    SigningSource source = SigningSource::Generated;
    std::string pkcs12Path;
    std::string password;  // opens the .pfx file, or an encrypted PEM key
    std::string keyPath;
    std::string certificatePath;
};

// Everything a driver package is made from, as plain values.
struct DriverPackageRequest {
    DeviceDescription device;  // the IDs, names, interrupt steps and prefix
    // The folder holding the seed's files; the package goes into its "package" subfolder.
    std::string outputDirectory;
    std::string driverVersion = "1.0.0.0";  // a.b.c.d
    // The date the INF and catalog carry: SOURCE_DATE_EPOCH when set, else the current time.
    std::int64_t date = 0;
    // The current time, against which a certificate's validity is checked and from which a
    // generated one is valid.
    std::int64_t now = 0;
    SigningChoice signing;
};

// What packages take from outside the command line and the wizard, read once at start-up.
struct PackageEnvironment {
    PackageCrypto& crypto;  // the system's crypto library, shared by the devices' workers
    std::int64_t now = 0;   // the time of the run, in seconds since 1970
    // SOURCE_DATE_EPOCH and TESSALY_PFX_PASSWORD; nullopt when unset (or, for the date, empty).
    std::optional<std::string> sourceDateEpoch = std::nullopt;
    std::optional<std::string> pfxPassword = std::nullopt;
};

// A package's files: <output directory>/package/<prefix>.inf, .cat and .cer.
struct PackagePaths {
    std::string folder;
    std::string inf;
    std::string catalog;
    std::string certificate;  // written only when the certificate is generated
};

PackagePaths PackagePathsFor(const std::string& outputDirectory, const std::string& prefix,
                             const FileSystem& files);

// A package written whole.
struct DriverPackage {
    std::string folder;
    std::string inf;
    std::string catalog;
    std::string certificateFile;  // the generated certificate's file; empty for the user's
    std::vector<std::string> hardwareIds;
    std::string certificate;  // the signer's certificate, DER
    std::string subject;      // "CN=..."
    std::string thumbprint;   // SHA-1 of the certificate, upper-case hexadecimal
    bool generatedCertificate = false;
};

// The moment SOURCE_DATE_EPOCH names: seconds since 1970 in decimal digits and nothing else;
// nullopt for any other text, which a reproducible build must not silently replace by the
// current time.
std::optional<std::int64_t> ParseSourceDateEpoch(std::string_view text);

// The date packages carry: SOURCE_DATE_EPOCH when set, else the time of the run. Nullopt when
// SOURCE_DATE_EPOCH is set to something that is no date, which a reproducible build must not
// silently replace by the current time.
std::optional<std::int64_t> PackageDate(const PackageEnvironment& environment);

// The generated certificate's lifetime.
inline constexpr std::int64_t kGeneratedCertificateYears = 20;

// Makes the package in memory, then saves it: its INF, its signed catalog and, with a
// generated certificate, the certificate's public part (<prefix>.cer). A package is complete or
// absent: on bad input (a file that cannot be read, a wrong password, a key that is not the
// certificate's, a certificate that has expired or is not for code signing) or a failed save,
// the message names the cause, none of the three files is left in the package folder, and the
// result is nullopt. The seed's files are not touched.
std::optional<DriverPackage> WriteDriverPackage(const DriverPackageRequest& request,
                                                FileSystem& files, PackageCrypto& crypto,
                                                Prompter& prompter);

}  // namespace tessaly
