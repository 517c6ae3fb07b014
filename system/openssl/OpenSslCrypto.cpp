#include "system/openssl/OpenSslCrypto.h"

#include <openssl/bio.h>
#include <openssl/crypto.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/pkcs12.h>
#include <openssl/rsa.h>
#include <openssl/x509.h>

#include <limits>
#include <utility>

#include "platform/NativeSystem.h"
#include "system/posix/RuntimeLibrary.h"

namespace tessaly {

// The libcrypto functions used here, looked up in the library loaded at run time. Several of
// OpenSSL's names are macros over these (EVP_RSA_gen, sk_X509_num, OPENSSL_free...).
struct CryptoLibrary {
    decltype(&ERR_clear_error) clear_error = nullptr;
    decltype(&CRYPTO_free) free = nullptr;
    decltype(&EVP_Digest) digest = nullptr;
    decltype(&EVP_sha1) sha1 = nullptr;
    decltype(&EVP_sha256) sha256 = nullptr;
    decltype(&EVP_MD_CTX_new) md_ctx_new = nullptr;
    decltype(&EVP_MD_CTX_free) md_ctx_free = nullptr;
    decltype(&EVP_DigestSignInit) digest_sign_init = nullptr;
    decltype(&EVP_DigestSign) digest_sign = nullptr;
    decltype(&EVP_PKEY_CTX_set_rsa_padding) set_rsa_padding = nullptr;
    decltype(&EVP_PKEY_Q_keygen) keygen = nullptr;
    decltype(&EVP_PKEY_get_base_id) key_base_id = nullptr;
    decltype(&EVP_PKEY_free) key_free = nullptr;
    decltype(&i2d_PUBKEY) encode_public_key = nullptr;
    decltype(&X509_free) x509_free = nullptr;
    decltype(&i2d_X509) encode_x509 = nullptr;
    decltype(&BIO_new_mem_buf) bio_new_mem_buf = nullptr;
    decltype(&BIO_free_all) bio_free_all = nullptr;
    decltype(&PEM_read_bio_PrivateKey) pem_read_key = nullptr;
    decltype(&PEM_read_bio_X509) pem_read_x509 = nullptr;
    decltype(&d2i_PrivateKey_bio) der_read_key = nullptr;
    decltype(&d2i_X509_bio) der_read_x509 = nullptr;
    decltype(&d2i_PKCS12_bio) der_read_pkcs12 = nullptr;
    decltype(&PKCS12_free) pkcs12_free = nullptr;
    decltype(&PKCS12_mac_present) pkcs12_mac_present = nullptr;
    decltype(&PKCS12_verify_mac) pkcs12_verify_mac = nullptr;
    decltype(&PKCS12_parse) pkcs12_parse = nullptr;
    decltype(&OPENSSL_sk_num) stack_num = nullptr;
    decltype(&OPENSSL_sk_value) stack_value = nullptr;
    decltype(&OPENSSL_sk_pop_free) stack_pop_free = nullptr;
};

namespace {

bool Load(const std::string& name, CryptoLibrary& api) {
    void* library = LoadRuntimeLibrary(name);
    return library && ResolveSymbol(library, "ERR_clear_error", api.clear_error) &&
           ResolveSymbol(library, "CRYPTO_free", api.free) &&
           ResolveSymbol(library, "EVP_Digest", api.digest) &&
           ResolveSymbol(library, "EVP_sha1", api.sha1) &&
           ResolveSymbol(library, "EVP_sha256", api.sha256) &&
           ResolveSymbol(library, "EVP_MD_CTX_new", api.md_ctx_new) &&
           ResolveSymbol(library, "EVP_MD_CTX_free", api.md_ctx_free) &&
           ResolveSymbol(library, "EVP_DigestSignInit", api.digest_sign_init) &&
           ResolveSymbol(library, "EVP_DigestSign", api.digest_sign) &&
           ResolveSymbol(library, "EVP_PKEY_CTX_set_rsa_padding", api.set_rsa_padding) &&
           ResolveSymbol(library, "EVP_PKEY_Q_keygen", api.keygen) &&
           ResolveSymbol(library, "EVP_PKEY_get_base_id", api.key_base_id) &&
           ResolveSymbol(library, "EVP_PKEY_free", api.key_free) &&
           ResolveSymbol(library, "i2d_PUBKEY", api.encode_public_key) &&
           ResolveSymbol(library, "X509_free", api.x509_free) &&
           ResolveSymbol(library, "i2d_X509", api.encode_x509) &&
           ResolveSymbol(library, "BIO_new_mem_buf", api.bio_new_mem_buf) &&
           ResolveSymbol(library, "BIO_free_all", api.bio_free_all) &&
           ResolveSymbol(library, "PEM_read_bio_PrivateKey", api.pem_read_key) &&
           ResolveSymbol(library, "PEM_read_bio_X509", api.pem_read_x509) &&
           ResolveSymbol(library, "d2i_PrivateKey_bio", api.der_read_key) &&
           ResolveSymbol(library, "d2i_X509_bio", api.der_read_x509) &&
           ResolveSymbol(library, "d2i_PKCS12_bio", api.der_read_pkcs12) &&
           ResolveSymbol(library, "PKCS12_free", api.pkcs12_free) &&
           ResolveSymbol(library, "PKCS12_mac_present", api.pkcs12_mac_present) &&
           ResolveSymbol(library, "PKCS12_verify_mac", api.pkcs12_verify_mac) &&
           ResolveSymbol(library, "PKCS12_parse", api.pkcs12_parse) &&
           ResolveSymbol(library, "OPENSSL_sk_num", api.stack_num) &&
           ResolveSymbol(library, "OPENSSL_sk_value", api.stack_value) &&
           ResolveSymbol(library, "OPENSSL_sk_pop_free", api.stack_pop_free);
}

// An object of the library, freed by the library's function for it.
template <typename T>
class Owned {
public:
    Owned(T* object, void (*free)(T*)) : object_(object), release_(free) {}
    ~Owned() {
        if (object_) {
            release_(object_);
        }
    }
    Owned(Owned&& other) noexcept : object_(other.object_), release_(other.release_) {
        other.object_ = nullptr;
    }
    Owned& operator=(Owned&& other) noexcept {
        // The other takes this one's object and frees it.
        std::swap(object_, other.object_);
        std::swap(release_, other.release_);
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    T* get() const { return object_; }
    T* release() { return std::exchange(object_, nullptr); }
    explicit operator bool() const { return object_ != nullptr; }

private:
    T* object_;
    void (*release_)(T*);
};

// The library's error queue says nothing the user acts on; each failure is reported by kind.
class ErrorQueueCleaner {
public:
    explicit ErrorQueueCleaner(const CryptoLibrary& api) : api_(api) {}
    ~ErrorQueueCleaner() { api_.clear_error(); }
    ErrorQueueCleaner(const ErrorQueueCleaner&) = delete;
    ErrorQueueCleaner& operator=(const ErrorQueueCleaner&) = delete;

private:
    const CryptoLibrary& api_;
};

Owned<BIO> MemoryBio(const CryptoLibrary& api, std::string_view bytes) {
    BIO* bio = bytes.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())
                   ? nullptr
                   : api.bio_new_mem_buf(bytes.data(), static_cast<int>(bytes.size()));
    return Owned<BIO>(bio, api.bio_free_all);
}

// What an i2d_ function gives, as bytes.
template <typename T>
std::string Encode(const CryptoLibrary& api, int (*encode)(const T*, unsigned char**),
                   const T* object) {
    unsigned char* der = nullptr;
    const int length = encode(object, &der);
    if (length <= 0) {
        return {};
    }
    std::string out(reinterpret_cast<const char*>(der), static_cast<std::size_t>(length));
    api.free(der, OPENSSL_FILE, OPENSSL_LINE);
    return out;
}

class OpenSslKey final : public SigningKey {
public:
    OpenSslKey(std::shared_ptr<const CryptoLibrary> api, EVP_PKEY* key)
        : api_(std::move(api)), key_(key, api_->key_free) {}

