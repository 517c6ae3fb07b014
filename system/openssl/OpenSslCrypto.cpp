#include "system/openssl/OpenSslCrypto.h"

#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/pkcs12.h>
#include <openssl/rsa.h>
#include <openssl/x509.h>

#include <limits>

#include "platform/NativeSystem.h"

namespace tessaly {
namespace {

template <typename T, void (*Free)(T*)>
struct Deleter {
    void operator()(T* p) const { Free(p); }
};
template <typename T, void (*Free)(T*)>
using Owned = std::unique_ptr<T, Deleter<T, Free>>;

using Key = Owned<EVP_PKEY, EVP_PKEY_free>;
using Certificate = Owned<X509, X509_free>;
using Bio = Owned<BIO, BIO_free_all>;
using Pkcs12 = Owned<PKCS12, PKCS12_free>;
using DigestContext = Owned<EVP_MD_CTX, EVP_MD_CTX_free>;

void FreeCertificates(STACK_OF(X509) * certificates) {
    sk_X509_pop_free(certificates, X509_free);
}
using Certificates = Owned<STACK_OF(X509), FreeCertificates>;

// The library's error queue says nothing the user acts on; each failure is reported by kind.
struct ErrorQueueCleaner {
    ~ErrorQueueCleaner() { ERR_clear_error(); }
};

Bio MemoryBio(std::string_view bytes) {
    if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        return nullptr;
    }
    return Bio(BIO_new_mem_buf(bytes.data(), static_cast<int>(bytes.size())));
}

std::string Encode(X509* certificate) {
    unsigned char* der = nullptr;
    const int length = i2d_X509(certificate, &der);
    if (length <= 0) {
        return {};
    }
    std::string out(reinterpret_cast<const char*>(der), static_cast<std::size_t>(length));
    OPENSSL_free(der);
    return out;
}

class OpenSslKey final : public SigningKey {
public:
    explicit OpenSslKey(Key key) : key_(std::move(key)) {}

    std::string PublicKeyInfo() const override {
        unsigned char* der = nullptr;
        const int length = i2d_PUBKEY(key_.get(), &der);
        if (length <= 0) {
            return {};
        }
        std::string out(reinterpret_cast<const char*>(der), static_cast<std::size_t>(length));
        OPENSSL_free(der);
        return out;
    }

    std::optional<std::string> SignSha256(std::string_view data) override {
        const ErrorQueueCleaner cleaner;
        DigestContext context(EVP_MD_CTX_new());
        EVP_PKEY_CTX* keyContext = nullptr;
        std::size_t length = 0;
        const auto* bytes = reinterpret_cast<const unsigned char*>(data.data());
        if (!context ||
            EVP_DigestSignInit(context.get(), &keyContext, EVP_sha256(), nullptr, key_.get()) !=
                1 ||
            EVP_PKEY_CTX_set_rsa_padding(keyContext, RSA_PKCS1_PADDING) != 1 ||
            EVP_DigestSign(context.get(), nullptr, &length, bytes, data.size()) != 1) {
            return std::nullopt;
        }
        std::string signature(length, '\0');
        if (EVP_DigestSign(context.get(), reinterpret_cast<unsigned char*>(signature.data()),
                           &length, bytes, data.size()) != 1) {
            return std::nullopt;
        }
        signature.resize(length);
        return signature;
    }

private:
    Key key_;
};

Credential Failed(CredentialError error) {
    Credential credential;
    credential.error = error;
    return credential;
}

// Checks the key's kind and wraps the pair.
Credential Pair(Key key, X509* certificate) {
    if (EVP_PKEY_base_id(key.get()) != EVP_PKEY_RSA) {
        return Failed(CredentialError::NotRsa);
    }
    Credential credential;
    credential.certificate = Encode(certificate);
    credential.key = std::make_unique<OpenSslKey>(std::move(key));
    return credential;
}

// The password callback of PEM reading: the given password, or none.
int PemPassword(char* buffer, int size, int, void* userData) {
    const auto* password = static_cast<const std::string*>(userData);
    if (password->size() > static_cast<std::size_t>(size)) {
        return -1;
    }
    password->copy(buffer, password->size());
    return static_cast<int>(password->size());
}

Key ReadKey(std::string_view bytes, const std::string& password) {
    Bio pem = MemoryBio(bytes);
    Key key(pem ? PEM_read_bio_PrivateKey(pem.get(), nullptr, PemPassword,
                                          const_cast<std::string*>(&password))
                : nullptr);
    if (!key) {
        ERR_clear_error();
        Bio der = MemoryBio(bytes);
        key.reset(der ? d2i_PrivateKey_bio(der.get(), nullptr) : nullptr);
    }
    return key;
}

Certificate ReadCertificate(std::string_view bytes) {
    Bio pem = MemoryBio(bytes);
    Certificate certificate(pem ? PEM_read_bio_X509(pem.get(), nullptr, nullptr, nullptr)
                                : nullptr);
    if (!certificate) {
        ERR_clear_error();
        Bio der = MemoryBio(bytes);
        certificate.reset(der ? d2i_X509_bio(der.get(), nullptr) : nullptr);
    }
    return certificate;
}

}  // namespace

