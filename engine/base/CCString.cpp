#include "base/CCString.h"

#include <climits>
#include <cstdarg>

#include "base/CCNumberParse.h"
#include "platform/CCFileUtils.h"

NS_CC_BEGIN

int CCString::intValue() const {
    long long value = parseLeadingInteger(m_sString.c_str());
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

unsigned int CCString::uintValue() const {
    long long value = parseLeadingInteger(m_sString.c_str());
    if (value < 0)
        return 0;
    if (value > static_cast<long long>(UINT_MAX))
        return UINT_MAX;
    return static_cast<unsigned int>(value);
}

float CCString::floatValue() const {
    double value = parseLeadingDouble(m_sString.c_str());
    if (value > 3.4e38 || value < -3.4e38)
        return 0.f;
    return static_cast<float>(value);
}

double CCString::doubleValue() const {
    return parseLeadingDouble(m_sString.c_str());
}

bool CCString::boolValue() const {
    return !(m_sString.empty() || m_sString == "0" || m_sString == "false");
}

CCPoint CCString::pointValue() const {
    return CCPointFromString(m_sString.c_str());
}

bool CCString::isEqual(const CCObject* object) const {
    const CCString* other = dynamic_cast<const CCString*>(object);
    return other && other->m_sString == m_sString;
}

CCString* CCString::create(const std::string& str) {
    CCString* result = new CCString(str);
    result->autorelease();
    return result;
}

CCString* CCString::createWithFormat(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string text = formatWithCLocale(format, args);
    va_end(args);
    return create(text);
}

CCString* CCString::createWithData(const unsigned char* data, unsigned long length) {
    if (!data)
        return create(std::string());
    return create(std::string(reinterpret_cast<const char*>(data), length));
}

CCString* CCString::createWithContentsOfFile(const char* path) {
    std::vector<unsigned char> bytes;
    if (!path || !CCFileUtils::sharedFileUtils()->readFile(path, bytes))
        return nullptr;
    return createWithData(bytes.data(), bytes.size());
}

std::string stringWithFormatC(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string text = formatWithCLocale(format, args);
    va_end(args);
    return text;
}

NS_CC_END
