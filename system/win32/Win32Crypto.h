#pragma once

#include "platform/PackageCrypto.h"

namespace tessaly {

// The driver package's cryptography on Windows' own libraries: CNG (bcrypt, ncrypt) for hashes,
// keys and signatures, crypt32 for PEM text and PKCS #12 files.
class Win32Crypto final : public PackageCrypto {
public:
    std::string Digest(DigestAlgorithm algorithm, std::string_view data) override;
    std::unique_ptr<SigningKey> GenerateRsaKey(unsigned bits) override;
    Credential ReadPkcs12(std::string_view bytes, const std::string& password) override;
    Credential ReadKeyAndCertificate(std::string_view keyBytes, std::string_view certificateBytes,
                                     const std::string& password) override;
};

}  // namespace tessaly
