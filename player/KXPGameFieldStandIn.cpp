#include "player/KXPGameFieldStandIn.h"

#include "model/classes/KXModelQueries.h"
#include "model/classes/KXModelScreenScene.h"
#include "player/KXPScreenUi.h"
#include "player/KXPScreensController.h"

using namespace cocos2d;

CCScene* KXPGameFieldStandIn::createScene() {
    KXPGameFieldStandIn* field = new KXPGameFieldStandIn();
    if (!field->init()) {
        delete field;
        return nullptr;
    }
    field->autorelease();
    CCScene* scene = CCScene::create();
    field->setTag(0);
    scene->addChild(field);
    return scene;
}

std::shared_ptr<KXModelScreen> KXPGameFieldStandIn::modelForKey(const std::string& key) {
    for (const std::shared_ptr<KXModelScreenScene>& scene : getModels<KXModelScreenScene>()) {
        if (scene->key() == key) {
            return scene;
        }
    }
    return nullptr;
}

bool KXPGameFieldStandIn::init() {
    if (!buildFromModel(KXPScreensController::shared()->currentSceneKey(), true) || !KXPScreen::init()) {
        return false;
    }
    scheduleUpdate();
    refreshUiLayer();
    return true;
}

void KXPGameFieldStandIn::refreshUiLayer() {
    if (m_uiLayer != nullptr) {
        m_uiLayer->removeFromParent();
        m_uiLayer = nullptr;
    }
    if (KXPScreensController::shared()->currentUiKey().empty()) {
        return;
    }
    m_uiLayer = KXPScreenUi::create();
    if (m_uiLayer != nullptr) {
        addChild(m_uiLayer, kUiLayerZOrder);
        m_uiLayer->update(0.0f);
    }
}

void KXPGameFieldStandIn::resumeAfterOverlay() {
    setControlsVisible(true);
    animationStateChanged();
    playScreenMusic();
}
