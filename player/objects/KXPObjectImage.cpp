#include "player/objects/KXPObjectImage.h"

#include "model/KXDebugLog.h"
#include "model/classes/KXBaseModelObjectImage.h"
#include "model/classes/KXModelSpriteContainer.h"

#include <algorithm>

using namespace cocos2d;

namespace {

GLubyte opacityByte(float opacity) {
    return static_cast<GLubyte>(std::min(1.0f, std::max(0.0f, opacity)) * 255.0f);
}

} // namespace

KXPObjectImage* KXPObjectImage::create(const std::shared_ptr<KXBaseModelObjectImage>& model,
                                       float speedFactor, bool loop) {
    KXPObjectImage* image = new KXPObjectImage(model);
    image->autorelease();
    if (!model) {
        return image;
    }

    if (const std::shared_ptr<KXModelSpriteContainer> container = model->spriteContainer()) {
        // The container reports itself why it could not make a sprite.
        if (CCSprite* sprite = container->getSprite(speedFactor, loop)) {
            image->addChild(sprite);
            if (CCAction* action = sprite->getActionByTag(kFrameActionTag)) {
                action->retain();
                image->m_spriteAction = action;
            }
            sprite->release();
        }
    } else {
        debugLog("[KXPObjectImage] %s has no image to show", model->name().c_str());
    }

    image->setPosition(model->stickToEdge() ? model->screenAdjustedPosition(0.0f, 0)
                                            : model->animatedPosition(0.0f, 0));
    image->setRotation(model->animatedRotation(0.0f, 0));
    const CCPoint scale = model->animatedScale(0.0f, 0);
    image->setScaleX(scale.x);
    image->setScaleY(scale.y);
    image->setUserData(model.get());
    image->setContentSize(model->contentSize(0.0f));
    image->update(0.0f);
    return image;
}

KXPObjectImage::KXPObjectImage(const std::shared_ptr<KXBaseModelObjectImage>& model) : m_model(model) {
    addNodeKinds(kNodeKind);
}

KXPObjectImage::~KXPObjectImage() {
    CC_SAFE_RELEASE(m_spriteAction);
}

void KXPObjectImage::update(float dt) {
    if (!m_model) {
        return;
    }
    const KXBaseModelObjectImage& model = *m_model;
    m_elapsed += dt;

    const float autohide = model.autohide();
    if (autohide > 0.0f && isVisible() && !m_faded && m_elapsed >= autohide) {
        CCObject* item = nullptr;
        CCARRAY_FOREACH(getChildren(), item) {
            static_cast<CCNode*>(item)->runAction(
                CCRepeat::create(CCFadeOut::create(kAutohideFadeSeconds), 1));
        }
        m_faded = true;
    }

    setRotation(model.animatedRotation(m_elapsed, m_animationKey));
    const CCPoint scale = model.animatedScale(m_elapsed, m_animationKey);
    setScaleX(scale.x);
    setScaleY(scale.y);
    setPosition(model.stickToEdge() ? model.screenAdjustedPosition(m_elapsed, m_animationKey)
                                    : model.animatedPosition(m_elapsed, m_animationKey));

    if (!m_faded) {
        const GLubyte opacity =
            opacityByte(model.animatedOpacity(m_elapsed, m_animationKey) * m_opacityFactor);
        CCObject* item = nullptr;
        CCARRAY_FOREACH(getChildren(), item) {
            if (CCRGBAProtocol* child = static_cast<CCNode*>(item)->getRGBAProtocol()) {
                child->setOpacity(opacity);
            }
        }
    }
}

void KXPObjectImage::restart() {
    if (!m_model) {
        return;
    }
    m_elapsed = 0.0f;
    CCObject* item = nullptr;
    CCARRAY_FOREACH(getChildren(), item) {
        CCSprite* sprite = ccNodeAs<CCSprite>(item);
        if (sprite == nullptr) {
            continue;
        }
        if (!m_faded) {
            sprite->setOpacity(255);
        }
        if (CCAction* running = sprite->getActionByTag(kFrameActionTag)) {
            // Kept alive across the stop, then played again from its start.
            running->retain();
            sprite->stopAllActions();
            sprite->runAction(running);
            running->release();
        } else if (m_spriteAction != nullptr) {
            sprite->runAction(m_spriteAction);
        }
    }
}

void KXPObjectImage::setAnimationKey(int key) {
    m_animationKey = key;
}

void KXPObjectImage::pauseActions() {
    CCObject* item = nullptr;
    CCARRAY_FOREACH(getChildren(), item) {
        if (CCSprite* sprite = ccNodeAs<CCSprite>(item)) {
            sprite->getActionManager()->pauseTarget(sprite);
        }
    }
}

void KXPObjectImage::resumeActions() {
    CCObject* item = nullptr;
    CCARRAY_FOREACH(getChildren(), item) {
        if (CCSprite* sprite = ccNodeAs<CCSprite>(item)) {
            sprite->getActionManager()->resumeTarget(sprite);
        }
    }
}

void KXPObjectImage::stopActions() {
    CCObject* item = nullptr;
    CCARRAY_FOREACH(getChildren(), item) {
        CCSprite* sprite = ccNodeAs<CCSprite>(item);
        if (sprite != nullptr && sprite->getActionByTag(kFrameActionTag) != nullptr) {
            sprite->stopAllActions();
        }
    }
}

void KXPObjectImage::showFrame(unsigned int index) {
    const std::shared_ptr<KXModelSpriteContainer> container = m_model ? m_model->spriteContainer() : nullptr;
    CCSpriteFrame* frame = container ? container->getSpriteFrame(index) : nullptr;
    if (frame == nullptr) {
        if (!m_reportedMissingFrame && container) {
            debugLog("[KXPObjectImage] %s: frame %u cannot be shown", m_model->name().c_str(), index);
        }
        m_reportedMissingFrame = true;
        return;
    }
    CCObject* item = nullptr;
    CCARRAY_FOREACH(getChildren(), item) {
        if (CCSprite* sprite = ccNodeAs<CCSprite>(item)) {
            sprite->setDisplayFrame(frame);
        }
    }
}
