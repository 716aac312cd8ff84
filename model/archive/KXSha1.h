// SHA-1, HMAC-SHA1 and PBKDF2-HMAC-SHA1: just enough to check the authentication code of WinZip AES
// entries ourselves (see KXWinZipAes.h for why).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

using KXSha1Digest = std::array<unsigned char, 20>;

class KXSha1 {
public:
    KXSha1();
    void update(const unsigned char* data, std::size_t length);
    KXSha1Digest finish();

private:
    void compress(const unsigned char* block);

    std::uint32_t state_[5];
    unsigned char block_[64];
    std::size_t blockLength_ = 0;
    std::uint64_t totalLength_ = 0;
};

class KXHmacSha1 {
public:
    KXHmacSha1(const unsigned char* key, std::size_t keyLength);
    void update(const unsigned char* data, std::size_t length) { inner_.update(data, length); }
    KXSha1Digest finish();

private:
    KXSha1 inner_;
    unsigned char outerPad_[64];
};

// Derives `length` bytes from a password and salt (RFC 2898, HMAC-SHA1).
std::string pbkdf2HmacSha1(const std::string& password, const unsigned char* salt, std::size_t saltLength,
                           unsigned iterations, std::size_t length);
