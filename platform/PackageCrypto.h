#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

enum class DigestAlgorithm { Sha1, Sha256 };

// A private key that stays inside the crypto library: it signs, and is never written anywhere.
// Dropping the object discards it.
class SigningKey {
public:
    virtual ~SigningKey() = default;

    // The public half as a DER SubjectPublicKeyInfo.
    virtual std::string PublicKeyInfo() const = 0;

    // An RSA PKCS #1 v1.5 signature of the SHA-256 digest of `data`; nullopt when the library
    // fails.
    virtual std::optional<std::string> SignSha256(std::string_view data) = 0;
};

// Why a key or certificate could not be taken from what the user gave.
enum class CredentialError {
    None,
    WrongPassword,        // the PKCS #12 file does not open with this password
    NotPkcs12,            // the bytes are no PKCS #12 file
    NoKeyAndCertificate,  // a PKCS #12 file without a private key and its certificate
    NotAKey,              // no private key in a PEM or DER key file (or its password is wrong)
    EncryptedKey,         // an encrypted key this library does not open
    KeyUnavailable,       // the library holds the key but cannot sign with it here
    NotACertificate,      // no certificate in a PEM or DER certificate file
    NotRsa,               // a key of another kind: packages are signed with RSA
};

struct Credential {
    CredentialError error = CredentialError::None;
    std::unique_ptr<SigningKey> key;
    std::string certificate;  // DER
    // Further certificates a PKCS #12 file carries (its issuers), DER, in the file's order.
    std::vector<std::string> chain;
};

// The cryptography a driver package needs, done by the system's library (libcrypto, CNG).
class PackageCrypto {
public:
    virtual ~PackageCrypto() = default;

    virtual std::string Digest(DigestAlgorithm algorithm, std::string_view data) = 0;

    // A fresh RSA key of `bits` bits, held in memory only; nullptr when the library fails.
    virtual std::unique_ptr<SigningKey> GenerateRsaKey(unsigned bits) = 0;

    // The private key and its certificate from a PKCS #12 (.pfx) file's bytes.
    virtual Credential ReadPkcs12(std::string_view bytes, const std::string& password) = 0;

    // A private key (PEM or DER; encrypted PEM opened with `password`) and a certificate (PEM
    // or DER). Whether they belong together is not checked here.
    virtual Credential ReadKeyAndCertificate(std::string_view keyBytes,
                                             std::string_view certificateBytes,
                                             const std::string& password) = 0;
};

}  // namespace tessaly
