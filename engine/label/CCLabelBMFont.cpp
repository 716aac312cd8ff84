#include <GL/glew.h>

#include "label/CCLabelBMFont.h"

#include <algorithm>
#include <cmath>

#include "label/CCBMFontConfiguration.h"
#include "renderer/CCGLProgram.h"
#include "renderer/CCQuadRenderer.h"
#include "renderer/CCShaderCache.h"
#include "textures/CCTexture2D.h"
#include "textures/CCTextureCache.h"

NS_CC_BEGIN

namespace {

// Longer texts are cut: a label never needs more glyphs, and memory stays bounded.
constexpr size_t kMaxCharacters = 100000;

// UTF-8 to code points; malformed bytes are skipped.
std::vector<unsigned int> decodeUtf8(const std::string& text) {
    std::vector<unsigned int> out;
    const size_t n = text.size();
    size_t i = 0;
    while (i < n && out.size() < kMaxCharacters) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        int extra = 0;
        unsigned int cp = 0;
        if (c < 0x80) {
            cp = c;
        } else if ((c & 0xE0) == 0xC0) {
            extra = 1;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3;
            cp = c & 0x07;
        } else {
            ++i;
            continue;
        }
        bool valid = true;
        for (int k = 1; k <= extra; ++k) {
            if (i + static_cast<size_t>(k) >= n ||
                (static_cast<unsigned char>(text[i + static_cast<size_t>(k)]) & 0xC0) != 0x80) {
                valid = false;
                break;
            }
            cp = (cp << 6) | (static_cast<unsigned char>(text[i + static_cast<size_t>(k)]) & 0x3F);
        }
        if (!valid) {
            ++i;
            continue;
        }
        i += static_cast<size_t>(extra) + 1;
        out.push_back(cp);
    }
    return out;
}

} // namespace

CCLabelBMFont* CCLabelBMFont::create() {
    CCLabelBMFont* label = new CCLabelBMFont();
    if (label->init()) {
        label->autorelease();
        return label;
    }
    delete label;
    return nullptr;
}

CCLabelBMFont* CCLabelBMFont::create(const char* str, const char* fntFile, float width,
                                     CCTextAlignment alignment, CCPoint imageOffset) {
    CCLabelBMFont* label = new CCLabelBMFont();
    if (label->initWithString(str, fntFile, width, alignment, imageOffset)) {
        label->autorelease();
        return label;
    }
    delete label;
    return nullptr;
}

void CCLabelBMFont::purgeCachedData() {
    FNTConfigRemoveCache();
}

CCLabelBMFont::CCLabelBMFont() : m_tColor(ccWHITE), m_blendFunc{CC_BLEND_SRC, CC_BLEND_DST} {}

CCLabelBMFont::~CCLabelBMFont() {
    releasePages();
    CC_SAFE_RELEASE(m_pConfiguration);
    CC_SAFE_RELEASE(m_pShaderProgram);
}

bool CCLabelBMFont::init() {
    if (!CCNode::init())
        return false;
    setAnchorPoint(CCPoint(0.5f, 0.5f));
    return true;
}

bool CCLabelBMFont::initWithString(const char* str, const char* fntFile, float width,
                                   CCTextAlignment alignment, CCPoint imageOffset) {
    if (!init() || !loadFont(fntFile))
        return false;
    m_fWidth = width;
    m_eAlignment = alignment;
    m_tImageOffset = imageOffset;
    m_sText = str ? str : "";
    setShaderProgram(CCShaderCache::sharedShaderCache()->programForKey(kCCShader_PositionTextureColor));
    updateLabel();
    return true;
}

void CCLabelBMFont::releasePages() {
    for (PageQuads& page : m_pages)
        CC_SAFE_RELEASE(page.texture);
    m_pages.clear();
}

