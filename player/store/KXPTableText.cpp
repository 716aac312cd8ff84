#include "player/store/KXPTableText.h"

#include <locale>

namespace kx {

namespace {

constexpr char kEscape = '%';

bool needsEscape(char c) {
    return c == ';' || c == ':' || c == kEscape;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

} // namespace

std::vector<std::string> splitTableItems(const std::string& text) {
    std::vector<std::string> items;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(';', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        if (end > start) {
            items.push_back(text.substr(start, end - start));
        }
        start = end + 1;
    }
    return items;
}

TableItem splitTableItem(const std::string& item) {
    TableItem result;
    const size_t colon = item.find(':');
    if (colon == std::string::npos) {
        result.name = unescapeTableName(item);
        return result;
    }
    result.name = unescapeTableName(item.substr(0, colon));
    const size_t next = item.find(':', colon + 1);
    result.values = item.substr(colon + 1, next == std::string::npos ? std::string::npos : next - colon - 1);
    return result;
}

std::string escapeTableName(const std::string& name) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(name.size());
    for (char c : name) {
        if (needsEscape(c)) {
            const unsigned char u = static_cast<unsigned char>(c);
            out += kEscape;
            out += kDigits[u >> 4];
            out += kDigits[u & 0x0F];
        } else {
            out += c;
        }
    }
    return out;
}

std::string unescapeTableName(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == kEscape && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 &&
            hexValue(text[i + 2]) >= 0) {
            out += static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

void prepareTableStream(std::ios& stream) {
    stream.imbue(std::locale::classic());
    stream.precision(8);
}

} // namespace kx
