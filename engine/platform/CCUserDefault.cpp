#include "platform/CCUserDefault.h"

#include <cerrno>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include <pugixml.hpp>

#include "base/CCNumberParse.h"
#include "platform/CCFileUtils.h"

NS_CC_BEGIN

namespace {

const char* const kStoreFileName = "UserDefault.xml";
// Beside the store: "UserDefault.xml.tmp".
const char* const kTemporarySuffix = ".tmp";
const char* const kRootName = "userDefaultRoot";
const char* const kEntryName = "entry";

CCUserDefault* sharedInstance = nullptr;
std::string overridePath;
std::string resolvedPath;

// Keys are arbitrary text; whitespace inside values must come back unchanged.
const unsigned int kParseFlags = pugi::parse_default & ~pugi::parse_wconv_attribute & ~pugi::parse_eol;

bool fileExists(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
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

bool writeAll(int fd, const std::string& data) {
    size_t written = 0;
    while (written < data.size()) {
        ssize_t n = ::write(fd, data.data() + written, data.size() - written);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        written += static_cast<size_t>(n);
    }
    return true;
}

std::string folderOf(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Opens the store's one temporary file, created exclusively. A store has one writer (its player
// process) and flushes one at a time, so a temporary file found here is the leftover of a writer
// that was killed mid-flush: it is replaced. A fixed name means kills can never leave more than one.
int openTemporaryFile(const std::string& tempPath) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST)
            return fd;
        std::fprintf(stderr, "[CCUserDefault] replacing the stale %s\n", tempPath.c_str());
        if (::unlink(tempPath.c_str()) != 0)
            return -1;
    }
    return -1;
}

// The temporary file, synced, then renamed over the target, then the folder synced.
bool replaceFileAtomically(const std::string& path, const std::string& contents) {
    const std::string tempPath = path + kTemporarySuffix;
    int fd = openTemporaryFile(tempPath);
    if (fd < 0)
        return false;
    bool ok = writeAll(fd, contents) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok || std::rename(tempPath.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(tempPath.c_str());
        errno = error;
        return false;
    }
    int folder = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
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
        if (!fileExists(path))
            return;
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
    if (!overridePath.empty())
        resolvedPath = overridePath;
    else if (resolvedPath.empty())
        resolvedPath = CCFileUtils::sharedFileUtils()->getWritablePath() + kStoreFileName;
    return resolvedPath;
}

void CCUserDefault::setXMLFilePath(const std::string& path) {
    purgeSharedUserDefault();
    overridePath = path;
    resolvedPath.clear();
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
    if (!replaceFileAtomically(path, m_store->serialise())) {
        std::fprintf(stderr, "[CCUserDefault] could not write %s: %s\n", path.c_str(), std::strerror(errno));
        return false;
    }
    m_store->dirty = false;
    return true;
}

NS_CC_END
