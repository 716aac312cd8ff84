#include "player/KXPScreen.h"

#include "model/classes/KXModelObjectButton.h"
#include "player/objects/KXPObjectButton.h"
#include "player/objects/KXPObjectImage.h"
#include "player/objects/KXPObjectText.h"

using namespace cocos2d;

namespace {

// Every button of the screen, in child order: the children of the tag-100 menus of the controls
// node.
std::vector<KXPObjectButton*> allButtons(CCNode* controls) {
    std::vector<KXPObjectButton*> buttons;
    CCObject* item = nullptr;
    CCARRAY_FOREACH(controls->getChildren(), item) {
        CCNode* menu = static_cast<CCNode*>(item);
        if (menu->getTag() != KXPScreen::kButtonMenuTag) {
            continue;
        }
        CCObject* inner = nullptr;
        CCARRAY_FOREACH(menu->getChildren(), inner) {
            if (KXPObjectButton* button = dynamic_cast<KXPObjectButton*>(inner)) {
                buttons.push_back(button);
            }
        }
    }
    return buttons;
}

} // namespace

KXPScreen::KXPScreen() : m_controlsNode(new CCNode()) {
    m_controlsNode->init();
}

KXPScreen::~KXPScreen() {
    m_controlsNode->release();
}

KXPScreen* KXPScreen::runningScreen() {
    CCScene* scene = CCDirector::sharedDirector()->getRunningScene();
    if (scene == nullptr || scene->getChildrenCount() == 0) {
        return nullptr;
    }
    return dynamic_cast<KXPScreen*>(static_cast<CCObject*>(scene->getChildren()->objectAtIndex(0)));
}

std::vector<KXPObjectButton*> KXPScreen::buttonsWithAction(const std::string& action) const {
    std::vector<KXPObjectButton*> matching;
    for (KXPObjectButton* button : allButtons(m_controlsNode)) {
        const auto model = button->getModel();
        if (model && model->action() == action) {
            matching.push_back(button);
        }
    }
    return matching;
}

KXPObjectButton* KXPScreen::buttonWithAction(const std::string& action) const {
    const std::vector<KXPObjectButton*> matching = buttonsWithAction(action);
    return matching.empty() ? nullptr : matching.front();
}

void KXPScreen::bindButtonAction(const std::string& action, CCObject* target, SEL_MenuHandler handler) {
    for (KXPObjectButton* button : buttonsWithAction(action)) {
        button->setMenuTarget(target, handler);
    }
}

void KXPScreen::bindInputButton(const std::string& action, CCObject* listener, SEL_MenuHandler press,
                                SEL_MenuHandler release) {
    for (KXPObjectButton* button : buttonsWithAction(action)) {
        button->setActionHandler(listener, press, release);
    }
}

void KXPScreen::setAnimationState(int state) {
    m_animationState = state;
    CCObject* item = nullptr;
    CCARRAY_FOREACH(m_controlsNode->getChildren(), item) {
        if (KXPObjectImage* image = dynamic_cast<KXPObjectImage*>(item)) {
            image->setAnimationKey(state);
        } else if (KXPObjectText* text = dynamic_cast<KXPObjectText*>(item)) {
            text->setAnimationKey(state);
            text->update(0.0f);
        }
    }
    for (KXPObjectButton* button : allButtons(m_controlsNode)) {
        button->setAnimationKey(state);
        button->update(0.0f);
    }
}
