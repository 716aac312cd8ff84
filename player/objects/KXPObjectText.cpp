#include "player/objects/KXPObjectText.h"

#include "model/KXModelController.h"
#include "model/classes/KXBaseModelObjectLabel.h"
#include "player/objects/KXPLabelSetup.h"
#include "player/objects/KXPScoreText.h"

#include <algorithm>
#include <cstring>
#include <string>

using namespace cocos2d;

KXPObjectText* KXPObjectText::create(const std::shared_ptr<KXBaseModelObjectLabel>& model) {
    if (!model) {
        return nullptr;
    }
    KXPObjectText* text = new KXPObjectText(model);
    text->autorelease();
    return text;
}

KXPObjectText::KXPObjectText(const std::shared_ptr<KXBaseModelObjectLabel>& model)
    : KXPObject(model), m_labelModel(model) {
    setType(kTypeText);
    if (!model) {
        return;
    }
    if (CCLabelBMFont* label = KXPLabelSetup::createLabel(*model)) {
        addChild(label, model->zDepth(), kLabelTag);
        label->release();
    }
}

CCLabelBMFont* KXPObjectText::label() const {
    return dynamic_cast<CCLabelBMFont*>(getChildByTag(kLabelTag));
}

void KXPObjectText::restoreInitialState() {
    m_clock = 0.0f;
}

void KXPObjectText::setAnimationKey(int key) {
    m_animationKey = key;
}

void KXPObjectText::update(float dt) {
    m_clock += dt;
    if (!m_labelModel) {
        return;
    }
    const KXBaseModelObjectLabel& model = *m_labelModel;

    const float autohide = model.autohide();
    if (autohide > 0.0f && isVisible() && !m_faded && m_clock >= autohide) {
        CCObject* item = nullptr;
        CCARRAY_FOREACH(getChildren(), item) {
            static_cast<CCNode*>(item)->runAction(
                CCRepeat::create(CCFadeTo::create(kAutohideFadeSeconds, 0), 1));
        }
        m_faded = true;
    }

    CCLabelBMFont* text = label();
    if (text == nullptr) {
        return;
    }
    text->setRotation(model.animatedRotation(m_clock, m_animationKey));
    const CCPoint scale = model.animatedScale(m_clock, m_animationKey);
    text->setScaleX(scale.x);
    text->setScaleY(scale.y);
    text->setPosition(model.stickToEdge() ? model.screenAdjustedPosition(m_clock, m_animationKey)
                                          : model.animatedPosition(m_clock, m_animationKey));

    if (!m_faded) {
        const float opacity = std::min(
            1.0f, std::max(0.0f, model.animatedOpacity(m_clock, m_animationKey) * getOpacityFactor()));
        text->setOpacity(static_cast<GLubyte>(opacity * 255.0f));
    }

    const std::string shown = currentText();
    if (!shown.empty() && std::strcmp(text->getString(), shown.c_str()) != 0) {
        text->setString(shown.c_str());
    }
}

std::string KXPObjectText::currentText() const {
    const std::string& action = m_labelModel->action();
    if (action == KXPLabelSetup::kScoreText) {
        return KXPScoreText::text(*m_labelModel);
    }
    if (action == KXPLabelSetup::kLoadingCounter) {
        return std::to_string(KXModelController::shared()->loadingProgress());
    }
    return std::string();
}
