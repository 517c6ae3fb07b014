#include "system/win32/Win32Crypto.h"

#include "system/win32/WindowsApi.h"
// After windows.h, whose types these use.
#include <bcrypt.h>
#include <ncrypt.h>
#include <wincrypt.h>

#include <cstring>
#include <vector>

#include "output/package/Certificate.h"
#include "output/package/RsaKey.h"
#include "platform/NativeSystem.h"

namespace tessaly {
namespace {

bool Succeeded(NTSTATUS status) {
    return status >= 0;
}

std::string Bytes(const std::vector<unsigned char>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

ULONG Size(std::string_view bytes) {
    return static_cast<ULONG>(bytes.size());
}

unsigned char* Data(std::string_view bytes) {
    return reinterpret_cast<unsigned char*>(const_cast<char*>(bytes.data()));
}

std::string Sha(LPCWSTR algorithmName, std::string_view data) {
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    BCRYPT_HASH_HANDLE hash = nullptr;
    DWORD length = 0;
    ULONG copied = 0;
    std::vector<unsigned char> digest;
    if (Succeeded(BCryptOpenAlgorithmProvider(&algorithm, algorithmName, nullptr, 0)) &&
        Succeeded(BCryptGetProperty(algorithm, BCRYPT_HASH_LENGTH,
                                    reinterpret_cast<PUCHAR>(&length), sizeof length, &copied,
                                    0)) &&
        Succeeded(BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0)) &&
        Succeeded(BCryptHashData(hash, Data(data), Size(data), 0))) {
        digest.resize(length);
        if (!Succeeded(BCryptFinishHash(hash, digest.data(), length, 0))) {
            digest.clear();
        }
    }
    if (hash) {
        BCryptDestroyHash(hash);
    }
    if (algorithm) {
        BCryptCloseAlgorithmProvider(algorithm, 0);
    }
    return Bytes(digest);
}

// A key held by CNG's primitive provider: generated here, or imported from a key file.
class BCryptSigningKey final : public SigningKey {
public:
    BCryptSigningKey(BCRYPT_ALG_HANDLE algorithm, BCRYPT_KEY_HANDLE key)
        : algorithm_(algorithm), key_(key) {}
    ~BCryptSigningKey() override {
        BCryptDestroyKey(key_);
        BCryptCloseAlgorithmProvider(algorithm_, 0);
    }
    BCryptSigningKey(const BCryptSigningKey&) = delete;
    BCryptSigningKey& operator=(const BCryptSigningKey&) = delete;

    std::string PublicKeyInfo() const override {
        ULONG size = 0;
        if (!Succeeded(
                BCryptExportKey(key_, nullptr, BCRYPT_RSAPUBLIC_BLOB, nullptr, 0, &size, 0))) {
            return {};
        }
        std::vector<unsigned char> blob(size);
        if (!Succeeded(BCryptExportKey(key_, nullptr, BCRYPT_RSAPUBLIC_BLOB, blob.data(), size,
                                       &size, 0))) {
            return {};
        }
        // The header, then the public exponent and the modulus, big-endian.
        BCRYPT_RSAKEY_BLOB header;
        std::memcpy(&header, blob.data(), sizeof header);
        const auto* numbers = reinterpret_cast<const char*>(blob.data()) + sizeof header;
        return RsaPublicKeyInfo(std::string_view(numbers + header.cbPublicExp, header.cbModulus),
                                std::string_view(numbers, header.cbPublicExp));
    }

    std::optional<std::string> SignSha256(std::string_view data) override {
        std::string digest = Sha(BCRYPT_SHA256_ALGORITHM, data);
        BCRYPT_PKCS1_PADDING_INFO padding{BCRYPT_SHA256_ALGORITHM};
        ULONG size = 0;
        if (digest.empty() || !Succeeded(BCryptSignHash(key_, &padding, Data(digest), Size(digest),
                                                        nullptr, 0, &size, BCRYPT_PAD_PKCS1))) {
            return std::nullopt;
        }
        std::vector<unsigned char> signature(size);
        if (!Succeeded(BCryptSignHash(key_, &padding, Data(digest), Size(digest), signature.data(),
                                      size, &size, BCRYPT_PAD_PKCS1))) {
            return std::nullopt;
        }
        signature.resize(size);
        return Bytes(signature);
    }

private:
    BCRYPT_ALG_HANDLE algorithm_;
    BCRYPT_KEY_HANDLE key_;
};

// A key a PKCS #12 import left in a CNG key storage provider, which signs with it.
class NCryptSigningKey final : public SigningKey {
public:
    NCryptSigningKey(NCRYPT_KEY_HANDLE key, std::string publicKeyInfo, HCERTSTORE store)
        : key_(key), publicKeyInfo_(std::move(publicKeyInfo)), store_(store) {}
    ~NCryptSigningKey() override {
        NCryptFreeObject(key_);
        CertCloseStore(store_, 0);
    }
    NCryptSigningKey(const NCryptSigningKey&) = delete;
    NCryptSigningKey& operator=(const NCryptSigningKey&) = delete;

