#include <GL/glew.h>

#include "sprites/CCRenderTexture.h"

#include "kazmath/GL/matrix.h"
#include "renderer/CCGLContext.h"
#include "renderer/CCQuadRenderer.h"
#include "renderer/ccGLStateCache.h"
#include "sprites/CCSprite.h"

NS_CC_BEGIN

namespace {
constexpr int kMaxSide = 16384;
}

CCRenderTexture* CCRenderTexture::create(int width, int height) {
    return create(width, height, kCCTexture2DPixelFormat_RGBA8888);
}

CCRenderTexture* CCRenderTexture::create(int width, int height, CCTexture2DPixelFormat format) {
    CCRenderTexture* texture = new CCRenderTexture();
    if (texture->initWithWidthAndHeight(width, height, format)) {
        texture->autorelease();
        return texture;
    }
    delete texture;
    return nullptr;
}

CCRenderTexture::~CCRenderTexture() {
    if (m_bInside)
        end();
    CC_SAFE_RELEASE(m_pSprite);
    CC_SAFE_RELEASE(m_pTexture);
    if (m_uFBO && ccGLContextReady()) {
        GLuint fbo = m_uFBO;
        glDeleteFramebuffers(1, &fbo);
    }
}

bool CCRenderTexture::initWithWidthAndHeight(int width, int height, CCTexture2DPixelFormat format) {
    // Only colour targets that GL can render into; everything else is stored as RGBA8888.
    (void)format;
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide || !CCNode::init())
        return false;
    m_width = width;
    m_height = height;
    m_pTexture = new CCTexture2D();
    if (ccGLContextReady()) {
        // Quads batched for the current target must reach it before the binding changes.
        ccDrawFlush();
        GLuint name = 0;
        glGenTextures(1, &name);
        ccGLBindTexture2D(name);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        m_pTexture->initWithExistingName(name, static_cast<unsigned int>(width),
                                         static_cast<unsigned int>(height), true);

        GLint oldFBO = 0;
        glGetIntegerv(GL_FRAMEBUFFER_BINDING, &oldFBO);
        GLuint fbo = 0;
        glGenFramebuffers(1, &fbo);
        m_uFBO = fbo;
        glBindFramebuffer(GL_FRAMEBUFFER, fbo);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, name, 0);
        const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
        if (status == GL_FRAMEBUFFER_COMPLETE) {
            glClearColor(0, 0, 0, 0);
            glClear(GL_COLOR_BUFFER_BIT);
        }
        glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(oldFBO));
        if (status != GL_FRAMEBUFFER_COMPLETE) {
            CCLOG("render texture: frame buffer incomplete (0x%x)", status);
            return false;
        }
    } else {
        m_pTexture->initWithExistingName(0, static_cast<unsigned int>(width),
                                         static_cast<unsigned int>(height), true);
    }
    CCSprite* sprite = CCSprite::createWithTexture(m_pTexture);
    if (!sprite)
        return false;
    // Frame-buffer rows run bottom-up, image rows top-down: flip to show it upright.
    sprite->setFlipY(true);
    setSprite(sprite);
    return true;
}

void CCRenderTexture::setSprite(CCSprite* sprite) {
    if (sprite == m_pSprite)
        return;
    CC_SAFE_RETAIN(sprite);
    CC_SAFE_RELEASE(m_pSprite);
    m_pSprite = sprite;
}

void CCRenderTexture::begin() {
    if (m_bInside)
        return;
    m_bInside = true;
    // What was batched before belongs to the old target, and what comes now to this one.
    ccDrawFlush();
    kmGLMatrixMode(KM_GL_PROJECTION);
    kmGLPushMatrix();
    kmMat4 projection;
    kmMat4OrthographicProjection(&projection, 0.f, static_cast<float>(m_width), 0.f,
                                 static_cast<float>(m_height), -1024.f, 1024.f);
    kmGLLoadMatrix(&projection);
    kmGLMatrixMode(KM_GL_MODELVIEW);
    kmGLPushMatrix();
    if (!ccGLContextReady() || !m_uFBO)
        return;
    glGetIntegerv(GL_VIEWPORT, m_oldViewport);
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &m_nOldFBO);
    glBindFramebuffer(GL_FRAMEBUFFER, m_uFBO);
    glViewport(0, 0, m_width, m_height);
}

void CCRenderTexture::beginWithClear(float r, float g, float b, float a) {
    begin();
    if (!ccGLContextReady() || !m_uFBO)
        return;
    GLfloat oldClear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, oldClear);
    glClearColor(r, g, b, a);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(oldClear[0], oldClear[1], oldClear[2], oldClear[3]);
}

void CCRenderTexture::end() {
    if (!m_bInside)
        return;
    m_bInside = false;
    ccDrawFlush();
    if (ccGLContextReady() && m_uFBO) {
        glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(m_nOldFBO));
        glViewport(m_oldViewport[0], m_oldViewport[1], m_oldViewport[2], m_oldViewport[3]);
    }
    kmGLMatrixMode(KM_GL_PROJECTION);
    kmGLPopMatrix();
    kmGLMatrixMode(KM_GL_MODELVIEW);
    kmGLPopMatrix();
}

void CCRenderTexture::clear(float r, float g, float b, float a) {
    beginWithClear(r, g, b, a);
    end();
}

void CCRenderTexture::visit() {
    if (!isVisible())
        return;
    kmGLPushMatrix();
    transform();
    if (m_pSprite)
        m_pSprite->visit();
    draw();
    kmGLPopMatrix();
}

bool CCRenderTexture::readPixels(std::vector<unsigned char>* rgba) {
    if (!ccGLContextReady() || !m_uFBO)
        return false;
    ccDrawFlush();
    GLint oldFBO = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &oldFBO);
    glBindFramebuffer(GL_FRAMEBUFFER, m_uFBO);
    rgba->assign(static_cast<size_t>(m_width) * static_cast<size_t>(m_height) * 4, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, m_width, m_height, GL_RGBA, GL_UNSIGNED_BYTE, rgba->data());
    glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(oldFBO));
    return true;
}

NS_CC_END
