#include "output/package/Catalog.h"

#include "output/package/Der.h"
#include "platform/PackageCrypto.h"

namespace tessaly {
namespace {

constexpr std::string_view kSignedData = "1.2.840.113549.1.7.2";
constexpr std::string_view kCertificateTrustList = "1.3.6.1.4.1.311.10.1";
constexpr std::string_view kCatalogList = "1.3.6.1.4.1.311.12.1.1";
constexpr std::string_view kCatalogListMemberV2 = "1.3.6.1.4.1.311.12.1.3";
constexpr std::string_view kNameValue = "1.3.6.1.4.1.311.12.2.1";
constexpr std::string_view kMemberInfo = "1.3.6.1.4.1.311.12.2.2";
constexpr std::string_view kMemberInfo2 = "1.3.6.1.4.1.311.12.2.3";
constexpr std::string_view kIndirectData = "1.3.6.1.4.1.311.2.1.4";
constexpr std::string_view kFlatFileData = "1.3.6.1.4.1.311.2.1.25";
constexpr std::string_view kOpusInfo = "1.3.6.1.4.1.311.2.1.12";
constexpr std::string_view kSha256 = "2.16.840.1.101.3.4.2.1";
constexpr std::string_view kRsaEncryption = "1.2.840.113549.1.1.1";
constexpr std::string_view kContentType = "1.2.840.113549.1.9.3";
constexpr std::string_view kMessageDigest = "1.2.840.113549.1.9.4";

// The subject interface of flat files (an INF), and the member version Windows writes with it.
constexpr std::string_view kFlatFileSubject = "{DE351A42-8E59-11D0-8C47-00C04FC295EE}";
constexpr std::uint64_t kMemberInfoVersion = 512;
// Authenticated, the value is text, the name is text.
constexpr std::uint64_t kNameValueFlags = 0x10010001;

std::string Attribute(std::string_view oid, const std::string& value) {
    return der::Sequence({der::Oid(oid), der::SetOf({value})});
}

std::string NameValue(std::string_view name, std::string_view value) {
    return Attribute(kNameValue, der::Sequence({der::BmpString(name), der::Integer(kNameValueFlags),
                                                der::OctetString(der::Utf16LeWithNul(value))}));
}

std::string Sha256Algorithm() {
    return der::Sequence({der::Oid(kSha256), der::Null()});
}

std::string Member(const CatalogMember& member) {
    // SpcIndirectDataContent: a flat file, whose link is left empty, and its digest.
    const std::string link =
        der::Tlv(der::ContextTag(2, true), der::Tlv(der::ContextTag(0, false), {}));
    const std::string indirectData = der::Sequence({
        der::Sequence({der::Oid(kFlatFileData), link}),
        der::Sequence({Sha256Algorithm(), der::OctetString(member.sha256)}),
    });
    const std::string memberInfo =
        der::Sequence({der::BmpString(kFlatFileSubject), der::Integer(kMemberInfoVersion)});
    // In a list of SHA-256 members the subject is the digest itself. Windows marks such members
    // with the second member info; readers that know only the first (Wine's) need that one.
    return der::Sequence({
        der::OctetString(member.sha256),
        der::SetOf({
            NameValue("File", member.fileName),
            NameValue("OSAttr", kCatalogOsAttribute),
            Attribute(kIndirectData, indirectData),
            Attribute(kMemberInfo, memberInfo),
            Attribute(kMemberInfo2, der::Tlv(der::ContextTag(2, false), {})),
        }),
    });
}

}  // namespace

std::string BuildCatalogList(const std::vector<CatalogMember>& members, std::int64_t thisUpdate,
                             PackageCrypto& crypto) {
    std::vector<std::string> subjects;
    for (const CatalogMember& member : members) {
        subjects.push_back(Member(member));
    }
    const std::string trustedSubjects = der::SequenceOf(subjects);
    const std::string listIdentifier =
        crypto.Digest(DigestAlgorithm::Sha256, trustedSubjects).substr(0, 16);
    return der::Sequence({
        der::Sequence({der::Oid(kCatalogList)}),
        der::OctetString(listIdentifier),
        der::Time(thisUpdate),
        der::Sequence({der::Oid(kCatalogListMemberV2), der::Null()}),
        trustedSubjects,
    });
}

std::optional<std::string> SignCatalog(std::string_view catalogList, const CatalogSigner& signer,
                                       PackageCrypto& crypto) {
    // The digest covers the content octets of the list, without its own tag and length.
    der::Reader reader(catalogList);
    const std::optional<der::Element> list = reader.NextIf(der::kSequence);
    if (!list) {
        return std::nullopt;
    }
    const std::string digest = crypto.Digest(DigestAlgorithm::Sha256, list->content);
    const std::string attributes = der::SetOfContent({
        Attribute(kContentType, der::Oid(kCertificateTrustList)),
        Attribute(kOpusInfo, der::Sequence({})),
        Attribute(kMessageDigest, der::OctetString(digest)),
    });
    // The signature covers the attributes as a SET; the file holds them under [0] instead.
    const std::optional<std::string> signature =
        signer.key.SignSha256(der::Tlv(der::kSet, attributes));
    if (!signature) {
        return std::nullopt;
    }
    const std::string signerInfo = der::Sequence({
        der::Integer(1),
        der::Sequence({signer.info.issuer, signer.info.serialNumber}),
        Sha256Algorithm(),
        der::Tlv(der::ContextTag(0, true), attributes),
        der::Sequence({der::Oid(kRsaEncryption), der::Null()}),
        der::OctetString(*signature),
    });
    std::vector<std::string> certificates = {signer.certificate};
    certificates.insert(certificates.end(), signer.chain.begin(), signer.chain.end());
    std::string certificatesContent;
    for (const std::string& certificate : certificates) {
        certificatesContent += certificate;
    }
    const std::string signedData = der::Sequence({
        der::Integer(1),
        der::SetOf({Sha256Algorithm()}),
        der::Sequence({der::Oid(kCertificateTrustList), der::Explicit(0, catalogList)}),
        der::Tlv(der::ContextTag(0, true), certificatesContent),
        der::SetOf({signerInfo}),
    });
    return der::Sequence({der::Oid(kSignedData), der::Explicit(0, signedData)});
}

}  // namespace tessaly