    std::string PublicKeyInfo() const override { return publicKeyInfo_; }

    std::optional<std::string> SignSha256(std::string_view data) override {
        std::string digest = Sha(BCRYPT_SHA256_ALGORITHM, data);
        BCRYPT_PKCS1_PADDING_INFO padding{BCRYPT_SHA256_ALGORITHM};
        DWORD size = 0;
        if (digest.empty() || NCryptSignHash(key_, &padding, Data(digest), Size(digest), nullptr, 0,
                                             &size, BCRYPT_PAD_PKCS1) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        std::vector<unsigned char> signature(size);
        if (NCryptSignHash(key_, &padding, Data(digest), Size(digest), signature.data(), size,
                           &size, BCRYPT_PAD_PKCS1) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        signature.resize(size);
        return Bytes(signature);
    }

private:
    NCRYPT_KEY_HANDLE key_;
    std::string publicKeyInfo_;
    HCERTSTORE store_;
};

std::unique_ptr<SigningKey> ImportRsaKey(const RsaPrivateNumbers& numbers) {
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    if (!Succeeded(BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_RSA_ALGORITHM, nullptr, 0))) {
        return nullptr;
    }
    // The private blob: header, public exponent, modulus, the two primes.
    BCRYPT_RSAKEY_BLOB header{};
    header.Magic = BCRYPT_RSAPRIVATE_MAGIC;
    header.BitLength = static_cast<ULONG>(numbers.modulus.size() * 8);
    header.cbPublicExp = Size(numbers.publicExponent);
    header.cbModulus = Size(numbers.modulus);
    header.cbPrime1 = Size(numbers.prime1);
    header.cbPrime2 = Size(numbers.prime2);
    std::string blob(reinterpret_cast<const char*>(&header), sizeof header);
    blob += numbers.publicExponent + numbers.modulus + numbers.prime1 + numbers.prime2;
    BCRYPT_KEY_HANDLE key = nullptr;
    const NTSTATUS status = BCryptImportKeyPair(algorithm, nullptr, BCRYPT_RSAPRIVATE_BLOB, &key,
                                                Data(blob), Size(blob), 0);
    SecureZeroMemory(blob.data(), blob.size());
    if (!Succeeded(status)) {
        BCryptCloseAlgorithmProvider(algorithm, 0);
        return nullptr;
    }
    return std::make_unique<BCryptSigningKey>(algorithm, key);
}

// The DER of a PEM text (any label), or the bytes themselves when they are no PEM text.
std::string FromPem(std::string_view bytes, std::string& label) {
    const std::string_view begin = "-----BEGIN ";
    const auto at = bytes.find(begin);
    if (at == std::string_view::npos) {
        return std::string(bytes);
    }
    const auto labelEnd = bytes.find("-----", at + begin.size());
    label = std::string(bytes.substr(at + begin.size(), labelEnd - at - begin.size()));
    DWORD size = 0;
    const std::string text(bytes.substr(at));
    if (!CryptStringToBinaryA(text.c_str(), static_cast<DWORD>(text.size()),
                              CRYPT_STRING_BASE64HEADER, nullptr, &size, nullptr, nullptr)) {
        return {};
    }
    std::vector<unsigned char> der(size);
    if (!CryptStringToBinaryA(text.c_str(), static_cast<DWORD>(text.size()),
                              CRYPT_STRING_BASE64HEADER, der.data(), &size, nullptr, nullptr)) {
        return {};
    }
    der.resize(size);
    return Bytes(der);
}

std::wstring Widen(const std::string& text) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 1), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), length);
    wide.resize(wide.size() - 1);
    return wide;
}

Credential Failed(CredentialError error) {
    Credential credential;
    credential.error = error;
    return credential;
}

}  // namespace

std::string Win32Crypto::Digest(DigestAlgorithm algorithm, std::string_view data) {
    return Sha(algorithm == DigestAlgorithm::Sha1 ? BCRYPT_SHA1_ALGORITHM : BCRYPT_SHA256_ALGORITHM,
               data);
}

