#include "model/archive/KXWinZipAes.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <openssl/core_names.h>
#include <openssl/evp.h>
#include <openssl/params.h>
#include <zip.h>

namespace {

const int kKeyIterations = 1000;
const std::size_t kVerifierLength = 2;
const std::size_t kCodeLength = 10;
const std::size_t kMaxKeyLength = 32; // AES-256

struct FileCloser {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};

struct MacFreer {
    void operator()(EVP_MAC* mac) const { EVP_MAC_free(mac); }
};

struct MacContextFreer {
    void operator()(EVP_MAC_CTX* context) const { EVP_MAC_CTX_free(context); }
};

using MacContext = std::unique_ptr<EVP_MAC_CTX, MacContextFreer>;

// HMAC-SHA1 keyed with the entry's authentication key; null when OpenSSL cannot provide it.
MacContext newHmacSha1(const unsigned char* key, std::size_t keyLength) {
    std::unique_ptr<EVP_MAC, MacFreer> mac(EVP_MAC_fetch(nullptr, OSSL_MAC_NAME_HMAC, nullptr));
    if (!mac) {
        return nullptr;
    }
    MacContext context(EVP_MAC_CTX_new(mac.get())); // holds its own reference to the algorithm
    char digest[] = OSSL_DIGEST_NAME_SHA1;
    const OSSL_PARAM params[] = {OSSL_PARAM_construct_utf8_string(OSSL_MAC_PARAM_DIGEST, digest, 0),
                                 OSSL_PARAM_construct_end()};
    if (!context || EVP_MAC_init(context.get(), key, keyLength, params) != 1) {
        return nullptr;
    }
    return context;
}

bool readExactly(zip_file_t* file, unsigned char* target, std::size_t length) {
    while (length > 0) {
        zip_int64_t n = zip_fread(file, target, length);
        if (n <= 0) {
            return false;
        }
        target += n;
        length -= static_cast<std::size_t>(n);
    }
    return true;
}

std::uint64_t g_derivations = 0;

} // namespace

std::uint64_t winZipAesKeyDerivations() {
    return g_derivations;
}

bool isWinZipAesEntry(zip_t* archive, std::uint64_t index) {
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(archive, index, 0, &stat) != 0 || (stat.valid & ZIP_STAT_ENCRYPTION_METHOD) == 0) {
        return false;
    }
    return stat.encryption_method == ZIP_EM_AES_128 || stat.encryption_method == ZIP_EM_AES_192 ||
           stat.encryption_method == ZIP_EM_AES_256;
}

bool winZipAesCodeMatches(zip_t* archive, std::uint64_t index, const std::string& password) {
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(archive, index, 0, &stat) != 0 || (stat.valid & ZIP_STAT_COMP_SIZE) == 0 ||
        !isWinZipAesEntry(archive, index)) {
        return false;
    }
    const std::size_t keyLength = stat.encryption_method == ZIP_EM_AES_128   ? 16
                                  : stat.encryption_method == ZIP_EM_AES_192 ? 24
                                                                             : 32;
    const std::size_t saltLength = keyLength / 2;
    if (stat.comp_size < saltLength + kVerifierLength + kCodeLength) {
        return false;
    }
    std::unique_ptr<zip_file_t, FileCloser> raw(zip_fopen_index(archive, index, ZIP_FL_ENCRYPTED));
    if (!raw) {
        zip_error_clear(archive);
        return false;
    }
    unsigned char header[kMaxKeyLength / 2 + kVerifierLength];
    if (!readExactly(raw.get(), header, saltLength + kVerifierLength)) {
        return false;
    }
    // Derived in order: the AES key (unused here), the authentication key, the password verifier.
    unsigned char keys[2 * kMaxKeyLength + kVerifierLength];
    const std::size_t keysLength = 2 * keyLength + kVerifierLength;
    ++g_derivations;
    if (password.size() > static_cast<std::size_t>(INT_MAX) ||
        PKCS5_PBKDF2_HMAC_SHA1(password.data(), static_cast<int>(password.size()), header,
                               static_cast<int>(saltLength), kKeyIterations, static_cast<int>(keysLength),
                               keys) != 1) {
        return false;
    }
    if (std::memcmp(keys + 2 * keyLength, header + saltLength, kVerifierLength) != 0) {
        return false;
    }
    MacContext code = newHmacSha1(keys + keyLength, keyLength);
    if (!code) {
        return false;
    }
    std::uint64_t remaining = stat.comp_size - saltLength - kVerifierLength - kCodeLength;
    unsigned char chunk[16384];
    while (remaining > 0) {
        std::size_t take = static_cast<std::size_t>(std::min<std::uint64_t>(remaining, sizeof chunk));
        if (!readExactly(raw.get(), chunk, take)) {
            return false;
        }
        if (EVP_MAC_update(code.get(), chunk, take) != 1) {
            return false;
        }
        remaining -= take;
    }
    unsigned char stored[kCodeLength];
    if (!readExactly(raw.get(), stored, kCodeLength)) {
        return false;
    }
    unsigned char expected[EVP_MAX_MD_SIZE];
    std::size_t expectedLength = 0;
    if (EVP_MAC_final(code.get(), expected, &expectedLength, sizeof expected) != 1 ||
        expectedLength < kCodeLength) {
        return false;
    }
    return std::memcmp(expected, stored, kCodeLength) == 0; // the code is the digest's first 10 bytes
}
