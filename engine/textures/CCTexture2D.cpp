#include <GL/glew.h>

#include "textures/CCTexture2D.h"

#include <cstdint>
#include <cstdio>
#include <utility>
#include <vector>

#include "platform/CCFileUtils.h"
#include "renderer/CCGLContext.h"
#include "renderer/CCGLProgram.h"
#include "renderer/CCShaderCache.h"
#include "renderer/CCTextureStorage.h"
#include "renderer/ccDrawCounter.h"
#include "renderer/ccGLStateCache.h"
#include "textures/CCImageCodec.h"

namespace cocos2d {

namespace {

struct GLFormat {
    GLenum format;
    GLenum type;
    unsigned int bits;
};

// Indexed by CCTexture2DPixelFormat; compressed formats have no entry (bits 0).
bool glFormatFor(CCTexture2DPixelFormat pixelFormat, GLFormat* out) {
    switch (pixelFormat) {
    case kCCTexture2DPixelFormat_RGBA8888:
        *out = {GL_RGBA, GL_UNSIGNED_BYTE, 32};
        return true;
    case kCCTexture2DPixelFormat_RGB888:
        *out = {GL_RGB, GL_UNSIGNED_BYTE, 24};
        return true;
    case kCCTexture2DPixelFormat_RGB565:
        *out = {GL_RGB, GL_UNSIGNED_SHORT_5_6_5, 16};
        return true;
    case kCCTexture2DPixelFormat_A8:
        *out = {GL_ALPHA, GL_UNSIGNED_BYTE, 8};
        return true;
    case kCCTexture2DPixelFormat_I8:
        *out = {GL_LUMINANCE, GL_UNSIGNED_BYTE, 8};
        return true;
    case kCCTexture2DPixelFormat_AI88:
        *out = {GL_LUMINANCE_ALPHA, GL_UNSIGNED_BYTE, 16};
        return true;
    case kCCTexture2DPixelFormat_RGBA4444:
        *out = {GL_RGBA, GL_UNSIGNED_SHORT_4_4_4_4, 16};
        return true;
    // One 16-bit value per pixel: 5 bits each of red, green, blue from the top, alpha last.
    case kCCTexture2DPixelFormat_RGB5A1:
        *out = {GL_RGBA, GL_UNSIGNED_SHORT_5_5_5_1, 16};
        return true;
    default:
        return false;
    }
}

constexpr unsigned int kMaxSide = 16384;

} // namespace

CCTexture2D::CCTexture2D() = default;

CCTexture2D::~CCTexture2D() {
    releaseName();
    CC_SAFE_RELEASE(m_pShaderProgram);
}

void CCTexture2D::releaseName() {
    if (m_uName && ccGLContextReady()) {
        ccGLDeleteTexture(m_uName);
        // A picture's storage goes with its share of the budget, not whenever the driver sees fit.
        if (m_picture.bytes() > 0)
            ccGLReleaseDeletedTextureStorage();
    }
    m_uName = 0;
}

unsigned int CCTexture2D::bitsPerPixelForFormat() const {
    GLFormat f;
    return glFormatFor(m_ePixelFormat, &f) ? f.bits : 0;
}

bool CCTexture2D::upload(const void* data, CCTexture2DPixelFormat pixelFormat, unsigned int pixelsWide,
                         unsigned int pixelsHigh) {
    GLFormat f;
    if (!glFormatFor(pixelFormat, &f) || pixelsWide == 0 || pixelsHigh == 0 || pixelsWide > kMaxSide ||
        pixelsHigh > kMaxSide)
        return false;
    releaseName();
    m_picture.giveBack();
    m_ePixelFormat = pixelFormat;
    m_uPixelsWide = pixelsWide;
    m_uPixelsHigh = pixelsHigh;
    m_fMaxS = 1.f;
    m_fMaxT = 1.f;
    m_bHasMipmaps = false;
    if (!ccGLContextReady())
        return true;

    const unsigned int rowBytes = pixelsWide * f.bits / 8;
    glPixelStorei(GL_UNPACK_ALIGNMENT, rowBytes % 8 == 0   ? 8
                                       : rowBytes % 4 == 0 ? 4
                                       : rowBytes % 2 == 0 ? 2
                                                           : 1);
    glGenTextures(1, &m_uName);
    ccGLBindTexture2D(m_uName);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    const GLint internalFormat = static_cast<GLint>(f.format);
    glTexImage2D(GL_TEXTURE_2D, 0, internalFormat, static_cast<GLsizei>(pixelsWide),
                 static_cast<GLsizei>(pixelsHigh), 0, f.format, f.type, data);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    if (!m_pShaderProgram)
        setShaderProgram(CCShaderCache::sharedShaderCache()->programForKey(kCCShader_PositionTexture));
    return true;
}

bool CCTexture2D::initWithData(const void* data, CCTexture2DPixelFormat pixelFormat, unsigned int pixelsWide,
                               unsigned int pixelsHigh, const CCSize& contentSize) {
    if (!data || !upload(data, pixelFormat, pixelsWide, pixelsHigh))
        return false;
    m_tContentSize = contentSize;
    if (pixelsWide > 0 && pixelsHigh > 0) {
        m_fMaxS = contentSize.width / static_cast<float>(pixelsWide);
        m_fMaxT = contentSize.height / static_cast<float>(pixelsHigh);
    }
    m_bHasPremultipliedAlpha = false;
    return true;
}

bool CCTexture2D::initWithImageData(const unsigned char* data, size_t size, const char* name) {
    uint32_t wide = 0, high = 0;
    CCPictureShare share;
    if (!ccAdmitPicture(data, size, name, &wide, &high, &share))
        return false;
    // The texture's storage first, then the rows a band at a time as they are decoded: the
    // picture is not held once more beside the texture (an interlaced one is, while it decodes).
    if (!upload(nullptr, kCCTexture2DPixelFormat_RGBA8888, wide, high))
        return false;
    // An interlaced picture's rows are held whole beside the texture while they decode: they take
    // a share of their own for that time.
    CCPictureShare wholeRows;
    if (ccPngInterlaced(data, size) && !wholeRows.take(share.bytes())) {
        std::fprintf(stderr,
                     "image refused: %s: its interlaced rows take %llu bytes beside its texture while they "
                     "decode, and the pictures alive hold %llu of the %llu bytes they may hold together\n",
                     name ? name : "picture", static_cast<unsigned long long>(share.bytes()),
                     static_cast<unsigned long long>(ccPictureBytesHeld()),
                     static_cast<unsigned long long>(ccPictureBudget()));
        releaseName();
        m_uPixelsWide = m_uPixelsHigh = 0;
        return false;
    }
    CCPixelBytes band;
    const bool decoded = ccDecodePictureRows(
        data, size, wide, high, true, name, false, &band,
        [this, wide](unsigned char* rgba, uint32_t first, uint32_t count) {
            if (!m_uName)
                return; // headless: the sizes are all a texture keeps
            ccGLBindTexture2D(m_uName);
            glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
            glTexSubImage2D(GL_TEXTURE_2D, 0, 0, static_cast<GLint>(first), static_cast<GLsizei>(wide),
                            static_cast<GLsizei>(count), GL_RGBA, GL_UNSIGNED_BYTE, rgba);
        });
    if (!decoded) {
        releaseName();
        m_uPixelsWide = m_uPixelsHigh = 0;
        return false;
    }
    m_tContentSize = CCSize(static_cast<float>(wide), static_cast<float>(high));
    m_bHasPremultipliedAlpha = true;
    // The pixels now live in the texture (in GL's memory, or as the sizes a headless run lays
    // out with): it keeps their share of the budget.
    m_picture = std::move(share);
    return true;
}

bool CCTexture2D::initWithImageFile(const char* path) {
    std::vector<unsigned char> bytes;
    if (!path || !CCFileUtils::sharedFileUtils()->readFile(path, bytes) || bytes.empty())
        return false;
    return initWithImageData(bytes.data(), bytes.size(), path);
}

void CCTexture2D::initWithExistingName(GLuint name, unsigned int pixelsWide, unsigned int pixelsHigh,
                                       bool premultiplied) {
    releaseName();
    m_picture.giveBack();
    m_uName = name;
    m_uPixelsWide = pixelsWide;
    m_uPixelsHigh = pixelsHigh;
    m_tContentSize = CCSize(static_cast<float>(pixelsWide), static_cast<float>(pixelsHigh));
    m_fMaxS = m_fMaxT = 1.f;
    m_ePixelFormat = kCCTexture2DPixelFormat_RGBA8888;
    m_bHasPremultipliedAlpha = premultiplied;
    if (!m_pShaderProgram)
        setShaderProgram(CCShaderCache::sharedShaderCache()->programForKey(kCCShader_PositionTexture));
}

void CCTexture2D::setTexParameters(ccTexParams* texParams) {
    if (!texParams || !m_uName || !ccGLContextReady())
        return;
    ccGLBindTexture2D(m_uName);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, static_cast<GLint>(texParams->minFilter));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLint>(texParams->magFilter));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, static_cast<GLint>(texParams->wrapS));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, static_cast<GLint>(texParams->wrapT));
}

