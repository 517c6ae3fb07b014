#include "output/package/RsaKey.h"

#include "output/package/Der.h"

namespace tessaly {
namespace {

constexpr std::string_view kRsaEncryption = "1.2.840.113549.1.1.1";

std::string Magnitude(std::string_view integer) {
    while (!integer.empty() && integer.front() == '\0') {
        integer.remove_prefix(1);
    }
    return std::string(integer);
}

// RSAPrivateKey: version, n, e, d, p, q, d mod (p-1), d mod (q-1), q^-1 mod p.
std::optional<RsaPrivateNumbers> ReadPkcs1(std::string_view der) {
    der::Reader outer(der);
    const auto key = outer.NextIf(der::kSequence);
    if (!key) {
        return std::nullopt;
    }
    der::Reader fields(key->content);
    std::string values[9];
    for (std::string& value : values) {
        const auto integer = fields.NextIf(der::kInteger);
        if (!integer) {
            return std::nullopt;
        }
        value = Magnitude(integer->content);
    }
    return RsaPrivateNumbers{values[1], values[2], values[3], values[4],
                             values[5], values[6], values[7], values[8]};
}

}  // namespace

RsaKeyRead ReadRsaPrivateKey(std::string_view der) {
    if (const auto numbers = ReadPkcs1(der)) {
        return {RsaKeyError::None, *numbers};
    }
    der::Reader outer(der);
    const auto info = outer.NextIf(der::kSequence);
    if (!info) {
        return {RsaKeyError::NotAKey, {}};
    }
    der::Reader fields(info->content);
    const auto version = fields.NextIf(der::kInteger);
    const auto algorithm = fields.NextIf(der::kSequence);
    const auto privateKey = fields.NextIf(der::kOctetString);
    if (!version) {
        // EncryptedPrivateKeyInfo: an algorithm and the encrypted bytes, no version.
        der::Reader encrypted(info->content);
        const bool isEncrypted = encrypted.NextIf(der::kSequence) &&
                                 encrypted.NextIf(der::kOctetString) && encrypted.AtEnd();
        return {isEncrypted ? RsaKeyError::Encrypted : RsaKeyError::NotAKey, {}};
    }
    if (!algorithm || !privateKey) {
        return {RsaKeyError::NotAKey, {}};
    }
    der::Reader algorithmFields(algorithm->content);
    const auto oid = algorithmFields.NextIf(der::kOid);
    if (!oid || der::OidText(oid->content) != kRsaEncryption) {
        return {RsaKeyError::NotRsa, {}};
    }
    const auto numbers = ReadPkcs1(privateKey->content);
    return numbers ? RsaKeyRead{RsaKeyError::None, *numbers} : RsaKeyRead{RsaKeyError::NotAKey, {}};
}

std::string RsaPublicKeyInfo(std::string_view modulus, std::string_view publicExponent) {
    const std::string key =
        der::Sequence({der::UnsignedInteger(modulus), der::UnsignedInteger(publicExponent)});
    return der::Sequence(
        {der::Sequence({der::Oid(kRsaEncryption), der::Null()}), der::BitString(key)});
}

}  // namespace tessaly
