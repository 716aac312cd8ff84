#include "model/archive/KXKeyFile.h"

#include "model/KXSecrets.h"

#include <random>
#include <stdexcept>
#include <zlib.h>

KXKeyMask buildKeyMask(const std::string& userId) {
    uLong crc = crc32(0L, Z_NULL, 0);
    crc = crc32(crc, reinterpret_cast<const Bytef*>(userId.data()), static_cast<uInt>(userId.size()));
    std::mt19937 generator(static_cast<std::uint32_t>(crc));
    KXKeyMask mask;
    for (std::size_t word = 0; word < mask.size() / 4; ++word) {
        std::uint32_t value = generator();
        for (std::size_t b = 0; b < 4; ++b) {
            std::size_t i = word * 4 + b;
            mask[i] = static_cast<unsigned char>(kKeyFileMaskTable[i] ^ ((value >> (8 * b)) & 0xff));
        }
    }
    return mask;
}

void applyKeyMask(unsigned char* bytes, std::size_t length, const KXKeyMask& mask) {
    for (std::size_t i = 0; i < length; ++i) {
        bytes[i] ^= mask[i % mask.size()];
    }
}

KXMessagePackMap::KeyTable parseKeyList(const unsigned char* bytes, std::uint32_t length,
                                        const std::string& userId) {
    KXMessagePackMap::KeyTable table;
    if (bytes == nullptr || length == 0) {
        return table;
    }
    if (length > kMaxKeyFileSize) {
        throw std::runtime_error("the key file is too large");
    }
    const KXKeyMask mask = buildKeyMask(userId);
    std::int32_t nextId = 0;
    std::string line;
    auto finishLine = [&]() {
        if (!line.empty()) {
            if (nextId >= kMaxKeyLines) {
                throw std::runtime_error("the key file has too many names");
            }
            table.emplace(line, nextId); // a repeated name keeps its first id
            ++nextId;
            line.clear();
        }
    };
    // Unscrambled on the fly: no copy of the whole file.
    for (std::uint32_t i = 0; i < length; ++i) {
        char c = static_cast<char>(bytes[i] ^ mask[i % mask.size()]);
        if (c == '\n') {
            finishLine();
        } else if (line.size() < kMaxKeyNameLength) {
            line += c;
        } else {
            throw std::runtime_error("a key name is too long");
        }
    }
    finishLine();
    return table;
}

void requireGameKeys(const KXMessagePackMap::KeyTable& table) {
    for (const char* name : {"id", "Class Name", "value", "User ID"}) {
        if (table.count(name) == 0) {
            throw std::runtime_error(std::string("the key table lacks \"") + name + "\"");
        }
    }
}

std::string scrambleKeyList(const std::vector<std::string>& names, const std::string& userId) {
    std::string text;
    for (const std::string& name : names) {
        text += name;
        text += '\n';
    }
    applyKeyMask(reinterpret_cast<unsigned char*>(&text[0]), text.size(), buildKeyMask(userId));
    return text;
}
