// Immutable-by-convention text object with number conversions.
#pragma once

#include <string>

#include "base/CCGeometry.h"
#include "base/CCObject.h"

NS_CC_BEGIN

class CCString : public CCObject {
public:
    CCString() = default;
    explicit CCString(const char* str) : m_sString(str ? str : "") {}
    explicit CCString(const std::string& str) : m_sString(str) {}

    CCString(const CCString& other) : CCObject(), m_sString(other.m_sString) {}
    CCString& operator=(const CCString& other) {
        m_sString = other.m_sString;
        return *this;
    }

    // Leading integer of the text (after white space); 0 when there is none, clamped on overflow.
    int intValue() const;
    unsigned int uintValue() const;
    float floatValue() const;
    double doubleValue() const;
    // False for "", "0" and "false"; true otherwise.
    bool boolValue() const;
    // "{x,y}"; malformed text gives zero.
    CCPoint pointValue() const;

    const char* getCString() const { return m_sString.c_str(); }
    const std::string& getString() const { return m_sString; }
    unsigned int length() const { return static_cast<unsigned int>(m_sString.size()); }
    int compare(const char* other) const { return m_sString.compare(other ? other : ""); }
    bool isEqual(const CCObject* object) const override;

    // Autoreleased instances.
    static CCString* create(const std::string& str);
    // printf-style; numbers are written in the C locale.
    static CCString* createWithFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));
    static CCString* createWithData(const unsigned char* data, unsigned long length);
    static CCString* createWithContentsOfFile(const char* path);

    std::string m_sString;
};

// Formats printf-style text in the C locale whatever the process locale is.
std::string stringWithFormatC(const char* format, ...) __attribute__((format(printf, 1, 2)));

#define CCStringMake(str) cocos2d::CCString::create(str)

NS_CC_END
