#include "model/archive/KXWinZipAes.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <new>
#include <openssl/core_names.h>
#include <openssl/evp.h>
#include <openssl/params.h>
#include <zip.h>
#include <zlib.h>

#include "model/archive/KXArchiveErrors.h"

namespace {

const int kKeyIterations = 1000;
const std::size_t kVerifierLength = 2;
const std::size_t kCodeLength = 10;
const std::size_t kMaxKeyLength = 32; // AES-256
const std::size_t kBlock = 16;
// A whole number of AES blocks, so that every chunk starts on a counter boundary.
const std::size_t kChunk = 16384;
const zip_uint16_t kStored = 0;
const zip_uint16_t kDeflated = 8;

std::uint64_t g_derivations = 0;

struct FileCloser {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};
struct MacFreer {
    void operator()(EVP_MAC* mac) const { EVP_MAC_free(mac); }
};
struct MacContextFreer {
    void operator()(EVP_MAC_CTX* context) const { EVP_MAC_CTX_free(context); }
};
struct CipherContextFreer {
    void operator()(EVP_CIPHER_CTX* context) const { EVP_CIPHER_CTX_free(context); }
};
using MacContext = std::unique_ptr<EVP_MAC_CTX, MacContextFreer>;
using CipherContext = std::unique_ptr<EVP_CIPHER_CTX, CipherContextFreer>;

[[noreturn]] void badData() {
    throwArchiveFault(kArchiveReadFile, KXArchiveFault::BadArchive);
}

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

// AES in ECB mode without padding: it encrypts the counter blocks of WinZip's CTR mode.
CipherContext newCounterCipher(const unsigned char* key, std::size_t keyLength) {
    const EVP_CIPHER* cipher = keyLength == 16   ? EVP_aes_128_ecb()
                               : keyLength == 24 ? EVP_aes_192_ecb()
                                                 : EVP_aes_256_ecb();
    CipherContext context(EVP_CIPHER_CTX_new());
    if (!context || EVP_EncryptInit_ex(context.get(), cipher, nullptr, key, nullptr) != 1 ||
        EVP_CIPHER_CTX_set_padding(context.get(), 0) != 1) {
        return nullptr;
    }
    return context;
}

void readExactly(zip_file_t* file, unsigned char* target, std::size_t length) {
    while (length > 0) {
        const zip_int64_t n = zip_fread(file, target, length);
        if (n < 0) {
            throwArchiveError(kArchiveReadFile, zip_file_get_error(file));
        }
        if (n == 0) {
            badData(); // shorter than the archive says
        }
        target += n;
        length -= static_cast<std::size_t>(n);
    }
}

// Where the decrypted bytes go: straight into the target, or through raw inflate.
class Output {
public:
    Output(zip_uint16_t method, unsigned char* target, std::size_t size)
        : m_deflated(method == kDeflated), m_target(target), m_size(size) {
        if (m_deflated) {
            std::memset(&m_stream, 0, sizeof m_stream);
            if (inflateInit2(&m_stream, -MAX_WBITS) != Z_OK) {
                throw std::bad_alloc();
            }
            m_inflating = true;
        }
    }
    ~Output() {
        if (m_inflating) {
            inflateEnd(&m_stream);
        }
    }
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    void write(unsigned char* data, std::size_t length) {
        if (!m_deflated) {
            if (length > m_size - m_length) {
                badData();
            }
            std::memcpy(m_target + m_length, data, length);
            m_length += length;
            return;
        }
        m_stream.next_in = data;
        m_stream.avail_in = static_cast<uInt>(length);
        while (m_stream.avail_in > 0) {
            if (m_ended) {
                badData(); // data after the end of the deflate stream
            }
            unsigned char spare;
            const bool full = m_length == m_size;
            // Past the declared size one more byte of room shows whether the stream holds more.
            m_stream.next_out = full ? &spare : m_target + m_length;
            m_stream.avail_out =
                full ? 1u : static_cast<uInt>(std::min<std::size_t>(m_size - m_length, UINT_MAX));
            const uInt room = m_stream.avail_out;
            const uInt input = m_stream.avail_in;
            const int result = inflate(&m_stream, Z_NO_FLUSH);
            const std::size_t produced = room - m_stream.avail_out;
            if ((result != Z_OK && result != Z_STREAM_END) || (full && produced > 0) ||
                (produced == 0 && m_stream.avail_in == input)) {
                badData(); // corrupt, longer than declared, or stuck
            }
            m_length += produced;
            m_ended = result == Z_STREAM_END;
        }
    }

    // The whole entry is in: exactly the declared size, and a finished deflate stream.
    void finish() {
        if (m_length != m_size || (m_deflated && !m_ended && !finishStream())) {
            badData();
        }
    }

private:
    bool finishStream() {
        unsigned char spare;
        m_stream.next_in = nullptr;
        m_stream.avail_in = 0;
        m_stream.next_out = &spare;
        m_stream.avail_out = 1;
        return inflate(&m_stream, Z_FINISH) == Z_STREAM_END && m_stream.avail_out == 1;
    }

