// Test helper: reads a driver package's catalog with Windows' own catalog API (wintrust) and
// checks the member for a file. Finds the member whose "File" attribute holds the file's name,
// and compares the member's digest with the file's SHA-256, computed here with BCrypt.
//
// Wine 8 notes that shape it:
// - It has no CryptCATAdminCalcHashFromFileHandle2, hence BCrypt.
// - Its CryptCATGetAttrInfo answers CRYPT_E_NOT_FOUND for every attribute. Then the "File"
//   attribute is read with crypt32 instead (CertCreateCTLContext, CryptDecodeObjectEx with
//   CAT_NAMEVALUE_OBJID), and the entry is matched to wintrust's member by the digest, which
//   is the subject of an entry in a list of SHA-256 members.

#include <windows.h>
// After windows.h, whose types these headers use.
#include <bcrypt.h>
#include <mscat.h>
#include <wintrust.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>
#include <utility>
#include <vector>

namespace {

enum Exit : int { kMatch = 0, kDiffers = 1, kNoMember = 2, kCannotRead = 3, kUsage = 64 };

std::wstring Widen(const char* text) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
    wide.resize(static_cast<std::size_t>(length) - 1);
    return wide;
}

bool ReadWhole(const char* path, std::vector<unsigned char>& bytes) {
    FILE* file = std::fopen(path, "rb");
    if (!file) {
        return false;
    }
    unsigned char buffer[4096];
    std::size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        bytes.insert(bytes.end(), buffer, buffer + count);
    }
    std::fclose(file);
    return true;
}

bool Sha256(const std::vector<unsigned char>& data, std::vector<unsigned char>& digest) {
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    BCRYPT_HASH_HANDLE hash = nullptr;
    digest.assign(32, 0);
    bool ok = BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0) == 0 &&
              BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0) == 0 &&
              BCryptHashData(hash, const_cast<unsigned char*>(data.data()),
                             static_cast<ULONG>(data.size()), 0) == 0 &&
              BCryptFinishHash(hash, digest.data(), 32, 0) == 0;
    if (hash) {
        BCryptDestroyHash(hash);
    }
    if (algorithm) {
        BCryptCloseAlgorithmProvider(algorithm, 0);
    }
    return ok;
}

// The name each catalog entry's "File" attribute gives, by subject, read with crypt32.
std::vector<std::pair<std::string, std::wstring>> FileNamesBySubject(
    const std::vector<unsigned char>& catalog) {
    std::vector<std::pair<std::string, std::wstring>> names;
    PCCTL_CONTEXT context =
        CertCreateCTLContext(X509_ASN_ENCODING | PKCS_7_ASN_ENCODING, catalog.data(),
                             static_cast<DWORD>(catalog.size()));
    if (!context) {
        std::fprintf(stderr, "CatalogProbe: CertCreateCTLContext failed (error %lu)\n",
                     GetLastError());
        return names;
    }
    const CTL_INFO& list = *context->pCtlInfo;
    for (DWORD i = 0; i < list.cCTLEntry; ++i) {
        const CTL_ENTRY& entry = list.rgCTLEntry[i];
        const std::string subject(reinterpret_cast<const char*>(entry.SubjectIdentifier.pbData),
                                  entry.SubjectIdentifier.cbData);
        for (DWORD a = 0; a < entry.cAttribute; ++a) {
            const CRYPT_ATTRIBUTE& attribute = entry.rgAttribute[a];
            if (std::strcmp(attribute.pszObjId, CAT_NAMEVALUE_OBJID) != 0 ||
                attribute.cValue != 1) {
                continue;
            }
            CAT_NAMEVALUE* value = nullptr;
            DWORD size = 0;
            if (!CryptDecodeObjectEx(X509_ASN_ENCODING, CAT_NAMEVALUE_OBJID,
                                     attribute.rgValue[0].pbData, attribute.rgValue[0].cbData,
                                     CRYPT_DECODE_ALLOC_FLAG, nullptr, &value, &size)) {
                std::fprintf(stderr, "CatalogProbe: a name/value attribute does not decode\n");
                continue;
            }
            if (std::wcscmp(value->pwszTag, L"File") == 0) {
                names.emplace_back(
                    subject, std::wstring(reinterpret_cast<const wchar_t*>(value->Value.pbData),
                                          value->Value.cbData / sizeof(wchar_t)));
            }
            LocalFree(value);
        }
    }
    CertFreeCTLContext(context);
    return names;
}

