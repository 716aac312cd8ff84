#include "sprites/CCPlistTree.h"

#include <pugixml.hpp>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <sstream>

namespace cocos2d {

namespace {

constexpr int kMaxDepth = 64;

bool convert(const pugi::xml_node& node, CCPlistValue* out, int depth) {
    if (depth > kMaxDepth)
        return false;
    const char* name = node.name();
    if (std::strcmp(name, "dict") == 0) {
        out->type = CCPlistValue::kDict;
        std::string pendingKey;
        bool haveKey = false;
        for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
            if (child.type() != pugi::node_element)
                continue;
            if (std::strcmp(child.name(), "key") == 0) {
                pendingKey = child.child_value();
                haveKey = true;
                continue;
            }
            if (!haveKey)
                continue; // a value without a key is ignored
            CCPlistValue value;
            if (!convert(child, &value, depth + 1))
                return false;
            out->dict.emplace_back(pendingKey, std::move(value));
            haveKey = false;
        }
        return true;
    }
    if (std::strcmp(name, "array") == 0) {
        out->type = CCPlistValue::kArray;
        for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
            if (child.type() != pugi::node_element)
                continue;
            CCPlistValue value;
            if (!convert(child, &value, depth + 1))
                return false;
            out->array.push_back(std::move(value));
        }
        return true;
    }
    if (std::strcmp(name, "true") == 0 || std::strcmp(name, "false") == 0) {
        out->type = CCPlistValue::kBool;
        out->text = name;
        return true;
    }
    if (std::strcmp(name, "string") == 0)
        out->type = CCPlistValue::kString;
    else if (std::strcmp(name, "integer") == 0)
        out->type = CCPlistValue::kInteger;
    else if (std::strcmp(name, "real") == 0)
        out->type = CCPlistValue::kReal;
    else if (std::strcmp(name, "data") == 0)
        out->type = CCPlistValue::kData;
    else if (std::strcmp(name, "date") == 0)
        out->type = CCPlistValue::kDate;
    else
        out->type = CCPlistValue::kNone;
    out->text = node.child_value();
    return true;
}

// strtod follows the global locale, which OIS changes; plists always use '.'.
double parseNumber(const std::string& text, bool* ok) {
    std::istringstream in(text);
    in.imbue(std::locale::classic());
    double value = 0;
    in >> value;
    *ok = !in.fail();
    return value;
}

} // namespace

const CCPlistValue* CCPlistValue::find(const std::string& key) const {
    if (type != kDict)
        return nullptr;
    for (const auto& entry : dict)
        if (entry.first == key)
            return &entry.second;
    return nullptr;
}

std::string CCPlistValue::asString(const std::string& fallback) const {
    switch (type) {
    case kString:
    case kInteger:
    case kReal:
    case kBool:
    case kDate:
    case kData:
        return text;
    default:
        return fallback;
    }
}

int CCPlistValue::asInt(int fallback) const {
    if (type == kBool)
        return text == "true" ? 1 : 0;
    if (type != kString && type != kInteger && type != kReal)
        return fallback;
    bool ok = false;
    const double value = parseNumber(text, &ok);
    if (!ok || !(value > -2147483648.0 && value < 2147483648.0))
        return fallback;
    return static_cast<int>(value);
}

float CCPlistValue::asFloat(float fallback) const {
    if (type == kBool)
        return text == "true" ? 1.f : 0.f;
    if (type != kString && type != kInteger && type != kReal)
        return fallback;
    bool ok = false;
    const double value = parseNumber(text, &ok);
    if (!ok || !(value > -3.0e38 && value < 3.0e38))
        return fallback;
    return static_cast<float>(value);
}

bool CCPlistValue::asBool(bool fallback) const {
    if (type == kBool)
        return text == "true";
    if (type == kInteger || type == kReal || type == kString) {
        if (text == "true" || text == "YES")
            return true;
        bool ok = false;
        const double value = parseNumber(text, &ok);
        return ok ? value != 0 : fallback;
    }
    return fallback;
}

bool ccParsePlist(const char* data, size_t size, CCPlistValue* root) {
    *root = CCPlistValue();
    if (!data || size == 0)
        return false;
    pugi::xml_document document;
    if (!document.load_buffer(data, size))
        return false;
    pugi::xml_node plist = document.child("plist");
    pugi::xml_node top = plist ? plist.first_child() : document.first_child();
    while (top && top.type() != pugi::node_element)
        top = top.next_sibling();
    if (!top)
        return false;
    if (!convert(top, root, 0)) {
        *root = CCPlistValue();
        return false;
    }
    return true;
}

} // namespace cocos2d