    bool m_deflated;
    unsigned char* m_target;
    std::size_t m_size;
    std::size_t m_length = 0;
    z_stream m_stream;
    bool m_inflating = false;
    bool m_ended = false;
};

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

void readWinZipAesEntry(zip_t* archive, std::uint64_t index, const std::string& password,
                        unsigned char* target, std::size_t size) {
    zip_stat_t stat;
    zip_stat_init(&stat);
    const zip_uint64_t needed = ZIP_STAT_COMP_SIZE | ZIP_STAT_COMP_METHOD | ZIP_STAT_ENCRYPTION_METHOD;
    if (zip_stat_index(archive, index, 0, &stat) != 0 || (stat.valid & needed) != needed) {
        throwArchiveError(kArchiveOpenFile, zip_get_error(archive));
    }
    if (stat.comp_method != kStored && stat.comp_method != kDeflated) {
        throwArchiveFault(kArchiveOpenFile, KXArchiveFault::BadArchive);
    }
    if (password.empty() || password.size() > static_cast<std::size_t>(INT_MAX)) {
        throwArchiveFault(kArchiveOpenFile, KXArchiveFault::WrongPassword);
    }
    const std::size_t keyLength = stat.encryption_method == ZIP_EM_AES_128   ? 16
                                  : stat.encryption_method == ZIP_EM_AES_192 ? 24
                                                                             : 32;
    const std::size_t saltLength = keyLength / 2;
    if (stat.comp_size < saltLength + kVerifierLength + kCodeLength) {
        badData();
    }
    std::unique_ptr<zip_file_t, FileCloser> raw(
        zip_fopen_index(archive, index, ZIP_FL_ENCRYPTED | ZIP_FL_COMPRESSED));
    if (!raw) {
        throwArchiveError(kArchiveOpenFile, zip_get_error(archive));
    }
    unsigned char header[kMaxKeyLength / 2 + kVerifierLength];
    readExactly(raw.get(), header, saltLength + kVerifierLength);

    // Derived in order: the AES key, the authentication key, the password verifier.
    unsigned char keys[2 * kMaxKeyLength + kVerifierLength];
    const std::size_t keysLength = 2 * keyLength + kVerifierLength;
    ++g_derivations;
    if (PKCS5_PBKDF2_HMAC_SHA1(password.data(), static_cast<int>(password.size()), header,
                               static_cast<int>(saltLength), kKeyIterations, static_cast<int>(keysLength),
                               keys) != 1) {
        throwArchiveFault(kArchiveOpenFile, KXArchiveFault::Unknown);
    }
    if (std::memcmp(keys + 2 * keyLength, header + saltLength, kVerifierLength) != 0) {
        throwArchiveFault(kArchiveOpenFile, KXArchiveFault::WrongPassword);
    }
    CipherContext cipher = newCounterCipher(keys, keyLength);
    MacContext code = newHmacSha1(keys + keyLength, keyLength);
    if (!cipher || !code) {
        throwArchiveFault(kArchiveOpenFile, KXArchiveFault::Unknown);
    }

    Output output(stat.comp_method, target, size);
    std::uint64_t remaining = stat.comp_size - saltLength - kVerifierLength - kCodeLength;
    std::uint64_t counter = 0;
    unsigned char data[kChunk];
    unsigned char stream[kChunk];
    while (remaining > 0) {
        const std::size_t take = static_cast<std::size_t>(std::min<std::uint64_t>(remaining, kChunk));
        readExactly(raw.get(), data, take);
        if (EVP_MAC_update(code.get(), data, take) != 1) {
            throwArchiveFault(kArchiveReadFile, KXArchiveFault::Unknown);
        }
        // WinZip's CTR mode: a little-endian 64-bit block counter from 1 in the first 8 bytes.
        const std::size_t blocks = (take + kBlock - 1) / kBlock;
        std::memset(stream, 0, blocks * kBlock);
        for (std::size_t b = 0; b < blocks; ++b) {
            ++counter;
            for (std::size_t i = 0; i < 8; ++i) {
                stream[b * kBlock + i] = static_cast<unsigned char>(counter >> (8 * i));
            }
        }
        int encrypted = 0;
        if (EVP_EncryptUpdate(cipher.get(), stream, &encrypted, stream, static_cast<int>(blocks * kBlock)) !=
            1) {
            throwArchiveFault(kArchiveReadFile, KXArchiveFault::Unknown);
        }
        for (std::size_t i = 0; i < take; ++i) {
            data[i] ^= stream[i];
        }
        output.write(data, take);
        remaining -= take;
    }
    unsigned char stored[kCodeLength];
    readExactly(raw.get(), stored, kCodeLength);
    unsigned char expected[EVP_MAX_MD_SIZE];
    std::size_t expectedLength = 0;
    if (EVP_MAC_final(code.get(), expected, &expectedLength, sizeof expected) != 1 ||
        expectedLength < kCodeLength) {
        throwArchiveFault(kArchiveReadFile, KXArchiveFault::Unknown);
    }
    // The code is the digest's first 10 bytes; it covers the encrypted data, AE-2's only check.
    if (std::memcmp(expected, stored, kCodeLength) != 0) {
        badData();
    }
    output.finish();
    // AE-1 entries also carry the CRC of the plain data; AE-2 writers store 0.
    if ((stat.valid & ZIP_STAT_CRC) != 0 && stat.crc != 0 &&
        crc32(crc32(0L, Z_NULL, 0), target, static_cast<uInt>(size)) != stat.crc) {
        badData();
    }
}
