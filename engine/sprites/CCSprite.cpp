#include <GL/glew.h>

#include "sprites/CCSprite.h"

#include <utility>

#include "renderer/CCGLProgram.h"
#include "renderer/CCQuadRenderer.h"
#include "renderer/CCShaderCache.h"
#include "sprites/CCSpriteFrame.h"
#include "sprites/CCSpriteFrameCache.h"
#include "textures/CCTexture2D.h"
#include "textures/CCTextureCache.h"

NS_CC_BEGIN

namespace {

template <typename Init> CCSprite* makeSprite(Init init) {
    CCSprite* sprite = new CCSprite();
    if (init(sprite)) {
        sprite->autorelease();
        return sprite;
    }
    delete sprite;
    return nullptr;
}

} // namespace

CCSprite* CCSprite::create() {
    return makeSprite([](CCSprite* s) { return s->init(); });
}

CCSprite* CCSprite::create(const char* fileName) {
    return makeSprite([&](CCSprite* s) { return s->initWithFile(fileName); });
}

CCSprite* CCSprite::create(const char* fileName, const CCRect& rect) {
    return makeSprite([&](CCSprite* s) { return s->initWithFile(fileName, rect); });
}

CCSprite* CCSprite::createWithTexture(CCTexture2D* texture) {
    return makeSprite([&](CCSprite* s) { return s->initWithTexture(texture); });
}

CCSprite* CCSprite::createWithTexture(CCTexture2D* texture, const CCRect& rect) {
    return makeSprite([&](CCSprite* s) { return s->initWithTexture(texture, rect); });
}

CCSprite* CCSprite::createWithSpriteFrame(CCSpriteFrame* frame) {
    return makeSprite([&](CCSprite* s) { return s->initWithSpriteFrame(frame); });
}

CCSprite* CCSprite::createWithSpriteFrameName(const char* frameName) {
    return makeSprite([&](CCSprite* s) { return s->initWithSpriteFrameName(frameName); });
}

CCSprite::CCSprite()
    : m_pobTexture(nullptr), m_pShaderProgram(nullptr), m_sBlendFunc{CC_BLEND_SRC, CC_BLEND_DST}, m_sQuad(),
      m_bRectRotated(false), m_bFlipX(false), m_bFlipY(false), m_sColor(ccWHITE), m_nOpacity(255),
      m_bOpacityModifyRGB(true) {
    addNodeKinds(kNodeKind);
}

CCSprite::~CCSprite() {
    CC_SAFE_RELEASE(m_pobTexture);
    CC_SAFE_RELEASE(m_pShaderProgram);
}

bool CCSprite::init() {
    return initWithTexture(nullptr, CCRectZero);
}

bool CCSprite::initWithTexture(CCTexture2D* texture) {
    if (!texture)
        return false;
    const CCSize size = texture->getContentSize();
    return initWithTexture(texture, CCRect(0, 0, size.width, size.height));
}

bool CCSprite::initWithTexture(CCTexture2D* texture, const CCRect& rect) {
    return initWithTexture(texture, rect, false);
}

bool CCSprite::initWithTexture(CCTexture2D* texture, const CCRect& rect, bool rotated) {
    if (!CCNode::init())
        return false;
    m_bOpacityModifyRGB = true;
    m_nOpacity = 255;
    m_sColor = ccWHITE;
    m_sBlendFunc = ccBlendFunc{CC_BLEND_SRC, CC_BLEND_DST};
    m_bFlipX = m_bFlipY = false;
    setAnchorPoint(CCPoint(0.5f, 0.5f));
    m_obOffsetPosition = CCPointZero;
    m_obUnflippedOffsetPositionFromCenter = CCPointZero;
    m_sQuad = ccV3F_C4B_T2F_Quad();
    const ccColor4B white = {255, 255, 255, 255};
    m_sQuad.tl.colors = m_sQuad.bl.colors = m_sQuad.tr.colors = m_sQuad.br.colors = white;
    setShaderProgram(CCShaderCache::sharedShaderCache()->programForKey(kCCShader_PositionTextureColor));
    setTexture(texture);
    setTextureRect(rect, rotated, rect.size);
    return true;
}