std::string OpenSslCrypto::Digest(DigestAlgorithm algorithm, std::string_view data) {
    const ErrorQueueCleaner cleaner;
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    const EVP_MD* type = algorithm == DigestAlgorithm::Sha1 ? EVP_sha1() : EVP_sha256();
    if (EVP_Digest(data.data(), data.size(), digest, &length, type, nullptr) != 1) {
        return {};
    }
    return std::string(reinterpret_cast<const char*>(digest), length);
}

std::unique_ptr<SigningKey> OpenSslCrypto::GenerateRsaKey(unsigned bits) {
    const ErrorQueueCleaner cleaner;
    Key key(EVP_RSA_gen(bits));
    if (!key) {
        return nullptr;
    }
    return std::make_unique<OpenSslKey>(std::move(key));
}

Credential OpenSslCrypto::ReadPkcs12(std::string_view bytes, const std::string& password) {
    const ErrorQueueCleaner cleaner;
    Bio input = MemoryBio(bytes);
    Pkcs12 file(input ? d2i_PKCS12_bio(input.get(), nullptr) : nullptr);
    if (!file) {
        return Failed(CredentialError::NotPkcs12);
    }
    // A file may be protected by an empty password or by none at all; both count as "".
    const char* pass = password.c_str();
    if (PKCS12_mac_present(file.get()) &&
        PKCS12_verify_mac(file.get(), pass, static_cast<int>(password.size())) != 1) {
        if (!password.empty() || PKCS12_verify_mac(file.get(), nullptr, 0) != 1) {
            return Failed(CredentialError::WrongPassword);
        }
        pass = nullptr;
    }
    EVP_PKEY* rawKey = nullptr;
    X509* rawCertificate = nullptr;
    STACK_OF(X509)* rawChain = nullptr;
    if (PKCS12_parse(file.get(), pass, &rawKey, &rawCertificate, &rawChain) != 1) {
        return Failed(CredentialError::WrongPassword);
    }
    Key key(rawKey);
    Certificate certificate(rawCertificate);
    Certificates chain(rawChain);
    if (!key || !certificate) {
        return Failed(CredentialError::NoKeyAndCertificate);
    }
    Credential credential = Pair(std::move(key), certificate.get());
    for (int i = 0; chain && i < sk_X509_num(chain.get()); ++i) {
        credential.chain.push_back(Encode(sk_X509_value(chain.get(), i)));
    }
    return credential;
}

Credential OpenSslCrypto::ReadKeyAndCertificate(std::string_view keyBytes,
                                                std::string_view certificateBytes,
                                                const std::string& password) {
    const ErrorQueueCleaner cleaner;
    Key key = ReadKey(keyBytes, password);
    if (!key) {
        return Failed(CredentialError::NotAKey);
    }
    Certificate certificate = ReadCertificate(certificateBytes);
    if (!certificate) {
        return Failed(CredentialError::NotACertificate);
    }
    return Pair(std::move(key), certificate.get());
}

std::unique_ptr<PackageCrypto> MakeNativePackageCrypto() {
    return std::make_unique<OpenSslCrypto>();
}

}  // namespace tessaly
