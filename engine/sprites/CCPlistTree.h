// A small reader of Apple XML property lists into a value tree (sprite-frame atlases).
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace cocos2d {

struct CCPlistValue {
    enum Type { kNone, kString, kInteger, kReal, kBool, kDict, kArray, kData, kDate };

    Type type = kNone;
    std::string text; // the element's text for scalars ("true"/"false" for booleans)
    std::vector<std::pair<std::string, CCPlistValue>> dict;
    std::vector<CCPlistValue> array;

    // Entry of a dictionary, or null (also when this is no dictionary).
    const CCPlistValue* find(const std::string& key) const;
    bool isDict() const { return type == kDict; }
    // Scalars convert leniently (C locale); other types give the fallback.
    std::string asString(const std::string& fallback = std::string()) const;
    int asInt(int fallback = 0) const;
    float asFloat(float fallback = 0.f) const;
    bool asBool(bool fallback = false) const;
};

// Parses the text of an XML plist. False on malformed XML, a missing root value or
// nesting deeper than a sane limit; root is cleared then.
bool ccParsePlist(const char* data, size_t size, CCPlistValue* root);

} // namespace cocos2d