bool CCSprite::initWithSpriteFrame(CCSpriteFrame* frame) {
    if (!frame || !initWithTexture(frame->getTexture(), frame->getRect()))
        return false;
    setDisplayFrame(frame);
    return true;
}

bool CCSprite::initWithSpriteFrameName(const char* frameName) {
    return initWithSpriteFrame(CCSpriteFrameCache::sharedSpriteFrameCache()->spriteFrameByName(frameName));
}

bool CCSprite::initWithFile(const char* fileName) {
    CCTexture2D* texture = CCTextureCache::sharedTextureCache()->addImage(fileName);
    return texture && initWithTexture(texture);
}

bool CCSprite::initWithFile(const char* fileName, const CCRect& rect) {
    CCTexture2D* texture = CCTextureCache::sharedTextureCache()->addImage(fileName);
    return texture && initWithTexture(texture, rect);
}

void CCSprite::setTexture(CCTexture2D* texture) {
    if (texture != m_pobTexture) {
        CC_SAFE_RETAIN(texture);
        CC_SAFE_RELEASE(m_pobTexture);
        m_pobTexture = texture;
    }
    updateBlendFunc();
}

void CCSprite::updateBlendFunc() {
    // Textures with straight alpha blend by source alpha and keep their colour unscaled.
    if (!m_pobTexture || m_pobTexture->hasPremultipliedAlpha()) {
        m_sBlendFunc = ccBlendFunc{CC_BLEND_SRC, CC_BLEND_DST};
        setOpacityModifyRGB(true);
    } else {
        m_sBlendFunc = ccBlendFunc{GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA};
        setOpacityModifyRGB(false);
    }
}

void CCSprite::setTextureRect(const CCRect& rect) {
    setTextureRect(rect, false, rect.size);
}

void CCSprite::setTextureRect(const CCRect& rect, bool rotated, const CCSize& untrimmedSize) {
    m_bRectRotated = rotated;
    m_obRect = rect;
    setContentSize(untrimmedSize);
    setTextureCoords(rect);
    setVertexRect();
}

void CCSprite::setVertexRect() {
    CCPoint relativeOffset = m_obUnflippedOffsetPositionFromCenter;
    if (m_bFlipX)
        relativeOffset.x = -relativeOffset.x;
    if (m_bFlipY)
        relativeOffset.y = -relativeOffset.y;
    const CCSize& content = getContentSize();
    m_obOffsetPosition.x = relativeOffset.x + (content.width - m_obRect.size.width) / 2;
    m_obOffsetPosition.y = relativeOffset.y + (content.height - m_obRect.size.height) / 2;
    const float x1 = m_obOffsetPosition.x;
    const float y1 = m_obOffsetPosition.y;
    const float x2 = x1 + m_obRect.size.width;
    const float y2 = y1 + m_obRect.size.height;
    m_sQuad.bl.vertices = vertex3(x1, y1, 0);
    m_sQuad.br.vertices = vertex3(x2, y1, 0);
    m_sQuad.tl.vertices = vertex3(x1, y2, 0);
    m_sQuad.tr.vertices = vertex3(x2, y2, 0);
}