    std::string PublicKeyInfo() const override {
        return Encode(*api_, api_->encode_public_key, static_cast<const EVP_PKEY*>(key_.get()));
    }

    std::optional<std::string> SignSha256(std::string_view data) override {
        const CryptoLibrary& api = *api_;
        const ErrorQueueCleaner cleaner(api);
        Owned<EVP_MD_CTX> context(api.md_ctx_new(), api.md_ctx_free);
        EVP_PKEY_CTX* keyContext = nullptr;
        std::size_t length = 0;
        const auto* bytes = reinterpret_cast<const unsigned char*>(data.data());
        if (!context ||
            api.digest_sign_init(context.get(), &keyContext, api.sha256(), nullptr, key_.get()) !=
                1 ||
            api.set_rsa_padding(keyContext, RSA_PKCS1_PADDING) != 1 ||
            api.digest_sign(context.get(), nullptr, &length, bytes, data.size()) != 1) {
            return std::nullopt;
        }
        std::string signature(length, '\0');
        if (api.digest_sign(context.get(), reinterpret_cast<unsigned char*>(signature.data()),
                            &length, bytes, data.size()) != 1) {
            return std::nullopt;
        }
        signature.resize(length);
        return signature;
    }

private:
    std::shared_ptr<const CryptoLibrary> api_;
    Owned<EVP_PKEY> key_;
};

Credential Failed(CredentialError error) {
    Credential credential;
    credential.error = error;
    return credential;
}

// Checks the key's kind and wraps the pair; takes over the key.
Credential Pair(const std::shared_ptr<const CryptoLibrary>& api, Owned<EVP_PKEY>& key,
                X509* certificate) {
    if (api->key_base_id(key.get()) != EVP_PKEY_RSA) {
        return Failed(CredentialError::NotRsa);
    }
    Credential credential;
    credential.certificate = Encode(*api, api->encode_x509, static_cast<const X509*>(certificate));
    credential.key = std::make_unique<OpenSslKey>(api, key.release());
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

}  // namespace

OpenSslCrypto::OpenSslCrypto(std::string library) : name_(std::move(library)) {}

OpenSslCrypto::~OpenSslCrypto() = default;

const CryptoLibrary* OpenSslCrypto::Library() {
    std::call_once(loaded_, [this] {
        auto api = std::make_shared<CryptoLibrary>();
        if (Load(name_, *api)) {
            library_ = std::move(api);
        }
    });
    return library_.get();
}

std::string OpenSslCrypto::Digest(DigestAlgorithm algorithm, std::string_view data) {
    const CryptoLibrary* api = Library();
    if (!api) {
        return {};
    }
    const ErrorQueueCleaner cleaner(*api);
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    const EVP_MD* type = algorithm == DigestAlgorithm::Sha1 ? api->sha1() : api->sha256();
    if (api->digest(data.data(), data.size(), digest, &length, type, nullptr) != 1) {
        return {};
    }
    return std::string(reinterpret_cast<const char*>(digest), length);
}

std::unique_ptr<SigningKey> OpenSslCrypto::GenerateRsaKey(unsigned bits) {
    const CryptoLibrary* api = Library();
    if (!api) {
        return nullptr;
    }
    const ErrorQueueCleaner cleaner(*api);
    EVP_PKEY* key = api->keygen(nullptr, nullptr, "RSA", static_cast<std::size_t>(bits));
    return key ? std::make_unique<OpenSslKey>(library_, key) : nullptr;
}

Credential OpenSslCrypto::ReadPkcs12(std::string_view bytes, const std::string& password) {
    const CryptoLibrary* api = Library();
    if (!api) {
        return Failed(CredentialError::KeyUnavailable);
    }
    const ErrorQueueCleaner cleaner(*api);
    Owned<BIO> input = MemoryBio(*api, bytes);
    Owned<PKCS12> file(input ? api->der_read_pkcs12(input.get(), nullptr) : nullptr,
                       api->pkcs12_free);
    if (!file) {
        return Failed(CredentialError::NotPkcs12);
    }
    // A file may be protected by an empty password or by none at all; both count as "".
    const char* pass = password.c_str();
    if (api->pkcs12_mac_present(file.get()) &&
        api->pkcs12_verify_mac(file.get(), pass, static_cast<int>(password.size())) != 1) {
        if (!password.empty() || api->pkcs12_verify_mac(file.get(), nullptr, 0) != 1) {
            return Failed(CredentialError::WrongPassword);
        }
        pass = nullptr;
    }
    EVP_PKEY* rawKey = nullptr;
    X509* rawCertificate = nullptr;
    STACK_OF(X509)* rawChain = nullptr;
    if (api->pkcs12_parse(file.get(), pass, &rawKey, &rawCertificate, &rawChain) != 1) {
        return Failed(CredentialError::WrongPassword);
    }
    Owned<EVP_PKEY> key(rawKey, api->key_free);
    Owned<X509> certificate(rawCertificate, api->x509_free);
    const auto chainStack = reinterpret_cast<OPENSSL_STACK*>(rawChain);
    Credential credential = key && certificate ? Pair(library_, key, certificate.get())
                                               : Failed(CredentialError::NoKeyAndCertificate);
    for (int i = 0; chainStack && i < api->stack_num(chainStack); ++i) {
        if (credential.error == CredentialError::None) {
            credential.chain.push_back(Encode(
                *api, api->encode_x509, static_cast<const X509*>(api->stack_value(chainStack, i))));
        }
    }
    if (chainStack) {
        // The macro sk_X509_pop_free casts the same way.
        api->stack_pop_free(chainStack, reinterpret_cast<OPENSSL_sk_freefunc>(
                                            reinterpret_cast<void (*)()>(api->x509_free)));
    }
    return credential;
}

Credential OpenSslCrypto::ReadKeyAndCertificate(std::string_view keyBytes,
                                                std::string_view certificateBytes,
                                                const std::string& password) {
    const CryptoLibrary* api = Library();
    if (!api) {
        return Failed(CredentialError::KeyUnavailable);
    }
    const ErrorQueueCleaner cleaner(*api);
    Owned<BIO> pemKey = MemoryBio(*api, keyBytes);
    Owned<EVP_PKEY> key(pemKey ? api->pem_read_key(pemKey.get(), nullptr, PemPassword,
                                                   const_cast<std::string*>(&password))
                               : nullptr,
                        api->key_free);
    if (!key) {
        Owned<BIO> derKey = MemoryBio(*api, keyBytes);
        key = Owned<EVP_PKEY>(derKey ? api->der_read_key(derKey.get(), nullptr) : nullptr,
                              api->key_free);
    }
    if (!key) {
        return Failed(CredentialError::NotAKey);
    }
    Owned<BIO> pemCertificate = MemoryBio(*api, certificateBytes);
    Owned<X509> certificate(
        pemCertificate ? api->pem_read_x509(pemCertificate.get(), nullptr, nullptr, nullptr)
                       : nullptr,
        api->x509_free);
    if (!certificate) {
        Owned<BIO> derCertificate = MemoryBio(*api, certificateBytes);
        certificate = Owned<X509>(
            derCertificate ? api->der_read_x509(derCertificate.get(), nullptr) : nullptr,
            api->x509_free);
    }
    if (!certificate) {
        return Failed(CredentialError::NotACertificate);
    }
    return Pair(library_, key, certificate.get());
}

std::unique_ptr<PackageCrypto> MakeNativePackageCrypto() {
    return std::make_unique<OpenSslCrypto>();
}

}  // namespace tessaly
