#include "base/CCNumberParse.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <locale.h>
#include <vector>

NS_CC_BEGIN

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

const char* skipSpace(const char* p, const char* end) {
    while (p < end && isSpace(*p))
        ++p;
    return p;
}

// Reads one finite number at p (an optional '+' is accepted); advances p past it.
bool readNumber(const char*& p, const char* end, double& value) {
    const char* start = p;
    if (start < end && *start == '+') {
        ++start;
        if (start < end && *start == '-')
            return false;
    }
    double parsed = 0;
    std::from_chars_result result = std::from_chars(start, end, parsed, std::chars_format::general);
    if (result.ec != std::errc() || !std::isfinite(parsed))
        return false;
    value = parsed;
    p = result.ptr;
    return true;
}

bool expect(const char*& p, const char* end, char c) {
    p = skipSpace(p, end);
    if (p >= end || *p != c)
        return false;
    ++p;
    return true;
}

bool readFloatList(const char*& p, const char* end, float* out, int count) {
    if (!expect(p, end, '{'))
        return false;
    for (int i = 0; i < count; ++i) {
        if (i > 0 && !expect(p, end, ','))
            return false;
        p = skipSpace(p, end);
        double value = 0;
        if (!readNumber(p, end, value) || std::fabs(value) > 3.4e38)
            return false;
        out[i] = static_cast<float>(value);
    }
    return expect(p, end, '}');
}

locale_t cLocale() {
    static locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return locale;
}

} // namespace

long long parseLeadingInteger(const char* text) {
    if (!text)
        return 0;
    const char* p = text;
    while (isSpace(*p))
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    long long value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        int digit = *p - '0';
        if (value > (LLONG_MAX - digit) / 10) {
            return negative ? LLONG_MIN : LLONG_MAX;
        }
        value = value * 10 + digit;
    }
    return negative ? -value : value;
}

double parseLeadingDouble(const char* text) {
    if (!text)
        return 0;
    const char* end = text + std::strlen(text);
    const char* p = skipSpace(text, end);
    double value = 0;
    if (!readNumber(p, end, value))
        return 0;
    return value;
}

bool parseWholeDouble(const char* text, double& out) {
    if (!text)
        return false;
    const char* end = text + std::strlen(text);
    const char* p = skipSpace(text, end);
    double value = 0;
    if (!readNumber(p, end, value) || skipSpace(p, end) != end)
        return false;
    out = value;
    return true;
}

bool parseBracedFloats(const char* text, float* out, int count) {
    if (!text)
        return false;
    const char* end = text + std::strlen(text);
    const char* p = text;
    if (!readFloatList(p, end, out, count))
        return false;
    return skipSpace(p, end) == end;
}

bool parseBracedRect(const char* text, float out[4]) {
    if (!text)
        return false;
    const char* end = text + std::strlen(text);
    const char* p = text;
    if (!expect(p, end, '{') || !readFloatList(p, end, out, 2) || !expect(p, end, ',') ||
        !readFloatList(p, end, out + 2, 2) || !expect(p, end, '}'))
        return false;
    return skipSpace(p, end) == end;
}

std::string formatWithCLocale(const char* format, va_list args) {
    if (!format)
        return std::string();
    locale_t previous = static_cast<locale_t>(0);
    locale_t c = cLocale();
    if (c)
        previous = uselocale(c);
    va_list copy;
    va_copy(copy, args);
    char small[256];
    int needed = std::vsnprintf(small, sizeof small, format, copy);
    va_end(copy);
    std::string result;
    if (needed >= 0 && static_cast<size_t>(needed) < sizeof small) {
        result.assign(small, static_cast<size_t>(needed));
    } else if (needed >= 0) {
        std::vector<char> big(static_cast<size_t>(needed) + 1);
        std::vsnprintf(big.data(), big.size(), format, args);
        result.assign(big.data(), static_cast<size_t>(needed));
    }
    if (c)
        uselocale(previous);
    return result;
}

NS_CC_END