void CCSprite::setTextureCoords(const CCRect& rect) {
    if (!m_pobTexture)
        return;
    const float atlasWidth = static_cast<float>(m_pobTexture->getPixelsWide());
    const float atlasHeight = static_cast<float>(m_pobTexture->getPixelsHigh());
    if (atlasWidth <= 0 || atlasHeight <= 0)
        return;
    // Texture rows are stored top first, so v grows downwards in the image.
    if (m_bRectRotated) {
        // Stored turned 90 degrees clockwise: the frame's width runs down the atlas.
        float left = rect.origin.x / atlasWidth;
        float right = (rect.origin.x + rect.size.height) / atlasWidth;
        float top = rect.origin.y / atlasHeight;
        float bottom = (rect.origin.y + rect.size.width) / atlasHeight;
        if (m_bFlipX)
            std::swap(top, bottom);
        if (m_bFlipY)
            std::swap(left, right);
        m_sQuad.bl.texCoords = tex2(left, top);
        m_sQuad.br.texCoords = tex2(left, bottom);
        m_sQuad.tl.texCoords = tex2(right, top);
        m_sQuad.tr.texCoords = tex2(right, bottom);
    } else {
        float left = rect.origin.x / atlasWidth;
        float right = (rect.origin.x + rect.size.width) / atlasWidth;
        float top = rect.origin.y / atlasHeight;
        float bottom = (rect.origin.y + rect.size.height) / atlasHeight;
        if (m_bFlipX)
            std::swap(left, right);
        if (m_bFlipY)
            std::swap(top, bottom);
        m_sQuad.bl.texCoords = tex2(left, bottom);
        m_sQuad.br.texCoords = tex2(right, bottom);
        m_sQuad.tl.texCoords = tex2(left, top);
        m_sQuad.tr.texCoords = tex2(right, top);
    }
}

void CCSprite::setDisplayFrame(CCSpriteFrame* frame) {
    if (!frame)
        return;
    m_obUnflippedOffsetPositionFromCenter = frame->getOffset();
    if (frame->getTexture() != m_pobTexture)
        setTexture(frame->getTexture());
    setTextureRect(frame->getRect(), frame->isRotated(), frame->getOriginalSize());
}

CCSpriteFrame* CCSprite::displayFrame() {
    return CCSpriteFrame::createWithTexture(m_pobTexture, m_obRect, m_bRectRotated,
                                            m_obUnflippedOffsetPositionFromCenter, getContentSize());
}

bool CCSprite::isFrameDisplayed(CCSpriteFrame* frame) {
    return frame && frame->getTexture() == m_pobTexture && frame->getRect().equals(m_obRect) &&
           frame->getOffset().equals(m_obUnflippedOffsetPositionFromCenter);
}

void CCSprite::setFlipX(bool flipX) {
    if (m_bFlipX == flipX)
        return;
    m_bFlipX = flipX;
    setTextureRect(m_obRect, m_bRectRotated, getContentSize());
}

void CCSprite::setFlipY(bool flipY) {
    if (m_bFlipY == flipY)
        return;
    m_bFlipY = flipY;
    setTextureRect(m_obRect, m_bRectRotated, getContentSize());
}

void CCSprite::updateColor() {
    ccColor4B color = {m_sColor.r, m_sColor.g, m_sColor.b, m_nOpacity};
    if (m_bOpacityModifyRGB) {
        color.r = static_cast<GLubyte>(color.r * m_nOpacity / 255);
        color.g = static_cast<GLubyte>(color.g * m_nOpacity / 255);
        color.b = static_cast<GLubyte>(color.b * m_nOpacity / 255);
    }
    m_sQuad.bl.colors = m_sQuad.br.colors = m_sQuad.tl.colors = m_sQuad.tr.colors = color;
}

void CCSprite::setColor(const ccColor3B& color) {
    m_sColor = color;
    updateColor();
}

void CCSprite::setOpacity(GLubyte opacity) {
    m_nOpacity = opacity;
    updateColor();
}

void CCSprite::setOpacityModifyRGB(bool modify) {
    m_bOpacityModifyRGB = modify;
    updateColor();
}

void CCSprite::setShaderProgram(CCGLProgram* program) {
    if (program == m_pShaderProgram)
        return;
    CC_SAFE_RETAIN(program);
    CC_SAFE_RELEASE(m_pShaderProgram);
    m_pShaderProgram = program;
}

void CCSprite::draw() {
    // Sprites made before the GL context existed pick up the default program here.
    if (!m_pShaderProgram)
        setShaderProgram(CCShaderCache::sharedShaderCache()->programForKey(kCCShader_PositionTextureColor));
    if (!m_pobTexture || !m_pShaderProgram)
        return;
    ccDrawTexturedQuads(m_pShaderProgram, m_pobTexture->getName(), m_sBlendFunc, &m_sQuad, 1);
}

NS_CC_END
