#include "output/package/DriverPackage.h"

#include <cstdio>
#include <memory>
#include <utility>

#include "output/package/Catalog.h"
#include "output/package/Certificate.h"
#include "output/package/Der.h"
#include "output/package/PackageInf.h"
#include "platform/FileSystem.h"
#include "platform/PackageCrypto.h"
#include "platform/Prompter.h"

namespace tessaly {
namespace {

constexpr unsigned kGeneratedKeyBits = 3072;
constexpr std::size_t kMaxCredentialFileBytes = 1 << 20;
constexpr std::int64_t kSecondsPerDay = 24 * 60 * 60;

struct Signer {
    std::unique_ptr<SigningKey> key;
    std::string certificate;
    std::vector<std::string> chain;
    CertificateInfo info;
    bool generated = false;
};

std::string DayText(std::int64_t moment) {
    const der::CivilTime day = der::ToCivil(moment);
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", day.year, day.month, day.day);
    return text;
}

// Tells why no package was written; the caller then writes none.
class Refusal {
public:
    explicit Refusal(Prompter& prompter) : prompter_(prompter) {}
    void operator()(const std::string& reason) const {
        prompter_.ShowMessage("The driver package was not written: " + reason, MessageIcon::Stop);
    }

private:
    Prompter& prompter_;
};

std::optional<std::string> ReadCredentialFile(const std::string& path, FileSystem& files,
                                              const Refusal& refuse) {
    FileContents contents = files.ReadFile(path, kMaxCredentialFileBytes);
    if (contents.ok()) {
        return std::move(contents.bytes);
    }
    refuse(contents.error == ReadError::TooLarge ? path + " is too large for a key or certificate."
           : contents.error == ReadError::NotRegularFile ? path + " is not a file."
                                                         : path + " cannot be read.");
    return std::nullopt;
}

std::string CredentialProblem(CredentialError error, const SigningChoice& choice) {
    const bool pkcs12 = choice.source == SigningSource::Pkcs12;
    const std::string& keyFile = pkcs12 ? choice.pkcs12Path : choice.keyPath;
    switch (error) {
        case CredentialError::WrongPassword:
            return "the password does not open " + choice.pkcs12Path + ".";
        case CredentialError::NotPkcs12:
            return choice.pkcs12Path + " is not a PKCS #12 (.pfx) file.";
        case CredentialError::NoKeyAndCertificate:
            return choice.pkcs12Path + " does not hold a private key with its certificate.";
        case CredentialError::NotAKey:
            return keyFile + " holds no private key (or its password is wrong).";
        case CredentialError::EncryptedKey:
            return "the key in " + keyFile +
                   " is encrypted, which this system's crypto library does not open; give it "
                   "unencrypted or as a .pfx file.";
        case CredentialError::KeyUnavailable:
            return "this system's crypto library cannot sign with the key in " + keyFile + ".";
        case CredentialError::NotACertificate:
            return choice.certificatePath + " holds no certificate.";
        case CredentialError::NotRsa:
            return "the key in " + keyFile + " is not an RSA key; packages are signed with RSA.";
        case CredentialError::None:
            break;
    }
    return {};
}

std::optional<Signer> UserSigner(const DriverPackageRequest& request, FileSystem& files,
                                 PackageCrypto& crypto, const Refusal& refuse) {
    const SigningChoice& choice = request.signing;
    const bool pkcs12 = choice.source == SigningSource::Pkcs12;
    Credential credential;
    if (pkcs12) {
        const auto bytes = ReadCredentialFile(choice.pkcs12Path, files, refuse);
        if (!bytes) {
            return std::nullopt;
        }
        credential = crypto.ReadPkcs12(*bytes, choice.password);
    } else {
        const auto key = ReadCredentialFile(choice.keyPath, files, refuse);
        const auto certificate =
            key ? ReadCredentialFile(choice.certificatePath, files, refuse) : std::nullopt;
        if (!certificate) {
            return std::nullopt;
        }
        credential = crypto.ReadKeyAndCertificate(*key, *certificate, choice.password);
    }
    if (credential.error != CredentialError::None) {
        refuse(CredentialProblem(credential.error, choice));
        return std::nullopt;
    }
    const std::string& certificateFile = pkcs12 ? choice.pkcs12Path : choice.certificatePath;
    const std::optional<CertificateInfo> info = ParseCertificate(credential.certificate);
    if (!info) {
        refuse("the certificate in " + certificateFile + " cannot be read.");
        return std::nullopt;
    }
    if (!SameRsaPublicKey(info->publicKeyInfo, credential.key->PublicKeyInfo())) {
        refuse(pkcs12 ? "the key in " + choice.pkcs12Path + " does not belong to its certificate."
                      : "the key in " + choice.keyPath + " does not belong to the certificate in " +
                            choice.certificatePath + ".");
        return std::nullopt;
    }
    if (request.now > info->notAfter) {
        refuse("the certificate in " + certificateFile + " expired on " + DayText(info->notAfter) +
               ".");
        return std::nullopt;
    }
    if (request.now < info->notBefore) {
        refuse("the certificate in " + certificateFile + " is not valid before " +
               DayText(info->notBefore) + ".");
        return std::nullopt;
    }
    if (!IsForCodeSigning(*info)) {
        refuse("the certificate in " + certificateFile +
               " is not for code signing (its extended key usage must list code signing).");
        return std::nullopt;
    }
    return Signer{std::move(credential.key), std::move(credential.certificate),
                  std::move(credential.chain), *info, false};
}

std::optional<Signer> GeneratedSigner(const DriverPackageRequest& request, PackageCrypto& crypto,
                                      const Refusal& refuse) {
    std::unique_ptr<SigningKey> key = crypto.GenerateRsaKey(kGeneratedKeyBits);
    const std::string& manufacturer =
        request.device.BusType == Bus::Usb ? request.device.UsbManufName : request.device.ManufName;
    // A day's margin for a clock on the target PC that runs behind.
    const std::int64_t from = request.now - kSecondsPerDay;
    const std::int64_t until = request.now + kGeneratedCertificateYears * 365 * kSecondsPerDay;
    const std::string name = (manufacturer.empty() ? "" : manufacturer + " ") +
                             request.device.InstrumentPrefix + " driver package";
    const std::optional<std::string> certificate =
        key ? MakeSelfSignedCertificate(name, from, until, *key, crypto) : std::nullopt;
    const std::optional<CertificateInfo> info =
        certificate ? ParseCertificate(*certificate) : std::nullopt;
    if (!info) {
        refuse("the crypto library could not make a certificate.");
        return std::nullopt;
    }
    return Signer{std::move(key), *certificate, {}, *info, true};
}

}  // namespace

std::optional<std::int64_t> ParseSourceDateEpoch(std::string_view text) {
    // 253402300799 is the last second of the year 9999, the last one a date here can show.
    constexpr std::int64_t kLast = 253402300799;
    if (text.empty() || text.size() > 12) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    return value <= kLast ? std::optional(value) : std::nullopt;
}

std::optional<std::int64_t> PackageDate(const PackageEnvironment& environment) {
    if (const std::optional<std::string>& epoch = environment.sourceDateEpoch) {
        return ParseSourceDateEpoch(*epoch);
    }
    return environment.now;
}

PackagePaths PackagePathsFor(const std::string& outputDirectory, const std::string& prefix,
                             const FileSystem& files) {
    const char separator = files.Separator();
    const std::string folder = outputDirectory + separator + "package";
    const std::string stem = folder + separator + files.PathFromText(prefix);
    return {folder, stem + ".inf", stem + ".cat", stem + ".cer"};
}

std::optional<DriverPackage> WriteDriverPackage(const DriverPackageRequest& request,
                                                FileSystem& files, PackageCrypto& crypto,
                                                Prompter& prompter) {
    const PackagePaths paths =
        PackagePathsFor(request.outputDirectory, request.device.InstrumentPrefix, files);
    const std::string& certificatePath = paths.certificate;
    DriverPackage package;
    package.folder = paths.folder;
    package.inf = paths.inf;
    package.catalog = paths.catalog;
    // A package from an earlier run describes other files; it goes whatever happens next.
    const auto removePackage = [&] {
        files.RemoveFile(package.inf);
        files.RemoveFile(package.catalog);
        files.RemoveFile(certificatePath);
    };
    const Refusal refuse(prompter);
    const auto refused = [&]() -> std::optional<DriverPackage> {
        removePackage();
        return std::nullopt;
    };

    if (request.device.InstrumentPrefix.empty()) {
        refuse("the package's files are named by the instrument prefix, which is empty.");
        return refused();
    }
    if (!IsValidDriverVersion(request.driverVersion)) {
        refuse("the driver version " + request.driverVersion +
               " is not of the form a.b.c.d (numbers up to 65535).");
        return refused();
    }
    std::optional<Signer> signer = request.signing.source == SigningSource::Generated
                                       ? GeneratedSigner(request, crypto, refuse)
                                       : UserSigner(request, files, crypto, refuse);
    if (!signer) {
        return refused();
    }

    const std::string inf =
        RenderPackageInf(request.device, request.device.BusType, request.driverVersion,
                         request.date, package.hardwareIds);
    const std::string infName = request.device.InstrumentPrefix + ".inf";
    const std::string list = BuildCatalogList(
        {{infName, crypto.Digest(DigestAlgorithm::Sha256, inf)}}, request.date, crypto);
    const std::optional<std::string> catalog =
        SignCatalog(list, {signer->certificate, signer->info, signer->chain, *signer->key}, crypto);
    // The generated key has done its one job.
    signer->key.reset();
    if (!catalog) {
        refuse("the crypto library could not sign the catalog.");
        return refused();
    }

    // The INF goes last: while it is missing, nothing takes the folder for a package.
    files.RemoveFile(package.inf);
    std::string failed;  // what could not be saved, for the message
    const auto save = [&](bool done, const std::string& path) {
        failed = done ? failed : path;
        return done;
    };
    const bool saved =
        save(files.MakeDirectory(package.folder), package.folder) &&
        save(files.WriteFile(package.catalog, *catalog), package.catalog) &&
        save(signer->generated ? files.WriteFile(certificatePath, signer->certificate)
                               : files.RemoveFile(certificatePath) ||
                                     !files.QueryAttributes(certificatePath).ok(),
             certificatePath) &&
        save(files.WriteFile(package.inf, inf), package.inf);
    if (!saved) {
        removePackage();
        prompter.ShowMessage("Unable to save the driver package: " + failed + " cannot be written.",
                             MessageIcon::Stop);
        return std::nullopt;
    }
    package.certificateFile = signer->generated ? certificatePath : std::string();
    package.certificate = std::move(signer->certificate);
    package.subject = signer->info.subjectText;
    package.thumbprint = HexUpper(crypto.Digest(DigestAlgorithm::Sha1, package.certificate));
    package.generatedCertificate = signer->generated;
    return package;
}

}  // namespace tessaly
