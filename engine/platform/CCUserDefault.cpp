#include "platform/CCUserDefault.h"

#include <cerrno>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include <pugixml.hpp>

#include "base/CCNumberParse.h"
#include "platform/CCFileUtils.h"
#include "platform/CCStoreFile.h"

NS_CC_BEGIN

namespace {

const char* const kStoreFileName = "UserDefault.xml";
// A real store holds a few hundred short entries; anything this big is not one.
const long long kMaxStoreBytes = 16ll * 1024 * 1024;
const char* const kRootName = "userDefaultRoot";
const char* const kEntryName = "entry";

CCUserDefault* sharedInstance = nullptr;
std::string overridePath;
// Empty once resolved: there is no writable folder and the store lives in memory for the run.
std::string resolvedPath;
bool pathResolved = false;

// Keys are arbitrary text; whitespace inside values must come back unchanged.
const unsigned int kParseFlags = pugi::parse_default & ~pugi::parse_wconv_attribute & ~pugi::parse_eol;

bool fileExists(const std::string& path) {
    struct stat info;
    return !path.empty() && ::stat(path.c_str(), &info) == 0;
}

void logNotes(const std::string& notes) {
    size_t start = 0;
    while (start < notes.size()) {
        size_t end = notes.find('\n', start);
        if (end == std::string::npos)
            end = notes.size();
        std::fprintf(stderr, "[CCUserDefault] %s\n", notes.substr(start, end - start).c_str());
        start = end + 1;
    }
}

// Renames an unreadable store to the first free "<path>.corrupt[.N]"; never deletes it.
void moveAside(const std::string& path) {
    for (int attempt = 0; attempt < 1000; ++attempt) {
        std::string target = path + ".corrupt";
        if (attempt > 0)
            target += "." + std::to_string(attempt);
        if (fileExists(target))
            continue;
        if (std::rename(path.c_str(), target.c_str()) == 0)
            std::fprintf(stderr, "[CCUserDefault] unreadable store moved to %s\n", target.c_str());
        else
            std::fprintf(stderr, "[CCUserDefault] unreadable store %s could not be moved: %s\n", path.c_str(),
                         std::strerror(errno));
        return;
    }
    std::fprintf(stderr, "[CCUserDefault] unreadable store %s left in place\n", path.c_str());
}

template <typename Number> std::string numberText(Number value) {
    char buffer[64];
    std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

// Integer text with nothing but white space around it.
bool parseInteger(const std::string& text, int& out) {
    const char* p = text.c_str();
    const char* end = p + text.size();
    while (p < end && (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r'))
        ++p;
    if (p < end && *p == '+')
        ++p;
    long long value = 0;
    std::from_chars_result result = std::from_chars(p, end, value);
    if (result.ec != std::errc() || value < INT_MIN || value > INT_MAX)
        return false;
    out = static_cast<int>(value);
    return true;
}

} // namespace

struct CCUserDefault::Store {
    std::map<std::string, std::string> values;
    bool dirty = false;

    void load(const std::string& path) {
        struct stat info;
        if (path.empty() || ::stat(path.c_str(), &info) != 0)
            return;
        // A folder (or a pipe, a device) in the store's place is no store; the values start empty.
        if (!S_ISREG(info.st_mode)) {
            std::fprintf(stderr, "[CCUserDefault] %s is not a file: starting from an empty store\n",
                         path.c_str());
            return;
        }
        if (info.st_size > kMaxStoreBytes) {
            std::fprintf(stderr, "[CCUserDefault] %s is too large for a store (%lld bytes)\n", path.c_str(),
                         static_cast<long long>(info.st_size));
            moveAside(path);
            return;
        }
        pugi::xml_document document;
        pugi::xml_parse_result result = document.load_file(path.c_str(), kParseFlags);
        pugi::xml_node root = document.child(kRootName);
        if (!result || !root) {
            moveAside(path);
            return;
        }
        for (pugi::xml_node entry = root.child(kEntryName); entry; entry = entry.next_sibling(kEntryName)) {
            pugi::xml_attribute key = entry.attribute("key");
            if (key)
                values[key.value()] = entry.attribute("value").value();
        }
    }

    std::string serialise() const {
        pugi::xml_document document;
        pugi::xml_node declaration = document.append_child(pugi::node_declaration);
        declaration.append_attribute("version") = "1.0";
        declaration.append_attribute("encoding") = "utf-8";
        pugi::xml_node root = document.append_child(kRootName);
        for (const auto& item : values) {
            pugi::xml_node entry = root.append_child(kEntryName);
            entry.append_attribute("key") = item.first.c_str();
            entry.append_attribute("value") = item.second.c_str();
        }
        std::ostringstream out;
        document.save(out, "  ", pugi::format_default, pugi::encoding_utf8);
        return out.str();
    }

    const std::string* find(const char* key) const {
        if (!key)
            return nullptr;
        auto it = values.find(key);
        return it == values.end() ? nullptr : &it->second;
    }

    void set(const char* key, const std::string& value) {
        if (!key)
            return;
        values[key] = value;
        dirty = true;
    }
};

CCUserDefault* CCUserDefault::sharedUserDefault() {
    if (!sharedInstance)
        sharedInstance = new CCUserDefault();
    return sharedInstance;
}

void CCUserDefault::purgeSharedUserDefault() {
    if (sharedInstance && sharedInstance->m_store->dirty)
        sharedInstance->flush();
    delete sharedInstance;
    sharedInstance = nullptr;
}

const std::string& CCUserDefault::getXMLFilePath() {
    if (!overridePath.empty()) {
        resolvedPath = overridePath;
    } else if (!pathResolved) {
        // Never a bare file name: that would write into the working (the game's) folder.
        const std::string folder = CCFileUtils::sharedFileUtils()->getWritablePath();
        resolvedPath = folder.empty() ? std::string() : folder + kStoreFileName;
        if (folder.empty())
            std::fprintf(stderr,
                         "[CCUserDefault] no store folder: progress is kept in memory for this run\n");
    }
    pathResolved = true;
    return resolvedPath;
}

void CCUserDefault::setXMLFilePath(const std::string& path) {
    purgeSharedUserDefault();
    overridePath = path;
    resolvedPath.clear();
    pathResolved = false;
}

bool CCUserDefault::isXMLFileExist() {
    return fileExists(getXMLFilePath());
}

CCUserDefault::CCUserDefault() : m_store(new Store()) {
    m_store->load(getXMLFilePath());
}

CCUserDefault::~CCUserDefault() = default;

bool CCUserDefault::getBoolForKey(const char* pKey, bool defaultValue) {
    const std::string* value = m_store->find(pKey);
    if (!value)
        return defaultValue;
    if (*value == "true" || *value == "1")
        return true;
    if (*value == "false" || *value == "0")
        return false;
    return defaultValue;
}

int CCUserDefault::getIntegerForKey(const char* pKey, int defaultValue) {
    const std::string* value = m_store->find(pKey);
    int result = 0;
    if (!value || !parseInteger(*value, result))
        return defaultValue;
    return result;
}

float CCUserDefault::getFloatForKey(const char* pKey, float defaultValue) {
    const std::string* value = m_store->find(pKey);
    double result = 0;
    if (!value || !parseWholeDouble(value->c_str(), result) || std::fabs(result) > 3.4e38)
        return defaultValue;
    return static_cast<float>(result);
}

double CCUserDefault::getDoubleForKey(const char* pKey, double defaultValue) {
    const std::string* value = m_store->find(pKey);
    double result = 0;
    if (!value || !parseWholeDouble(value->c_str(), result))
        return defaultValue;
    return result;
}

std::string CCUserDefault::getStringForKey(const char* pKey, const std::string& defaultValue) {
    const std::string* value = m_store->find(pKey);
    return value ? *value : defaultValue;
}

void CCUserDefault::setBoolForKey(const char* pKey, bool value) {
    m_store->set(pKey, value ? "true" : "false");
}

void CCUserDefault::setIntegerForKey(const char* pKey, int value) {
    m_store->set(pKey, std::to_string(value));
}

void CCUserDefault::setFloatForKey(const char* pKey, float value) {
    m_store->set(pKey, numberText(value));
}

void CCUserDefault::setDoubleForKey(const char* pKey, double value) {
    m_store->set(pKey, numberText(value));
}

void CCUserDefault::setStringForKey(const char* pKey, const std::string& value) {
    m_store->set(pKey, value);
}

bool CCUserDefault::flush() {
    const std::string& path = getXMLFilePath();
    if (path.empty()) {
        std::fprintf(stderr, "[CCUserDefault] not saved: no store folder (kept in memory for this run)\n");
        return false;
    }
    const std::string text = m_store->serialise();
    // A store the next start would refuse (and move aside) is not written: the old one stays.
    if (text.size() > static_cast<size_t>(kMaxStoreBytes)) {
        std::fprintf(
            stderr,
            "[CCUserDefault] not saved (kept in memory for this run): the store has grown to %zu bytes\n",
            text.size());
        return false;
    }
    std::string error;
    std::string notes;
    const bool written = replaceFileAtomically(path, text, error, notes);
    logNotes(notes);
    if (!written) {
        std::fprintf(stderr, "[CCUserDefault] not saved (kept in memory for this run): %s\n", error.c_str());
        return false;
    }
    m_store->dirty = false;
    return true;
}

NS_CC_END
