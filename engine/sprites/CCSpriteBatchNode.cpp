#include "sprites/CCSpriteBatchNode.h"

#include "textures/CCTexture2D.h"
#include "textures/CCTextureCache.h"

NS_CC_BEGIN

CCSpriteBatchNode* CCSpriteBatchNode::create(const char* fileImage, unsigned int capacity) {
    CCSpriteBatchNode* node = new CCSpriteBatchNode();
    if (node->initWithFile(fileImage, capacity)) {
        node->autorelease();
        return node;
    }
    delete node;
    return nullptr;
}

CCSpriteBatchNode* CCSpriteBatchNode::createWithTexture(CCTexture2D* texture, unsigned int capacity) {
    CCSpriteBatchNode* node = new CCSpriteBatchNode();
    if (node->initWithTexture(texture, capacity)) {
        node->autorelease();
        return node;
    }
    delete node;
    return nullptr;
}

CCSpriteBatchNode::~CCSpriteBatchNode() {
    CC_SAFE_RELEASE(m_pobTexture);
}

bool CCSpriteBatchNode::initWithTexture(CCTexture2D* texture, unsigned int capacity) {
    (void)capacity;
    if (!texture || !CCNode::init())
        return false;
    setTexture(texture);
    return true;
}

bool CCSpriteBatchNode::initWithFile(const char* fileImage, unsigned int capacity) {
    return initWithTexture(CCTextureCache::sharedTextureCache()->addImage(fileImage), capacity);
}

void CCSpriteBatchNode::setTexture(CCTexture2D* texture) {
    if (texture == m_pobTexture)
        return;
    CC_SAFE_RETAIN(texture);
    CC_SAFE_RELEASE(m_pobTexture);
    m_pobTexture = texture;
    if (m_pobTexture && !m_pobTexture->hasPremultipliedAlpha())
        m_blendFunc = ccBlendFunc{GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA};
}

NS_CC_END
