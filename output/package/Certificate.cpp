#include "output/package/Certificate.h"

#include <utility>
#include <vector>

#include "device/TextRules.h"
#include "output/package/Der.h"
#include "platform/PackageCrypto.h"

namespace tessaly {
namespace {

constexpr std::string_view kSha256WithRsa = "1.2.840.113549.1.1.11";
constexpr std::string_view kCommonName = "2.5.4.3";
constexpr std::string_view kKeyUsage = "2.5.29.15";
constexpr std::string_view kExtendedKeyUsage = "2.5.29.37";
constexpr std::string_view kBasicConstraints = "2.5.29.19";
constexpr std::string_view kSubjectKeyIdentifier = "2.5.29.14";
constexpr std::string_view kCodeSigning = "1.3.6.1.5.5.7.3.3";

// UTF-8 as Latin-1 bytes, the text form messages hold; a character beyond Latin-1 becomes "?".
std::string Utf8ToLatin1(std::string_view utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if (byte < 0x80) {
            out.push_back(static_cast<char>(byte));
            continue;
        }
        std::size_t extra = byte >= 0xF0 ? 3 : byte >= 0xE0 ? 2 : 1;
        unsigned code = byte & (0x3F >> extra);
        for (; extra > 0 && i + 1 < utf8.size(); --extra) {
            code = (code << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3F);
        }
        out.push_back(code <= 0xFF ? static_cast<char>(code) : '?');
    }
    return out;
}

std::string AttributeValueText(const der::Element& value) {
    switch (value.tag) {
        case der::kUtf8String:
            return Utf8ToLatin1(value.content);
        case der::kBmpString: {
            std::string out;
            for (std::size_t i = 0; i + 1 < value.content.size(); i += 2) {
                out.push_back(value.content[i] == '\0' ? value.content[i + 1] : '?');
            }
            return out;
        }
        default:  // PrintableString, IA5String, TeletexString: single bytes
            return std::string(value.content);
    }
}

std::string_view AttributeName(const std::string& oid) {
    static const std::pair<std::string_view, std::string_view> kNames[] = {
        {"2.5.4.3", "CN"},
        {"2.5.4.6", "C"},
        {"2.5.4.7", "L"},
        {"2.5.4.8", "S"},
        {"2.5.4.10", "O"},
        {"2.5.4.11", "OU"},
        {"1.2.840.113549.1.9.1", "E"},
    };
    for (const auto& [known, name] : kNames) {
        if (oid == known) {
            return name;
        }
    }
    return {};
}

// "CN=..., O=..., C=...": the relative names in reverse order of encoding.
std::string NameText(std::string_view nameContent) {
    std::vector<std::string> parts;
    der::Reader rdns(nameContent);
    while (const auto rdn = rdns.Next()) {
        der::Reader attributes(rdn->content);
        while (const auto attribute = attributes.Next()) {
            der::Reader fields(attribute->content);
            const auto type = fields.NextIf(der::kOid);
            const auto value = fields.Next();
            if (!type || !value) {
                continue;
            }
            const std::string oid = der::OidText(type->content);
            const std::string_view name = AttributeName(oid);
            parts.push_back((name.empty() ? "OID." + oid : std::string(name)) + "=" +
                            AttributeValueText(*value));
        }
    }
    std::string text;
    for (auto it = parts.rbegin(); it != parts.rend(); ++it) {
        text += (text.empty() ? "" : ", ") + *it;
    }
    return text;
}

void ReadExtension(std::string_view oid, std::string_view value, CertificateInfo& info) {
    der::Reader reader(value);
    const auto element = reader.Next();
    if (!element) {
        return;
    }
    if (oid == kExtendedKeyUsage) {
        info.hasExtendedKeyUsage = true;
        der::Reader purposes(element->content);
        while (const auto purpose = purposes.NextIf(der::kOid)) {
            info.codeSigningUsage =
                info.codeSigningUsage || der::OidText(purpose->content) == kCodeSigning;
        }
    } else if (oid == kKeyUsage && element->tag == der::kBitString) {
        info.hasKeyUsage = true;
        // Bit 0, digitalSignature, is the top bit of the first byte after the unused-bit count.
        info.digitalSignatureUsage =
            element->content.size() > 1 && (static_cast<unsigned char>(element->content[1]) & 0x80);
    }
}

// The modulus (leading zeros dropped) and exponent of an RSA SubjectPublicKeyInfo.
std::optional<std::pair<std::string_view, std::string_view>> RsaNumbers(std::string_view spki) {
    der::Reader outer(spki);
    const auto info = outer.NextIf(der::kSequence);
    if (!info) {
        return std::nullopt;
    }
    der::Reader fields(info->content);
    const auto algorithm = fields.NextIf(der::kSequence);
    const auto bits = fields.NextIf(der::kBitString);
    if (!algorithm || !bits || bits->content.empty() || bits->content[0] != '\0') {
        return std::nullopt;
    }
    der::Reader keyReader(bits->content.substr(1));
    const auto key = keyReader.NextIf(der::kSequence);
    if (!key) {
        return std::nullopt;
    }
    der::Reader numbers(key->content);
    const auto modulus = numbers.NextIf(der::kInteger);
    const auto exponent = numbers.NextIf(der::kInteger);
    if (!modulus || !exponent) {
        return std::nullopt;
    }
    std::string_view n = modulus->content;
    while (!n.empty() && n.front() == '\0') {
        n.remove_prefix(1);
    }
    return std::pair{n, exponent->content};
}

}  // namespace

