// A textured quad: a whole texture, a rectangle of it or a sprite frame (trimmed, rotated).
// Colour and opacity tint the quad; with a premultiplied texture the colour is multiplied
// by the opacity, matching the default blend (ONE, ONE_MINUS_SRC_ALPHA).
#pragma once

#include "nodes/CCNode.h"
#include "nodes/CCProtocols.h"
#include "textures/CCTextureProtocol.h"

NS_CC_BEGIN

class CCGLProgram;
class CCSpriteFrame;
class CCTexture2D;

class CCSprite : public CCNode, public CCTextureProtocol, public CCRGBAProtocol {
public:
    CC_NODE_KIND(CCSprite, kCCNodeKindSprite);

    static CCSprite* create();
    // Null when the image cannot be loaded.
    static CCSprite* create(const char* fileName);
    static CCSprite* create(const char* fileName, const CCRect& rect);
    static CCSprite* createWithTexture(CCTexture2D* texture);
    static CCSprite* createWithTexture(CCTexture2D* texture, const CCRect& rect);
    static CCSprite* createWithSpriteFrame(CCSpriteFrame* frame);
    // Null when the frame cache has no such frame.
    static CCSprite* createWithSpriteFrameName(const char* frameName);

    CCSprite();
    ~CCSprite() override;

    CCRGBAProtocol* getRGBAProtocol() override { return this; }

    bool init() override;
    bool initWithTexture(CCTexture2D* texture);
    bool initWithTexture(CCTexture2D* texture, const CCRect& rect);
    bool initWithTexture(CCTexture2D* texture, const CCRect& rect, bool rotated);
    bool initWithSpriteFrame(CCSpriteFrame* frame);
    bool initWithSpriteFrameName(const char* frameName);
    bool initWithFile(const char* fileName);
    bool initWithFile(const char* fileName, const CCRect& rect);

    void draw() override;

    // --- Texture and frame ---
    void setTexture(CCTexture2D* texture) override;
    CCTexture2D* getTexture() override { return m_pobTexture; }
    // Shows rect of the texture; the content size becomes rect's size.
    virtual void setTextureRect(const CCRect& rect);
    // rect is the frame's place in the texture (its unrotated size), untrimmedSize the content size.
    virtual void setTextureRect(const CCRect& rect, bool rotated, const CCSize& untrimmedSize);
    const CCRect& getTextureRect() const { return m_obRect; }
    bool isTextureRectRotated() const { return m_bRectRotated; }
    // Lower-left corner of the drawn quad inside the content (trimmed frames are offset).
    const CCPoint& getOffsetPosition() const { return m_obOffsetPosition; }
    virtual void setDisplayFrame(CCSpriteFrame* frame);
    // A new frame describing what is shown now.
    virtual CCSpriteFrame* displayFrame();
    virtual bool isFrameDisplayed(CCSpriteFrame* frame);
    const ccV3F_C4B_T2F_Quad& getQuad() const { return m_sQuad; }

    void setFlipX(bool flipX);
    bool isFlipX() const { return m_bFlipX; }
    void setFlipY(bool flipY);
    bool isFlipY() const { return m_bFlipY; }

    // --- Colour, opacity, blending ---
    void setColor(const ccColor3B& color) override;
    const ccColor3B& getColor() override { return m_sColor; }
    void setOpacity(GLubyte opacity) override;
    GLubyte getOpacity() override { return m_nOpacity; }
    void setOpacityModifyRGB(bool modify) override;
    bool isOpacityModifyRGB() override { return m_bOpacityModifyRGB; }
    void setBlendFunc(ccBlendFunc blendFunc) override { m_sBlendFunc = blendFunc; }
    ccBlendFunc getBlendFunc() override { return m_sBlendFunc; }

    // Retained; the default is "ShaderPositionTextureColor".
    virtual void setShaderProgram(CCGLProgram* program);
    virtual CCGLProgram* getShaderProgram() { return m_pShaderProgram; }

protected:
    void updateColor();
    void updateBlendFunc();
    void setTextureCoords(const CCRect& rect);
    void setVertexRect();

    CCTexture2D* m_pobTexture;     // retained
    CCGLProgram* m_pShaderProgram; // retained
    ccBlendFunc m_sBlendFunc;
    ccV3F_C4B_T2F_Quad m_sQuad;
    CCRect m_obRect;
    bool m_bRectRotated;
    CCPoint m_obOffsetPosition;
    CCPoint m_obUnflippedOffsetPositionFromCenter;
    bool m_bFlipX;
    bool m_bFlipY;
    ccColor3B m_sColor;
    GLubyte m_nOpacity;
    bool m_bOpacityModifyRGB;
};

NS_CC_END
