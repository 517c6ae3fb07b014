#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tessaly {

class PackageCrypto;
class SigningKey;

// What signing needs to know of an X.509 certificate. Encoded parts are whole DER elements.
struct CertificateInfo {
    std::string issuer;        // Name
    std::string serialNumber;  // INTEGER
    std::string subjectText;   // "CN=..., O=...", most specific first, as Windows shows it
    std::int64_t notBefore = 0;
    std::int64_t notAfter = 0;
    std::string publicKeyInfo;  // SubjectPublicKeyInfo
    // Extended key usage: absent means any; present, it must list code signing.
    bool hasExtendedKeyUsage = false;
    bool codeSigningUsage = false;
    // Key usage: absent means any; present, it must allow digital signatures.
    bool hasKeyUsage = false;
    bool digitalSignatureUsage = false;
};

// Nullopt when `der` is no certificate this reader understands.
std::optional<CertificateInfo> ParseCertificate(std::string_view der);

// True when the certificate says it may sign code: its extended key usage lists code signing
// and its key usage, if any, allows digital signatures. A certificate without an extended key
// usage is refused too: Windows' driver signing policy asks for code signing by name.
bool IsForCodeSigning(const CertificateInfo& certificate);

// True when two SubjectPublicKeyInfo elements hold the same RSA key (modulus and exponent),
// however their algorithm parameters are written.
bool SameRsaPublicKey(std::string_view publicKeyInfoA, std::string_view publicKeyInfoB);

// A self-signed code-signing certificate (X.509 v3, SHA-256 with RSA) for `key`, valid from
// `notBefore` to `notAfter`, whose subject is the common name `commonName` (Latin-1). Its serial
// number derives from the key, so every generated key gets its own. Nullopt when signing fails.
std::optional<std::string> MakeSelfSignedCertificate(std::string_view commonName,
                                                     std::int64_t notBefore, std::int64_t notAfter,
                                                     SigningKey& key, PackageCrypto& crypto);

// Upper-case hexadecimal of the bytes.
std::string HexUpper(std::string_view bytes);

}  // namespace tessaly
