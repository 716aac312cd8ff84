#include "model/archive/KXWinZipAes.h"

#include "model/archive/KXSha1.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <zip.h>

namespace {

const unsigned kKeyIterations = 1000;
const std::size_t kVerifierLength = 2;
const std::size_t kCodeLength = 10;

struct FileCloser {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};

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

} // namespace

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
    unsigned char header[16 + kVerifierLength];
    if (!readExactly(raw.get(), header, saltLength + kVerifierLength)) {
        return false;
    }
    const std::string keys =
        pbkdf2HmacSha1(password, header, saltLength, kKeyIterations, 2 * keyLength + kVerifierLength);
    if (std::memcmp(keys.data() + 2 * keyLength, header + saltLength, kVerifierLength) != 0) {
        return false;
    }
    KXHmacSha1 code(reinterpret_cast<const unsigned char*>(keys.data()) + keyLength, keyLength);
    std::uint64_t remaining = stat.comp_size - saltLength - kVerifierLength - kCodeLength;
    unsigned char chunk[16384];
    while (remaining > 0) {
        std::size_t take = static_cast<std::size_t>(std::min<std::uint64_t>(remaining, sizeof chunk));
        if (!readExactly(raw.get(), chunk, take)) {
            return false;
        }
        code.update(chunk, take);
        remaining -= take;
    }
    unsigned char stored[kCodeLength];
    if (!readExactly(raw.get(), stored, kCodeLength)) {
        return false;
    }
    KXSha1Digest expected = code.finish();
    return std::memcmp(expected.data(), stored, kCodeLength) == 0;
}
