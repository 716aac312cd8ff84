// Cutting UTF-8 text to a byte budget without splitting a character.
#pragma once

#include <cstddef>
#include <string>

namespace kxattr {

// The longest prefix of `text` that is at most `maxBytes` long and does not end inside a
// multi-byte character. Bytes that are not valid UTF-8 are cut where the budget ends.
inline size_t utf8PrefixLength(const std::string& text, size_t maxBytes) {
    if (text.size() <= maxBytes) {
        return text.size();
    }
    // A continuation byte (10xxxxxx) just past the cut means a character straddles it;
    // a character has at most three continuation bytes.
    size_t cut = maxBytes;
    for (int back = 0; back < 4 && cut > 0; ++back) {
        if ((static_cast<unsigned char>(text[cut]) & 0xC0) != 0x80) {
            return cut;
        }
        --cut;
    }
    if ((static_cast<unsigned char>(text[cut]) & 0xC0) != 0x80) {
        return cut;
    }
    return maxBytes;
}

} // namespace kxattr
