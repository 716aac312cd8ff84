// A GL texture with the sizes the engine needs. Without a GL context a texture still knows
// its sizes (so headless scenes lay out the same) but has no GL name.
#pragma once

#include <string>

#include "base/CCGeometry.h"
#include "base/CCObject.h"
#include "base/ccTypes.h"
#include "textures/CCPictureBudget.h"

namespace cocos2d {

class CCGLProgram;

// The classic numbering, which callers pass as plain numbers.
typedef enum {
    kCCTexture2DPixelFormat_RGBA8888 = 0,
    kCCTexture2DPixelFormat_RGB888 = 1,
    kCCTexture2DPixelFormat_RGB565 = 2,
    kCCTexture2DPixelFormat_A8 = 3,
    kCCTexture2DPixelFormat_I8 = 4,
    kCCTexture2DPixelFormat_AI88 = 5,
    kCCTexture2DPixelFormat_RGBA4444 = 6,
    kCCTexture2DPixelFormat_RGB5A1 = 7,
    kCCTexture2DPixelFormat_PVRTC4 = 8,
    kCCTexture2DPixelFormat_PVRTC2 = 9,
    kCCTexture2DPixelFormat_Default = kCCTexture2DPixelFormat_RGBA8888,
} CCTexture2DPixelFormat;

typedef struct _ccTexParams {
    GLuint minFilter;
    GLuint magFilter;
    GLuint wrapS;
    GLuint wrapT;
} ccTexParams;

class CCTexture2D : public CCObject {
public:
    CCTexture2D();
    ~CCTexture2D() override;

    // data holds pixelsWide * pixelsHigh pixels of pixelFormat, top row first. Compressed
    // formats are not supported (false). The pixels are taken as not premultiplied.
    bool initWithData(const void* data, CCTexture2DPixelFormat pixelFormat, unsigned int pixelsWide,
                      unsigned int pixelsHigh, const CCSize& contentSize);
    // Decoded image file bytes (PNG...), stored with premultiplied alpha.
    // name: what refusal lines call the picture.
    bool initWithImageData(const unsigned char* data, size_t size, const char* name = nullptr);
    // Reads the file through CCFileUtils.
    bool initWithImageFile(const char* path);

    GLuint getName() const { return m_uName; }
    const CCSize& getContentSize() const { return m_tContentSize; }
    CCSize getContentSizeInPixels() const { return m_tContentSize; }
    unsigned int getPixelsWide() const { return m_uPixelsWide; }
    unsigned int getPixelsHigh() const { return m_uPixelsHigh; }
    GLfloat getMaxS() const { return m_fMaxS; }
    GLfloat getMaxT() const { return m_fMaxT; }
    bool hasPremultipliedAlpha() const { return m_bHasPremultipliedAlpha; }
    CCTexture2DPixelFormat getPixelFormat() const { return m_ePixelFormat; }
    unsigned int bitsPerPixelForFormat() const;

    void setTexParameters(ccTexParams* texParams);
    void setAntiAliasTexParameters();
    void setAliasTexParameters();
    void generateMipmap();

    CCGLProgram* getShaderProgram() const { return m_pShaderProgram; }
    void setShaderProgram(CCGLProgram* program);

    // Draws the whole texture with its lower-left corner at point / into rect.
    void drawAtPoint(const CCPoint& point);
    void drawInRect(const CCRect& rect);

    // Makes this object own an existing GL texture (render textures); sizes in pixels.
    void initWithExistingName(GLuint name, unsigned int pixelsWide, unsigned int pixelsHigh,
                              bool premultiplied);

private:
    void releaseName();
    // A null data gives the texture its storage only.
    bool upload(const void* data, CCTexture2DPixelFormat pixelFormat, unsigned int pixelsWide,
                unsigned int pixelsHigh);

    GLuint m_uName = 0;
    unsigned int m_uPixelsWide = 0;
    unsigned int m_uPixelsHigh = 0;
    CCSize m_tContentSize;
    GLfloat m_fMaxS = 0;
    GLfloat m_fMaxT = 0;
    bool m_bHasPremultipliedAlpha = false;
    bool m_bHasMipmaps = false;
    CCTexture2DPixelFormat m_ePixelFormat = kCCTexture2DPixelFormat_Default;
    CCGLProgram* m_pShaderProgram = nullptr;
    CCPictureShare m_picture; // a decoded picture's pixels
};

} // namespace cocos2d