std::optional<CertificateInfo> ParseCertificate(std::string_view der) {
    der::Reader top(der);
    const auto certificate = top.NextIf(der::kSequence);
    if (!certificate || !top.AtEnd()) {
        return std::nullopt;
    }
    der::Reader parts(certificate->content);
    const auto tbs = parts.NextIf(der::kSequence);
    if (!tbs) {
        return std::nullopt;
    }
    der::Reader fields(tbs->content);
    fields.NextIf(der::ContextTag(0, true));  // version
    const auto serial = fields.NextIf(der::kInteger);
    const auto signature = fields.NextIf(der::kSequence);
    const auto issuer = fields.NextIf(der::kSequence);
    const auto validity = fields.NextIf(der::kSequence);
    const auto subject = fields.NextIf(der::kSequence);
    const auto publicKey = fields.NextIf(der::kSequence);
    if (!serial || !signature || !issuer || !validity || !subject || !publicKey) {
        return std::nullopt;
    }
    der::Reader times(validity->content);
    const auto notBefore = times.Next();
    const auto notAfter = times.Next();
    if (!notBefore || !notAfter) {
        return std::nullopt;
    }
    const auto from = der::ParseTime(notBefore->tag, notBefore->content);
    const auto until = der::ParseTime(notAfter->tag, notAfter->content);
    if (!from || !until) {
        return std::nullopt;
    }
    CertificateInfo info;
    info.issuer = std::string(issuer->encoded);
    info.serialNumber = std::string(serial->encoded);
    info.subjectText = NameText(subject->content);
    info.notBefore = *from;
    info.notAfter = *until;
    info.publicKeyInfo = std::string(publicKey->encoded);

    // Issuer and subject unique IDs may come before the extensions.
    std::optional<der::Element> extensions;
    while (!fields.AtEnd() && !extensions) {
        const auto element = fields.Next();
        if (!element) {
            return std::nullopt;
        }
        if (element->tag == der::ContextTag(3, true)) {
            extensions = element;
        }
    }
    if (extensions) {
        der::Reader wrapper(extensions->content);
        const auto list = wrapper.NextIf(der::kSequence);
        der::Reader entries(list ? list->content : std::string_view());
        while (const auto entry = entries.NextIf(der::kSequence)) {
            der::Reader extension(entry->content);
            const auto id = extension.NextIf(der::kOid);
            extension.NextIf(0x01);  // critical
            const auto value = extension.NextIf(der::kOctetString);
            if (id && value) {
                ReadExtension(der::OidText(id->content), value->content, info);
            }
        }
    }
    return info;
}

bool IsForCodeSigning(const CertificateInfo& certificate) {
    return certificate.hasExtendedKeyUsage && certificate.codeSigningUsage &&
           (!certificate.hasKeyUsage || certificate.digitalSignatureUsage);
}

bool SameRsaPublicKey(std::string_view publicKeyInfoA, std::string_view publicKeyInfoB) {
    const auto a = RsaNumbers(publicKeyInfoA);
    const auto b = RsaNumbers(publicKeyInfoB);
    return a && b && *a == *b;
}

std::optional<std::string> MakeSelfSignedCertificate(std::string_view commonName,
                                                     std::int64_t notBefore, std::int64_t notAfter,
                                                     SigningKey& key, PackageCrypto& crypto) {
    const std::string publicKeyInfo = key.PublicKeyInfo();
    const std::string keyDigest = crypto.Digest(DigestAlgorithm::Sha256, publicKeyInfo);
    // Sixteen bytes of the key's digest, kept positive: unique per key, no randomness needed.
    std::string serial = keyDigest.substr(0, 16);
    serial[0] = static_cast<char>(static_cast<unsigned char>(serial[0]) & 0x7F);
    const std::string name = der::Sequence({der::SetOf(
        {der::Sequence({der::Oid(kCommonName), der::Utf8String(Latin1ToUtf8(commonName))})})});
    const std::string algorithm = der::Sequence({der::Oid(kSha256WithRsa), der::Null()});
    const auto extension = [](std::string_view oid, bool critical, const std::string& value) {
        return critical
                   ? der::Sequence({der::Oid(oid), der::Tlv(0x01, "\xFF"), der::OctetString(value)})
                   : der::Sequence({der::Oid(oid), der::OctetString(value)});
    };
    // digitalSignature only: bit 0 set, seven unused bits.
    const std::string keyUsage = der::Tlv(der::kBitString, std::string("\x07\x80", 2));
    const std::string extensions = der::Sequence({
        extension(kBasicConstraints, true, der::Sequence({})),
        extension(kKeyUsage, true, keyUsage),
        extension(kExtendedKeyUsage, false, der::Sequence({der::Oid(kCodeSigning)})),
        extension(kSubjectKeyIdentifier, false, der::OctetString(keyDigest.substr(0, 20))),
    });
    const std::string tbs = der::Sequence({
        der::Explicit(0, der::Integer(2)),
        der::UnsignedInteger(serial),
        algorithm,
        name,
        der::Sequence({der::Time(notBefore), der::Time(notAfter)}),
        name,
        publicKeyInfo,
        der::Explicit(3, extensions),
    });
    const std::optional<std::string> signature = key.SignSha256(tbs);
    if (!signature) {
        return std::nullopt;
    }
    return der::Sequence({tbs, algorithm, der::BitString(*signature)});
}

std::string HexUpper(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        hex.push_back(kDigits[byte >> 4]);
        hex.push_back(kDigits[byte & 0x0F]);
    }
    return hex;
}

}  // namespace tessaly
