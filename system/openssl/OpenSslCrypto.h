#pragma once

#include <memory>
#include <mutex>
#include <string>

#include "platform/PackageCrypto.h"

namespace tessaly {

struct CryptoLibrary;

// The driver package's cryptography on OpenSSL's libcrypto, loaded when it is first needed: mapping
// it costs every run some 3 ms, also the many that sign nothing. Without it, digests come out
// empty, no key is made and no credential is read.
class OpenSslCrypto final : public PackageCrypto {
public:
    explicit OpenSslCrypto(std::string library = "libcrypto.so.3");
    ~OpenSslCrypto() override;

    std::string Digest(DigestAlgorithm algorithm, std::string_view data) override;
    std::unique_ptr<SigningKey> GenerateRsaKey(unsigned bits) override;
    Credential ReadPkcs12(std::string_view bytes, const std::string& password) override;
    Credential ReadKeyAndCertificate(std::string_view keyBytes, std::string_view certificateBytes,
                                     const std::string& password) override;

private:
    // The library's functions; nullptr when it cannot be loaded. Safe from several threads.
    const CryptoLibrary* Library();

    std::string name_;
    std::shared_ptr<const CryptoLibrary> library_;
    std::once_flag loaded_;
};

}  // namespace tessaly
