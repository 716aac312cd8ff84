#include "player/objects/KXPObjectLoadingBar.h"

#include "model/KXModelController.h"
#include "model/classes/KXBaseModelObject.h"

#include <algorithm>

using namespace cocos2d;

KXPObjectLoadingBar* KXPObjectLoadingBar::create(const std::shared_ptr<KXBaseModelObject>& model) {
    KXPObjectLoadingBar* bar = new KXPObjectLoadingBar(model);
    bar->autorelease();
    if (model) {
        bar->setPosition(model->animatedPosition(0.0f, 0));
        bar->setRotation(model->animatedRotation(0.0f, 0));
        const CCPoint scale = model->animatedScale(0.0f, 0);
        bar->setScaleX(scale.x);
        bar->setScaleY(scale.y);
        bar->setUserData(model.get());
        bar->setContentSize(model->contentSize(0.0f));
    }
    return bar;
}

KXPObjectLoadingBar::KXPObjectLoadingBar(const std::shared_ptr<KXBaseModelObject>& model) : m_model(model) {}

KXPObjectLoadingBar::~KXPObjectLoadingBar() = default;

void KXPObjectLoadingBar::update(float dt) {
    if (!m_model) {
        return;
    }
    const KXBaseModelObject& model = *m_model;
    m_elapsed += dt;
    setRotation(model.animatedRotation(m_elapsed, m_animationKey));
    const CCPoint scale = model.animatedScale(m_elapsed, m_animationKey);
    setScaleX(scale.x);
    setScaleY(scale.y);
    setPosition(model.animatedPosition(m_elapsed, m_animationKey));
    const float opacity = std::min(1.0f, std::max(0.0f, model.animatedOpacity(m_elapsed, m_animationKey)));
    const GLubyte byte = static_cast<GLubyte>(opacity * 255.0f);
    CCObject* item = nullptr;
    CCARRAY_FOREACH(getChildren(), item) {
        if (CCRGBAProtocol* child = static_cast<CCNode*>(item)->getRGBAProtocol()) {
            child->setOpacity(byte);
        }
    }
}

void KXPObjectLoadingBar::draw() {
    update(0.0f);
}

float KXPObjectLoadingBar::loadedShare() {
    const float progress = static_cast<float>(KXModelController::shared()->loadingProgress()) / 100.0f;
    return std::min(1.0f, std::max(0.0f, progress));
}

void KXPObjectLoadingBar::visit() {
    CCNode::visit();
    // A hidden bar is not drawn either.
    if (!isVisible()) {
        return;
    }
    const CCPoint& position = getPosition();
    const CCPoint origin(position.x - kBarWidth * 0.5f, position.y - kBarHeight * 0.5f);
    const ccColor4F shade = {kBarShade, kBarShade, kBarShade, kBarShade};
    ccDrawColor4F(shade.r, shade.g, shade.b, shade.a);
    ccDrawRect(origin, CCPoint(position.x + kBarWidth * 0.5f, position.y + kBarHeight * 0.5f));
    ccDrawSolidRect(origin, CCPoint(origin.x + kBarWidth * loadedShare(), position.y + kBarHeight * 0.5f),
                    shade);
}

void KXPObjectLoadingBar::resetTime() {
    m_elapsed = 0.0f;
}

void KXPObjectLoadingBar::setAnimationKey(int key) {
    m_animationKey = key;
}
