#include "base/base64.h"

#include <vector>

NS_CC_BEGIN

namespace {

// Value of a base64 character, -1 when it is not in the alphabet.
int sextetOf(unsigned char c) {
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+')
        return 62;
    if (c == '/')
        return 63;
    return -1;
}

bool isWhiteSpace(unsigned char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

} // namespace

int base64Decode(const unsigned char* in, unsigned int inLength, unsigned char** out) {
    if (!out)
        return 0;
    *out = nullptr;
    if (!in)
        return 0;

    std::vector<unsigned char> decoded;
    decoded.reserve(inLength / 4 * 3 + 3);
    unsigned int bits = 0;
    int bitCount = 0;
    int charsInGroup = 0;
    for (unsigned int i = 0; i < inLength; ++i) {
        unsigned char c = in[i];
        if (c == '=')
            break;
        if (isWhiteSpace(c))
            continue;
        int sextet = sextetOf(c);
        if (sextet < 0)
            return 0;
        bits = (bits << 6) | static_cast<unsigned int>(sextet);
        bitCount += 6;
        charsInGroup = (charsInGroup + 1) % 4;
        if (bitCount >= 8) {
            bitCount -= 8;
            decoded.push_back(static_cast<unsigned char>((bits >> bitCount) & 0xFF));
        }
    }
    // One character alone cannot carry a byte: the text was cut.
    if (charsInGroup == 1 || decoded.empty())
        return 0;

    unsigned char* buffer = new unsigned char[decoded.size()];
    for (size_t i = 0; i < decoded.size(); ++i)
        buffer[i] = decoded[i];
    *out = buffer;
    return static_cast<int>(decoded.size());
}

NS_CC_END