bool CCLabelBMFont::loadFont(const char* fntFile) {
    CCBMFontConfiguration* config = FNTConfigLoadFile(fntFile);
    if (!config)
        return false;
    std::vector<PageQuads> pages;
    bool ok = true;
    for (const auto& path : config->pagePaths()) {
        CCTexture2D* texture = CCTextureCache::sharedTextureCache()->addImage(path.second.c_str());
        if (!texture) {
            ok = false;
            break;
        }
        texture->retain();
        pages.push_back(PageQuads{path.first, texture, {}});
    }
    if (!ok) {
        for (PageQuads& page : pages)
            page.texture->release();
        return false;
    }
    releasePages();
    m_pages = std::move(pages);
    config->retain();
    CC_SAFE_RELEASE(m_pConfiguration);
    m_pConfiguration = config;
    m_sFntFile = fntFile;
    // Straight-alpha pages blend by source alpha.
    const bool premultiplied = m_pages.empty() || m_pages.front().texture->hasPremultipliedAlpha();
    m_bOpacityModifyRGB = premultiplied;
    m_blendFunc = premultiplied ? ccBlendFunc{CC_BLEND_SRC, CC_BLEND_DST}
                                : ccBlendFunc{GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA};
    return true;
}

void CCLabelBMFont::setFntFile(const char* fntFile) {
    if (fntFile && loadFont(fntFile))
        updateLabel();
}

void CCLabelBMFont::setString(const char* label) {
    m_sText = label ? label : "";
    updateLabel();
}

void CCLabelBMFont::setAlignment(CCTextAlignment alignment) {
    m_eAlignment = alignment;
    updateLabel();
}

void CCLabelBMFont::setWidth(float width) {
    m_fWidth = width;
    updateLabel();
}

void CCLabelBMFont::setTracking(int tracking) {
    m_nTracking = tracking;
    updateLabel();
}

size_t CCLabelBMFont::glyphCount() const {
    size_t count = 0;
    for (const PageQuads& page : m_pages)
        count += page.quads.size();
    return count;
}

