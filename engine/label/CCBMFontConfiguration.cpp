#include "label/CCBMFontConfiguration.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>
#include <vector>

#include "platform/CCFileUtils.h"

namespace cocos2d {

namespace {

constexpr int kMaxPages = 256;
constexpr int kMaxCoordinate = 65536;
constexpr unsigned int kMaxCodePoint = 0x10FFFF;

// "key=value" pairs of one line; values may be quoted and then contain spaces.
std::map<std::string, std::string> splitPairs(const std::string& line, std::string* tag) {
    std::map<std::string, std::string> pairs;
    size_t i = 0;
    const size_t n = line.size();
    auto skipSpaces = [&] {
        while (i < n && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r'))
            ++i;
    };
    skipSpaces();
    size_t start = i;
    while (i < n && line[i] != ' ' && line[i] != '\t' && line[i] != '\r')
        ++i;
    *tag = line.substr(start, i - start);
    while (i < n) {
        skipSpaces();
        start = i;
        while (i < n && line[i] != '=' && line[i] != ' ' && line[i] != '\t' && line[i] != '\r')
            ++i;
        std::string key = line.substr(start, i - start);
        std::string value;
        if (i < n && line[i] == '=') {
            ++i;
            if (i < n && line[i] == '"') {
                const size_t close = line.find('"', i + 1);
                const size_t end = close == std::string::npos ? n : close;
                value = line.substr(i + 1, end - i - 1);
                i = end == n ? n : end + 1;
            } else {
                start = i;
                while (i < n && line[i] != ' ' && line[i] != '\t' && line[i] != '\r')
                    ++i;
                value = line.substr(start, i - start);
            }
        }
        if (!key.empty())
            pairs[key] = value;
    }
    return pairs;
}

// The value of key, 0 when missing; malformed or out-of-range values also read as 0 and set
// *bad (when given), so that callers can drop entries whose identity is unreadable.
long numberOf(const std::map<std::string, std::string>& pairs, const char* key, bool* bad = nullptr,
              long limit = kMaxCoordinate) {
    auto it = pairs.find(key);
    if (it == pairs.end())
        return 0;
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(it->second.c_str(), &end, 10);
    if (end == it->second.c_str() || errno == ERANGE || value < -limit || value > limit) {
        if (bad)
            *bad = true;
        return 0;
    }
    return value;
}

// Never destroyed: a map torn down among the static destructors would drop the configurations
// it holds unreleased. FNTConfigRemoveCache releases them (the director's purge, the player's exit).
std::map<std::string, CCBMFontConfiguration*>& configurationCache() {
    static auto* cache = new std::map<std::string, CCBMFontConfiguration*>();
    return *cache;
}

} // namespace

int CCBMFontData::kerningAmount(unsigned int first, unsigned int second) const {
    auto it = kernings.find((static_cast<unsigned long long>(first) << 32) | second);
    return it == kernings.end() ? 0 : it->second;
}

bool ccParseBMFont(const std::string& text, CCBMFontData* out) {
    *out = CCBMFontData();
    bool haveCommon = false;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::string tag;
        const auto pairs = splitPairs(line, &tag);
        if (tag == "common") {
            haveCommon = true;
            out->lineHeight = static_cast<int>(numberOf(pairs, "lineHeight"));
            out->base = static_cast<int>(numberOf(pairs, "base"));
            out->scaleW = static_cast<int>(numberOf(pairs, "scaleW"));
            out->scaleH = static_cast<int>(numberOf(pairs, "scaleH"));
        } else if (tag == "page") {
            bool bad = false;
            const long id = numberOf(pairs, "id", &bad);
            auto file = pairs.find("file");
            if (!bad && id >= 0 && id < kMaxPages && file != pairs.end() && !file->second.empty())
                out->pages[static_cast<int>(id)] = file->second;
        } else if (tag == "char") {
            bool bad = false;
            const long id = numberOf(pairs, "id", &bad, static_cast<long>(kMaxCodePoint));
            const long page = numberOf(pairs, "page", &bad);
            const long width = numberOf(pairs, "width", &bad);
            const long height = numberOf(pairs, "height", &bad);
            if (bad || !pairs.count("id") || id < 0 || page < 0 || page >= kMaxPages || width < 0 ||
                height < 0)
                continue;
            CCBMFontGlyph glyph;
            glyph.rect =
                CCRect(static_cast<float>(numberOf(pairs, "x")), static_cast<float>(numberOf(pairs, "y")),
                       static_cast<float>(width), static_cast<float>(height));
            glyph.xOffset = static_cast<int>(numberOf(pairs, "xoffset"));
            glyph.yOffset = static_cast<int>(numberOf(pairs, "yoffset"));
            glyph.xAdvance = static_cast<int>(numberOf(pairs, "xadvance"));
            glyph.page = static_cast<int>(page);
            out->glyphs[static_cast<unsigned int>(id)] = glyph;
        } else if (tag == "kerning") {
            bool bad = false;
            const long first = numberOf(pairs, "first", &bad, static_cast<long>(kMaxCodePoint));
            const long second = numberOf(pairs, "second", &bad, static_cast<long>(kMaxCodePoint));
            if (bad || first < 0 || second < 0)
                continue;
            out->kernings[(static_cast<unsigned long long>(first) << 32) |
                          static_cast<unsigned long long>(second)] =
                static_cast<int>(numberOf(pairs, "amount"));
        }
    }
    return haveCommon && !out->pages.empty();
}

CCBMFontConfiguration* CCBMFontConfiguration::create(const char* fntFile) {
    CCBMFontConfiguration* config = new CCBMFontConfiguration();
    if (config->initWithFNTfile(fntFile)) {
        config->autorelease();
        return config;
    }
    delete config;
    return nullptr;
}

bool CCBMFontConfiguration::initWithFNTfile(const char* fntFile) {
    if (!fntFile || !*fntFile)
        return false;
    m_fntPath = CCFileUtils::sharedFileUtils()->fullPathForFilename(fntFile);
    std::vector<unsigned char> bytes;
    if (!CCFileUtils::sharedFileUtils()->readFile(m_fntPath, bytes) || bytes.empty())
        return false;
    if (!ccParseBMFont(std::string(bytes.begin(), bytes.end()), &m_data))
        return false;
    m_pagePaths.clear();
    for (const auto& page : m_data.pages) {
        // A page the font names outside the game is not read: the font is unusable.
        const std::string path = CCFileUtils::sharedFileUtils()->resolveNamedFile(m_fntPath, page.second);
        if (path.empty())
            return false;
        m_pagePaths[page.first] = path;
    }
    return true;
}

CCBMFontConfiguration* FNTConfigLoadFile(const char* fntFile) {
    if (!fntFile || !*fntFile)
        return nullptr;
    const std::string key = CCFileUtils::sharedFileUtils()->fullPathForFilename(fntFile);
    auto& cache = configurationCache();
    auto it = cache.find(key);
    if (it != cache.end())
        return it->second;
    CCBMFontConfiguration* config = new CCBMFontConfiguration();
    if (!config->initWithFNTfile(key.c_str())) {
        delete config;
        return nullptr;
    }
    cache[key] = config;
    return config;
}

void FNTConfigRemoveCache() {
    for (auto& entry : configurationCache())
        entry.second->release();
    configurationCache().clear();
}

} // namespace cocos2d
