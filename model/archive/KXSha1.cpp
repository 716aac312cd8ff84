#include "model/archive/KXSha1.h"

#include <algorithm>
#include <cstring>

namespace {

std::uint32_t rotl(std::uint32_t value, int bits) {
    return (value << bits) | (value >> (32 - bits));
}

} // namespace

KXSha1::KXSha1() : state_{0x67452301u, 0xEFCDAB89u, 0x98BADCFEu, 0x10325476u, 0xC3D2E1F0u}, block_{} {}

void KXSha1::compress(const unsigned char* block) {
    std::uint32_t w[80];
    for (int i = 0; i < 16; ++i) {
        w[i] = (std::uint32_t(block[4 * i]) << 24) | (std::uint32_t(block[4 * i + 1]) << 16) |
               (std::uint32_t(block[4 * i + 2]) << 8) | std::uint32_t(block[4 * i + 3]);
    }
    for (int i = 16; i < 80; ++i) {
        w[i] = rotl(w[i - 3] ^ w[i - 8] ^ w[i - 14] ^ w[i - 16], 1);
    }
    std::uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3], e = state_[4];
    for (int i = 0; i < 80; ++i) {
        std::uint32_t f, k;
        if (i < 20) {
            f = (b & c) | (~b & d);
            k = 0x5A827999u;
        } else if (i < 40) {
            f = b ^ c ^ d;
            k = 0x6ED9EBA1u;
        } else if (i < 60) {
            f = (b & c) | (b & d) | (c & d);
            k = 0x8F1BBCDCu;
        } else {
            f = b ^ c ^ d;
            k = 0xCA62C1D6u;
        }
        std::uint32_t next = rotl(a, 5) + f + e + k + w[i];
        e = d;
        d = c;
        c = rotl(b, 30);
        b = a;
        a = next;
    }
    state_[0] += a;
    state_[1] += b;
    state_[2] += c;
    state_[3] += d;
    state_[4] += e;
}

void KXSha1::update(const unsigned char* data, std::size_t length) {
    totalLength_ += length;
    while (length > 0) {
        std::size_t take = std::min(length, sizeof block_ - blockLength_);
        std::memcpy(block_ + blockLength_, data, take);
        blockLength_ += take;
        data += take;
        length -= take;
        if (blockLength_ == sizeof block_) {
            compress(block_);
            blockLength_ = 0;
        }
    }
}

KXSha1Digest KXSha1::finish() {
    const std::uint64_t bits = totalLength_ * 8;
    const unsigned char marker = 0x80;
    update(&marker, 1);
    const unsigned char zero = 0;
    while (blockLength_ != 56) {
        update(&zero, 1);
    }
    unsigned char length[8];
    for (int i = 0; i < 8; ++i) {
        length[i] = static_cast<unsigned char>(bits >> (56 - 8 * i));
    }
    update(length, 8);
    KXSha1Digest digest;
    for (int i = 0; i < 20; ++i) {
        digest[i] = static_cast<unsigned char>(state_[i / 4] >> (24 - 8 * (i % 4)));
    }
    return digest;
}

KXHmacSha1::KXHmacSha1(const unsigned char* key, std::size_t keyLength) {
    unsigned char paddedKey[64] = {};
    if (keyLength > sizeof paddedKey) {
        KXSha1 hash;
        hash.update(key, keyLength);
        KXSha1Digest digest = hash.finish();
        std::memcpy(paddedKey, digest.data(), digest.size());
    } else if (keyLength > 0) {
        std::memcpy(paddedKey, key, keyLength);
    }
    unsigned char innerPad[64];
    for (int i = 0; i < 64; ++i) {
        innerPad[i] = paddedKey[i] ^ 0x36;
        outerPad_[i] = paddedKey[i] ^ 0x5c;
    }
    inner_.update(innerPad, sizeof innerPad);
}

KXSha1Digest KXHmacSha1::finish() {
    KXSha1Digest innerDigest = inner_.finish();
    KXSha1 outer;
    outer.update(outerPad_, sizeof outerPad_);
    outer.update(innerDigest.data(), innerDigest.size());
    return outer.finish();
}

std::string pbkdf2HmacSha1(const std::string& password, const unsigned char* salt, std::size_t saltLength,
                           unsigned iterations, std::size_t length) {
    const auto* key = reinterpret_cast<const unsigned char*>(password.data());
    std::string derived;
    for (std::uint32_t blockIndex = 1; derived.size() < length; ++blockIndex) {
        unsigned char counter[4] = {
            static_cast<unsigned char>(blockIndex >> 24), static_cast<unsigned char>(blockIndex >> 16),
            static_cast<unsigned char>(blockIndex >> 8), static_cast<unsigned char>(blockIndex)};
        KXHmacSha1 first(key, password.size());
        first.update(salt, saltLength);
        first.update(counter, sizeof counter);
        KXSha1Digest u = first.finish();
        KXSha1Digest t = u;
        for (unsigned i = 1; i < iterations; ++i) {
            KXHmacSha1 next(key, password.size());
            next.update(u.data(), u.size());
            u = next.finish();
            for (std::size_t j = 0; j < t.size(); ++j) {
                t[j] ^= u[j];
            }
        }
        derived.append(reinterpret_cast<const char*>(t.data()), std::min(t.size(), length - derived.size()));
    }
    return derived;
}