void CCLabelBMFont::updateLabel() {
    for (PageQuads& page : m_pages)
        page.quads.clear();
    if (!m_pConfiguration) {
        setContentSize(CCSizeZero);
        return;
    }
    const CCBMFontData& font = m_pConfiguration->data();
    const std::vector<unsigned int> text = decodeUtf8(m_sText);
    if (text.empty()) {
        setContentSize(CCSizeZero);
        return;
    }

    // First pass: pen positions per line, in a frame with y = 0 at the top of the first line.
    struct Placed {
        size_t line;
        float x;
        const CCBMFontGlyph* glyph;
    };
    std::vector<Placed> placed;
    std::vector<float> lineWidths(1, 0.f);
    float penX = 0.f;
    unsigned int previous = 0;
    bool lineHasGlyph = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned int c = text[i];
        if (c == '\n') {
            lineWidths.push_back(0.f);
            penX = 0.f;
            previous = 0;
            lineHasGlyph = false;
            continue;
        }
        auto found = font.glyphs.find(c);
        if (found == font.glyphs.end())
            continue; // characters the font lacks take no room
        if (lineHasGlyph) {
            penX += static_cast<float>(m_nTracking);
            penX += static_cast<float>(font.kerningAmount(previous, c));
        }
        placed.push_back(Placed{lineWidths.size() - 1, penX, &found->second});
        penX += static_cast<float>(found->second.xAdvance);
        lineWidths.back() = penX;
        previous = c;
        lineHasGlyph = true;
    }

    const float lineHeight = static_cast<float>(font.lineHeight);
    float longest = 0.f;
    for (float w : lineWidths)
        longest = std::max(longest, w);
    const float boxWidth = m_fWidth > 0.f ? std::max(m_fWidth, longest) : longest;
    const float totalHeight = lineHeight * static_cast<float>(lineWidths.size());

    for (const Placed& p : placed) {
        const CCBMFontGlyph& glyph = *p.glyph;
        float shift = 0.f;
        if (m_eAlignment == kCCTextAlignmentCenter)
            shift = (boxWidth - lineWidths[p.line]) / 2.f;
        else if (m_eAlignment == kCCTextAlignmentRight)
            shift = boxWidth - lineWidths[p.line];
        PageQuads* page = nullptr;
        for (PageQuads& candidate : m_pages)
            if (candidate.page == glyph.page)
                page = &candidate;
        if (!page || glyph.rect.size.width <= 0 || glyph.rect.size.height <= 0)
            continue;
        const float left = p.x + shift + static_cast<float>(glyph.xOffset);
        const float top =
            totalHeight - lineHeight * static_cast<float>(p.line) - static_cast<float>(glyph.yOffset);
        const float right = left + glyph.rect.size.width;
        const float bottom = top - glyph.rect.size.height;
        const float texWidth = static_cast<float>(page->texture->getPixelsWide());
        const float texHeight = static_cast<float>(page->texture->getPixelsHigh());
        if (texWidth <= 0 || texHeight <= 0)
            continue;
        const float u0 = (glyph.rect.origin.x + m_tImageOffset.x) / texWidth;
        const float v0 = (glyph.rect.origin.y + m_tImageOffset.y) / texHeight;
        const float u1 = u0 + glyph.rect.size.width / texWidth;
        const float v1 = v0 + glyph.rect.size.height / texHeight;
        ccV3F_C4B_T2F_Quad quad;
        quad.tl = {vertex3(left, top, 0), {255, 255, 255, 255}, tex2(u0, v0)};
        quad.bl = {vertex3(left, bottom, 0), {255, 255, 255, 255}, tex2(u0, v1)};
        quad.tr = {vertex3(right, top, 0), {255, 255, 255, 255}, tex2(u1, v0)};
        quad.br = {vertex3(right, bottom, 0), {255, 255, 255, 255}, tex2(u1, v1)};
        page->quads.push_back(quad);
    }
    updateQuadColors();
    setContentSize(CCSize(boxWidth, totalHeight));
}

void CCLabelBMFont::updateQuadColors() {
    ccColor4B color = {m_tColor.r, m_tColor.g, m_tColor.b, m_cOpacity};
    if (m_bOpacityModifyRGB) {
        color.r = static_cast<GLubyte>(color.r * m_cOpacity / 255);
        color.g = static_cast<GLubyte>(color.g * m_cOpacity / 255);
        color.b = static_cast<GLubyte>(color.b * m_cOpacity / 255);
    }
    for (PageQuads& page : m_pages)
        for (ccV3F_C4B_T2F_Quad& quad : page.quads)
            quad.tl.colors = quad.bl.colors = quad.tr.colors = quad.br.colors = color;
}

void CCLabelBMFont::setColor(const ccColor3B& color) {
    m_tColor = color;
    updateQuadColors();
}

void CCLabelBMFont::setOpacity(GLubyte opacity) {
    m_cOpacity = opacity;
    updateQuadColors();
}

void CCLabelBMFont::setOpacityModifyRGB(bool modify) {
    m_bOpacityModifyRGB = modify;
    updateQuadColors();
}

void CCLabelBMFont::setShaderProgram(CCGLProgram* program) {
    if (program == m_pShaderProgram)
        return;
    CC_SAFE_RETAIN(program);
    CC_SAFE_RELEASE(m_pShaderProgram);
    m_pShaderProgram = program;
}

void CCLabelBMFont::draw() {
    if (!m_pShaderProgram)
        setShaderProgram(CCShaderCache::sharedShaderCache()->programForKey(kCCShader_PositionTextureColor));
    if (!m_pShaderProgram)
        return;
    for (const PageQuads& page : m_pages)
        if (!page.quads.empty())
            ccDrawTexturedQuads(m_pShaderProgram, page.texture->getName(), m_blendFunc, page.quads.data(),
                                page.quads.size());
}

NS_CC_END
