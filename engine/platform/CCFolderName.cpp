#include "platform/CCFolderName.h"

#include <cstdint>
#include <cstdio>

NS_CC_BEGIN

namespace {

// Long enough to recognise the game in a listing, far below the limit.
const size_t kPrefixBytes = 48;

bool unsafeCharacter(unsigned char c) {
    return c == '/' || c == '\\' || c < 0x20 || c == 0x7f;
}

bool isSafe(const std::string& name) {
    if (name.empty() || name == "." || name == ".." || name.size() > kMaxFolderNameBytes)
        return false;
    for (char c : name) {
        if (unsafeCharacter(static_cast<unsigned char>(c)))
            return false;
    }
    return true;
}

// FNV-1a: stable across builds and machines, which the folder name must be.
uint64_t nameHash(const std::string& name) {
    uint64_t hash = 0xcbf29ce484222325ull;
    for (char c : name) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ull;
    }
    return hash;
}

// At most kPrefixBytes, cut before a UTF-8 continuation byte so no character is split.
std::string cleanedPrefix(const std::string& name) {
    size_t length = name.size();
    if (length > kPrefixBytes) {
        length = kPrefixBytes;
        while (length > 0 && (static_cast<unsigned char>(name[length]) & 0xc0) == 0x80)
            --length;
    }
    std::string prefix;
    for (size_t i = 0; i < length; ++i) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        prefix += unsafeCharacter(c) ? '_' : name[i];
    }
    // A leading dot would hide the folder (and "." or ".." would not be a name at all).
    for (char& c : prefix) {
        if (c != '.')
            break;
        c = '_';
    }
    return prefix.empty() ? "game" : prefix;
}

} // namespace

std::string safeFolderName(const std::string& name) {
    if (isSafe(name))
        return name;
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(nameHash(name)));
    return cleanedPrefix(name) + "-" + hash;
}

NS_CC_END
