// AngelCode BMFont text descriptions (.fnt): glyph rectangles, offsets, advances, pages and
// kerning. Parsed configurations are cached per resolved path.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "base/CCGeometry.h"
#include "base/CCObject.h"

namespace cocos2d {

struct CCBMFontGlyph {
    CCRect rect; // in the page texture, y down from the top
    int xOffset = 0;
    int yOffset = 0;
    int xAdvance = 0;
    int page = 0;
};

struct CCBMFontData {
    int lineHeight = 0;
    int base = 0;
    int scaleW = 0;
    int scaleH = 0;
    std::map<int, std::string> pages; // page id -> file name as written
    std::map<unsigned int, CCBMFontGlyph> glyphs;
    std::map<unsigned long long, int> kernings; // (first << 32 | second) -> amount

    int kerningAmount(unsigned int first, unsigned int second) const;
};

// Parses the text format. Unknown lines and keys are ignored; malformed numbers read as 0;
// absurd ids, page numbers and sizes are dropped. False without a "common" line or a page.
bool ccParseBMFont(const std::string& text, CCBMFontData* out);

class CCBMFontConfiguration : public CCObject {
public:
    static CCBMFontConfiguration* create(const char* fntFile);
    bool initWithFNTfile(const char* fntFile);

    const CCBMFontData& data() const { return m_data; }
    // Page file paths resolved against the .fnt's folder, by page id.
    const std::map<int, std::string>& pagePaths() const { return m_pagePaths; }
    const std::string& fntPath() const { return m_fntPath; }
    int getCommonHeight() const { return m_data.lineHeight; }

private:
    CCBMFontData m_data;
    std::map<int, std::string> m_pagePaths;
    std::string m_fntPath;
};

// Cached parse of fntFile (null when unreadable or malformed).
CCBMFontConfiguration* FNTConfigLoadFile(const char* fntFile);
void FNTConfigRemoveCache();

} // namespace cocos2d
