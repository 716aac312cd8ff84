// An off-screen target (a frame-buffer object with an RGBA texture). Between begin() and
// end() drawing goes into the texture: design points (0..width, 0..height) map one to one
// onto texels, and the model-view matrix in effect at begin() stays in effect. The texture
// is shown by an internal sprite that is flipped so that an unscaled render texture shows
// its contents upright, centred on the render texture's position.
#pragma once

#include <vector>

#include "nodes/CCNode.h"
#include "textures/CCTexture2D.h"

NS_CC_BEGIN

class CCSprite;

class CCRenderTexture : public CCNode {
public:
    // Null for sizes outside 1..16384 or when the frame buffer cannot be made.
    static CCRenderTexture* create(int width, int height);
    static CCRenderTexture* create(int width, int height, CCTexture2DPixelFormat format);

    CCRenderTexture() = default;
    ~CCRenderTexture() override;

    bool initWithWidthAndHeight(int width, int height, CCTexture2DPixelFormat format);

    void begin();
    void beginWithClear(float r, float g, float b, float a);
    // Restores the frame buffer, the view port and the matrices of begin().
    void end();
    // Clears the texture (outside begin/end).
    void clear(float r, float g, float b, float a);

    void visit() override;

    CCSprite* getSprite() const { return m_pSprite; }
    void setSprite(CCSprite* sprite);
    CCTexture2D* getTexture() const { return m_pTexture; }
    int getPixelsWide() const { return m_width; }
    int getPixelsHigh() const { return m_height; }
    // The texture's pixels, bottom row first; false without GL.
    bool readPixels(std::vector<unsigned char>* rgba);

private:
    int m_width = 0;
    int m_height = 0;
    unsigned int m_uFBO = 0;
    int m_nOldFBO = 0;
    int m_oldViewport[4] = {0, 0, 0, 0};
    bool m_bInside = false;
    CCTexture2D* m_pTexture = nullptr; // retained
    CCSprite* m_pSprite = nullptr;     // retained
};

NS_CC_END
