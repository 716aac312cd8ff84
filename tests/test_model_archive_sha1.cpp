// The hash functions behind our check of WinZip AES authentication codes, against published vectors.
#include "model/archive/KXSha1.h"

#include <gtest/gtest.h>

namespace {

std::string hex(const unsigned char* bytes, std::size_t length) {
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (std::size_t i = 0; i < length; ++i) {
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 15];
    }
    return text;
}

std::string sha1(const std::string& text) {
    KXSha1 hash;
    hash.update(reinterpret_cast<const unsigned char*>(text.data()), text.size());
    return hex(hash.finish().data(), 20);
}

std::string hmac(const std::string& key, const std::string& text) {
    KXHmacSha1 code(reinterpret_cast<const unsigned char*>(key.data()), key.size());
    code.update(reinterpret_cast<const unsigned char*>(text.data()), text.size());
    return hex(code.finish().data(), 20);
}

std::string pbkdf2(const std::string& password, const std::string& salt, unsigned iterations,
                   std::size_t length) {
    std::string key = pbkdf2HmacSha1(password, reinterpret_cast<const unsigned char*>(salt.data()),
                                     salt.size(), iterations, length);
    return hex(reinterpret_cast<const unsigned char*>(key.data()), key.size());
}

TEST(Sha1, PublishedDigests) {
    EXPECT_EQ(sha1(""), "da39a3ee5e6b4b0d3255bfef95601890afd80709");
    EXPECT_EQ(sha1("abc"), "a9993e364706816aba3e25717850c26c9cd0d89d");
    EXPECT_EQ(sha1("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "84983e441c3bd26ebaae4aa1f95129e5e54670f1");
    // Fed in uneven pieces across many blocks.
    KXSha1 hash;
    std::string piece(997, 'a');
    std::size_t fed = 0;
    while (fed < 1000000) {
        std::size_t take = std::min(piece.size(), 1000000 - fed);
        hash.update(reinterpret_cast<const unsigned char*>(piece.data()), take);
        fed += take;
    }
    EXPECT_EQ(hex(hash.finish().data(), 20), "34aa973cd4c4daa4f61eeb2bdbad27316534016f");
}

TEST(Sha1, HmacVectors) {
    EXPECT_EQ(hmac("Jefe", "what do ya want for nothing?"), "effcdf6ae5eb2fa2d27416d5f184df9c259a7c79");
    EXPECT_EQ(hmac(std::string(80, '\xaa'), "Test Using Larger Than Block-Size Key - Hash Key First"),
              "aa4ae5e15272d00e95705637ce8a3b55ed402112");
}

TEST(Sha1, Pbkdf2Vectors) {
    EXPECT_EQ(pbkdf2("password", "salt", 1, 20), "0c60c80f961f0e71f3a9b524af6012062fe037a6");
    EXPECT_EQ(pbkdf2("password", "salt", 2, 20), "ea6c014dc72d6f8ccd1ed92ace1d41f0d8de8957");
    EXPECT_EQ(pbkdf2("password", "salt", 4096, 20), "4b007901b765489abead49d926f721d065a429c1");
    EXPECT_EQ(pbkdf2("passwordPASSWORDpassword", "saltSALTsaltSALTsaltSALTsaltSALTsalt", 4096, 25),
              "3d2eec4fe41c849b80c8d83662c0e44a8b291a964cf2f07038");
}

} // namespace