void CCTexture2D::setAntiAliasTexParameters() {
    ccTexParams params = {m_bHasMipmaps ? GLuint(GL_LINEAR_MIPMAP_NEAREST) : GLuint(GL_LINEAR), GL_LINEAR,
                          GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE};
    setTexParameters(&params);
}

void CCTexture2D::setAliasTexParameters() {
    ccTexParams params = {m_bHasMipmaps ? GLuint(GL_NEAREST_MIPMAP_NEAREST) : GLuint(GL_NEAREST), GL_NEAREST,
                          GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE};
    setTexParameters(&params);
}

void CCTexture2D::generateMipmap() {
    if (!m_uName || !ccGLContextReady())
        return;
    ccGLBindTexture2D(m_uName);
    glGenerateMipmap(GL_TEXTURE_2D);
    m_bHasMipmaps = true;
}

void CCTexture2D::setShaderProgram(CCGLProgram* program) {
    if (program == m_pShaderProgram)
        return;
    CC_SAFE_RETAIN(program);
    CC_SAFE_RELEASE(m_pShaderProgram);
    m_pShaderProgram = program;
}

void CCTexture2D::drawAtPoint(const CCPoint& point) {
    drawInRect(CCRect(point.x, point.y, m_uPixelsWide * m_fMaxS, m_uPixelsHigh * m_fMaxT));
}

void CCTexture2D::drawInRect(const CCRect& rect) {
    if (!m_uName || !m_pShaderProgram || !ccGLContextReady())
        return;
    const GLfloat coordinates[] = {0.f, m_fMaxT, m_fMaxS, m_fMaxT, 0.f, 0.f, m_fMaxS, 0.f};
    const GLfloat vertices[] = {rect.getMinX(), rect.getMinY(), rect.getMaxX(), rect.getMinY(),
                                rect.getMinX(), rect.getMaxY(), rect.getMaxX(), rect.getMaxY()};
    ccGLEnableVertexAttribs(kCCVertexAttribFlag_Position | kCCVertexAttribFlag_TexCoords);
    m_pShaderProgram->use();
    m_pShaderProgram->setUniformsForBuiltins();
    ccGLBindTexture2D(m_uName);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glVertexAttribPointer(kCCVertexAttrib_Position, 2, GL_FLOAT, GL_FALSE, 0, vertices);
    glVertexAttribPointer(kCCVertexAttrib_TexCoords, 2, GL_FLOAT, GL_FALSE, 0, coordinates);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    CC_INCREMENT_GL_DRAWS(1);
}

} // namespace cocos2d