std::unique_ptr<SigningKey> Win32Crypto::GenerateRsaKey(unsigned bits) {
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    BCRYPT_KEY_HANDLE key = nullptr;
    if (!Succeeded(BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_RSA_ALGORITHM, nullptr, 0))) {
        return nullptr;
    }
    if (!Succeeded(BCryptGenerateKeyPair(algorithm, &key, bits, 0)) ||
        !Succeeded(BCryptFinalizeKeyPair(key, 0))) {
        if (key) {
            BCryptDestroyKey(key);
        }
        BCryptCloseAlgorithmProvider(algorithm, 0);
        return nullptr;
    }
    return std::make_unique<BCryptSigningKey>(algorithm, key);
}

Credential Win32Crypto::ReadPkcs12(std::string_view bytes, const std::string& password) {
    CRYPT_DATA_BLOB blob{Size(bytes), Data(bytes)};
    if (!PFXIsPFXBlob(&blob)) {
        return Failed(CredentialError::NotPkcs12);
    }
    // The key goes to a CNG provider in memory only, never to the user's key store.
    std::wstring widePassword = Widen(password);
    // Older systems know no CNG-only import; they take the key in memory all the same.
    HCERTSTORE store = PFXImportCertStore(&blob, widePassword.c_str(),
                                          PKCS12_NO_PERSIST_KEY | PKCS12_ALWAYS_CNG_KSP);
    if (!store) {
        store = PFXImportCertStore(&blob, widePassword.c_str(), PKCS12_NO_PERSIST_KEY);
    }
    SecureZeroMemory(widePassword.data(), widePassword.size() * sizeof(wchar_t));
    if (!store) {
        return Failed(CredentialError::WrongPassword);
    }
    Credential credential;
    credential.error = CredentialError::NoKeyAndCertificate;
    for (PCCERT_CONTEXT certificate = CertEnumCertificatesInStore(store, nullptr); certificate;
         certificate = CertEnumCertificatesInStore(store, certificate)) {
        const std::string der(reinterpret_cast<const char*>(certificate->pbCertEncoded),
                              certificate->cbCertEncoded);
        DWORD size = 0;
        if (!CertGetCertificateContextProperty(certificate, CERT_KEY_CONTEXT_PROP_ID, nullptr,
                                               &size) &&
            !CertGetCertificateContextProperty(certificate, CERT_KEY_PROV_INFO_PROP_ID, nullptr,
                                               &size)) {
            credential.chain.push_back(der);
            continue;
        }
        HCRYPTPROV_OR_NCRYPT_KEY_HANDLE key = 0;
        DWORD keySpec = 0;
        BOOL mustFree = FALSE;
        if (credential.key ||
            !CryptAcquireCertificatePrivateKey(
                certificate, CRYPT_ACQUIRE_SILENT_FLAG | CRYPT_ACQUIRE_ONLY_NCRYPT_KEY_FLAG,
                nullptr, &key, &keySpec, &mustFree)) {
            credential.error = credential.key ? credential.error : CredentialError::KeyUnavailable;
            continue;
        }
        const std::optional<CertificateInfo> info = ParseCertificate(der);
        credential.key = std::make_unique<NCryptSigningKey>(
            key, info ? info->publicKeyInfo : std::string(), CertDuplicateStore(store));
        credential.certificate = der;
        credential.error = CredentialError::None;
    }
    CertCloseStore(store, 0);
    return credential;
}

Credential Win32Crypto::ReadKeyAndCertificate(std::string_view keyBytes,
                                              std::string_view certificateBytes,
                                              const std::string&) {
    std::string keyLabel;
    const RsaKeyRead read = ReadRsaPrivateKey(FromPem(keyBytes, keyLabel));
    if (read.error != RsaKeyError::None) {
        return Failed(read.error == RsaKeyError::NotRsa      ? CredentialError::NotRsa
                      : read.error == RsaKeyError::Encrypted ? CredentialError::EncryptedKey
                      : keyLabel == "RSA PRIVATE KEY" &&
                              keyBytes.find("ENCRYPTED") != std::string_view::npos
                          ? CredentialError::EncryptedKey
                          : CredentialError::NotAKey);
    }
    std::string certificateLabel;
    const std::string certificate = FromPem(certificateBytes, certificateLabel);
    PCCERT_CONTEXT context =
        CertCreateCertificateContext(X509_ASN_ENCODING, Data(certificate), Size(certificate));
    if (!context) {
        return Failed(CredentialError::NotACertificate);
    }
    CertFreeCertificateContext(context);
    Credential credential;
    credential.key = ImportRsaKey(read.numbers);
    credential.error = credential.key ? CredentialError::None : CredentialError::KeyUnavailable;
    credential.certificate = certificate;
    return credential;
}

std::unique_ptr<PackageCrypto> MakeNativePackageCrypto() {
    return std::make_unique<Win32Crypto>();
}

}  // namespace tessaly
