#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tessaly {

// The numbers of an RSA private key, big-endian without leading zeros.
struct RsaPrivateNumbers {
    std::string modulus;
    std::string publicExponent;
    std::string privateExponent;
    std::string prime1;
    std::string prime2;
    std::string exponent1;
    std::string exponent2;
    std::string coefficient;
};

enum class RsaKeyError { None, NotAKey, Encrypted, NotRsa };

struct RsaKeyRead {
    RsaKeyError error = RsaKeyError::None;
    RsaPrivateNumbers numbers;
};

// Reads the DER of a private key file: an RSAPrivateKey (PKCS #1) or a PrivateKeyInfo
// (PKCS #8) holding one. An encrypted PKCS #8 key and keys of other kinds are told apart.
RsaKeyRead ReadRsaPrivateKey(std::string_view der);

// The SubjectPublicKeyInfo of an RSA public key given by its big-endian numbers.
std::string RsaPublicKeyInfo(std::string_view modulus, std::string_view publicExponent);

}  // namespace tessaly
