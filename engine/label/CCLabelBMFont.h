// Text drawn with an AngelCode bitmap font. The glyphs are quads drawn by the label itself
// (the label is no sprite and has no glyph children), so colour and opacity set on the
// label apply to every glyph at once.
#pragma once

#include <string>
#include <vector>

#include "nodes/CCNode.h"
#include "nodes/CCProtocols.h"
#include "textures/CCTextureProtocol.h"

NS_CC_BEGIN

class CCBMFontConfiguration;
class CCGLProgram;
class CCTexture2D;

typedef enum {
    kCCTextAlignmentLeft = 0,
    kCCTextAlignmentCenter = 1,
    kCCTextAlignmentRight = 2,
} CCTextAlignment;

#define kCCLabelAutomaticWidth -1

class CCLabelProtocol {
public:
    virtual ~CCLabelProtocol() = default;
    virtual void setString(const char* label) = 0;
    virtual const char* getString() = 0;
};

class CCLabelBMFont : public CCNode, public CCLabelProtocol, public CCRGBAProtocol, public CCBlendProtocol {
public:
    static CCLabelBMFont* create();
    // Null when the .fnt or one of its page images cannot be loaded.
    static CCLabelBMFont* create(const char* str, const char* fntFile, float width = kCCLabelAutomaticWidth,
                                 CCTextAlignment alignment = kCCTextAlignmentLeft,
                                 CCPoint imageOffset = CCPointZero);
    // Forgets the cached font descriptions.
    static void purgeCachedData();

    CCLabelBMFont();
    ~CCLabelBMFont() override;

    CCRGBAProtocol* getRGBAProtocol() override { return this; }

    bool init() override;
    // False when the .fnt or one of its pages cannot be loaded. width > 0 is the box the
    // lines are aligned in (no wrapping); otherwise the longest line is.
    bool initWithString(const char* str, const char* fntFile, float width, CCTextAlignment alignment,
                        CCPoint imageOffset);

    void setString(const char* label) override;
    const char* getString() override { return m_sText.c_str(); }
    void setAlignment(CCTextAlignment alignment);
    CCTextAlignment getAlignment() const { return m_eAlignment; }
    void setWidth(float width);
    // Extra advance, in points, after every character except the last of each line.
    void setTracking(int tracking);
    int getTracking() const { return m_nTracking; }
    void setFntFile(const char* fntFile);
    const char* getFntFile() const { return m_sFntFile.c_str(); }
    CCBMFontConfiguration* getConfiguration() const { return m_pConfiguration; }

    void setColor(const ccColor3B& color) override;
    const ccColor3B& getColor() override { return m_tColor; }
    void setOpacity(GLubyte opacity) override;
    GLubyte getOpacity() override { return m_cOpacity; }
    void setOpacityModifyRGB(bool modify) override;
    bool isOpacityModifyRGB() override { return m_bOpacityModifyRGB; }
    void setBlendFunc(ccBlendFunc blendFunc) override { m_blendFunc = blendFunc; }
    ccBlendFunc getBlendFunc() override { return m_blendFunc; }
    virtual void setShaderProgram(CCGLProgram* program);
    virtual CCGLProgram* getShaderProgram() { return m_pShaderProgram; }

    void draw() override;

    // Number of glyph quads laid out (characters the font has; spaces included).
    size_t glyphCount() const;

private:
    struct PageQuads {
        int page;
        CCTexture2D* texture; // held by the texture cache and retained in m_pages
        std::vector<ccV3F_C4B_T2F_Quad> quads;
    };

    bool loadFont(const char* fntFile);
    void releasePages();
    void updateLabel();
    void updateQuadColors();

    std::string m_sText;
    std::string m_sFntFile;
    CCBMFontConfiguration* m_pConfiguration = nullptr; // retained
    std::vector<PageQuads> m_pages;
    CCTextAlignment m_eAlignment = kCCTextAlignmentLeft;
    float m_fWidth = kCCLabelAutomaticWidth;
    CCPoint m_tImageOffset;
    int m_nTracking = 0;
    ccColor3B m_tColor;
    GLubyte m_cOpacity = 255;
    bool m_bOpacityModifyRGB = true;
    ccBlendFunc m_blendFunc;
    CCGLProgram* m_pShaderProgram = nullptr; // retained
};

NS_CC_END