std::string Hex(const unsigned char* bytes, DWORD count) {
    std::string text;
    char pair[3];
    for (DWORD i = 0; i < count; ++i) {
        std::snprintf(pair, sizeof pair, "%02X", bytes[i]);
        text += pair;
    }
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr,
                     "usage: CatalogProbe <catalog.cat> <file>\n"
                     "exit: 0 the member's digest is the file's SHA-256, 1 it differs,\n"
                     "      2 no member names the file, 3 the catalog or file cannot be read\n");
        return kUsage;
    }
    std::vector<unsigned char> contents;
    std::vector<unsigned char> digest;
    std::vector<unsigned char> catalogBytes;
    if (!ReadWhole(argv[2], contents) || !Sha256(contents, digest) ||
        !ReadWhole(argv[1], catalogBytes)) {
        std::fprintf(stderr, "CatalogProbe: cannot read %s or %s\n", argv[1], argv[2]);
        return kCannotRead;
    }
    const char* slash = std::strrchr(argv[2], '\\');
    const char* forward = std::strrchr(argv[2], '/');
    const char* name = forward > slash ? forward + 1 : slash ? slash + 1 : argv[2];
    const std::wstring wantedName = Widen(name);

    std::wstring catalogPath = Widen(argv[1]);
    HANDLE catalog = CryptCATOpen(catalogPath.data(), CRYPTCAT_OPEN_EXISTING, 0, 0, 0);
    if (catalog == INVALID_HANDLE_VALUE || catalog == nullptr) {
        std::fprintf(stderr, "CatalogProbe: CryptCATOpen failed (error %lu)\n", GetLastError());
        return kCannotRead;
    }
    int result = kNoMember;
    int members = 0;
    wchar_t fileTag[] = L"File";
    for (CRYPTCATMEMBER* member = CryptCATEnumerateMember(catalog, nullptr); member;
         member = CryptCATEnumerateMember(catalog, member)) {
        ++members;
        std::wstring value;
        if (CRYPTCATATTRIBUTE* file = CryptCATGetAttrInfo(catalog, member, fileTag)) {
            value.assign(reinterpret_cast<const wchar_t*>(file->pbValue),
                         file->cbValue / sizeof(wchar_t));
        } else if (GetLastError() == static_cast<DWORD>(CRYPT_E_NOT_FOUND)) {
            if (members == 1) {
                std::printf("CryptCATGetAttrInfo found no File attribute: read with crypt32\n");
            }
            const CRYPT_HASH_BLOB& blob = member->pIndirectData->Digest;
            const std::string memberDigest(reinterpret_cast<const char*>(blob.pbData), blob.cbData);
            for (const auto& [subject, fileName] : FileNamesBySubject(catalogBytes)) {
                if (subject == memberDigest) {
                    value = fileName;
                }
            }
        }
        value.resize(std::wcslen(value.c_str()));
        if (_wcsicmp(value.c_str(), wantedName.c_str()) != 0) {
            continue;
        }
        const CRYPT_HASH_BLOB& memberDigest = member->pIndirectData->Digest;
        const bool same = memberDigest.cbData == digest.size() &&
                          std::memcmp(memberDigest.pbData, digest.data(), digest.size()) == 0;
        std::printf("member %s: %s\nfile   %s\n", name,
                    Hex(memberDigest.pbData, memberDigest.cbData).c_str(),
                    Hex(digest.data(), static_cast<DWORD>(digest.size())).c_str());
        result = same ? kMatch : kDiffers;
    }
    CryptCATClose(catalog);
    if (result == kNoMember) {
        std::fprintf(stderr, "CatalogProbe: none of %d members names %s\n", members, name);
    }
    return result;
}
