#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "output/package/Certificate.h"

namespace tessaly {

class PackageCrypto;
class SigningKey;

// One file the catalog vouches for: its name (Latin-1) and its SHA-256 digest.
struct CatalogMember {
    std::string fileName;
    std::string sha256;
};

// The Windows versions the members are declared for, in the form the "OSAttr" attribute takes:
// Windows 10 and 11, which check SHA-256 members.
inline constexpr std::string_view kCatalogOsAttribute = "2:10.0";

// The catalog's content: a certificate trust list of the catalog kind with one SHA-256 member
// per file, dated `thisUpdate`. Its list identifier derives from the members, so the same files
// give the same bytes.
std::string BuildCatalogList(const std::vector<CatalogMember>& members, std::int64_t thisUpdate,
                             PackageCrypto& crypto);

// Who signs: the certificate (DER, with its parsed facts), the certificates of its issuers, and
// the key.
struct CatalogSigner {
    const std::string& certificate;
    const CertificateInfo& info;
    const std::vector<std::string>& chain;
    SigningKey& key;
};

// The catalog file: a PKCS #7 SignedData holding `catalogList`, signed with SHA-256 and RSA.
// Nullopt when the key fails to sign.
std::optional<std::string> SignCatalog(std::string_view catalogList, const CatalogSigner& signer,
                                       PackageCrypto& crypto);

}  // namespace tessaly
