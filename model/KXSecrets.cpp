#include "model/KXSecrets.h"

#include "base/base64.h"

#include <cstring>

const std::array<unsigned char, 64> kKeyFileMaskTable = {
    0x0c, 0xc3, 0x74, 0x8d, 0xe7, 0x96, 0x2f, 0xcf, //
    0x3c, 0xae, 0xe4, 0xf3, 0x6e, 0x1e, 0x98, 0x15, //
    0x41, 0x39, 0x27, 0xe6, 0x18, 0x09, 0x68, 0xb1, //
    0xa2, 0x2c, 0xd1, 0x5e, 0x44, 0xff, 0xdc, 0x5d, //
    0x92, 0xf3, 0xf7, 0x95, 0xe8, 0x41, 0x53, 0x4f, //
    0x78, 0x29, 0x58, 0x19, 0x42, 0xb3, 0xe4, 0x7b, //
    0x15, 0x10, 0x4e, 0x22, 0x6e, 0x03, 0x7c, 0xe2, //
    0xd4, 0x6c, 0x11, 0x93, 0x7b, 0x6e, 0xb2, 0x49,
};

const std::array<unsigned char, 8> kArchivePasswordTable = {0xc8, 0xe2, 0x23, 0x58, 0x09, 0x82, 0x2b, 0xd5};

const char* const kStoredArchivePassword = "v49lNU/Qbq+fo3oVesBTkqPPDTBlt3+M";

namespace {

void applyPasswordTable(std::string& bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>(static_cast<unsigned char>(bytes[i]) ^ kArchivePasswordTable[i % 8]);
    }
}

std::string base64Encode(const std::string& bytes) {
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    std::size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        unsigned long group = (static_cast<unsigned char>(bytes[i]) << 16) |
                              (static_cast<unsigned char>(bytes[i + 1]) << 8) |
                              static_cast<unsigned char>(bytes[i + 2]);
        for (int shift = 18; shift >= 0; shift -= 6) {
            text += alphabet[(group >> shift) & 0x3f];
        }
    }
    std::size_t rest = bytes.size() - i;
    if (rest > 0) {
        unsigned long group = static_cast<unsigned long>(static_cast<unsigned char>(bytes[i])) << 16;
        if (rest == 2) {
            group |= static_cast<unsigned long>(static_cast<unsigned char>(bytes[i + 1])) << 8;
        }
        text += alphabet[(group >> 18) & 0x3f];
        text += alphabet[(group >> 12) & 0x3f];
        text += rest == 2 ? alphabet[(group >> 6) & 0x3f] : '=';
        text += '=';
    }
    return text;
}

} // namespace

std::string decodePassword(const char* storedText) {
    if (storedText == nullptr) {
        return std::string();
    }
    unsigned char* decoded = nullptr;
    int length = cocos2d::base64Decode(reinterpret_cast<const unsigned char*>(storedText),
                                       static_cast<unsigned int>(std::strlen(storedText)), &decoded);
    std::string password;
    if (decoded != nullptr && length > 0) {
        password.assign(reinterpret_cast<const char*>(decoded), static_cast<std::size_t>(length));
    }
    delete[] decoded;
    applyPasswordTable(password);
    return password;
}

std::string encodePassword(const std::string& password) {
    std::string scrambled = password;
    applyPasswordTable(scrambled);
    return base64Encode(scrambled);
}
