#include "nodes/CCScene.h"

#include "director/CCDirector.h"

NS_CC_BEGIN

CCScene::CCScene() {
    m_bIgnoreAnchorPointForPosition = true;
    setAnchorPoint(CCPoint(0.5f, 0.5f));
}

CCScene* CCScene::create() {
    CCScene* scene = new CCScene();
    if (scene->init()) {
        scene->autorelease();
        return scene;
    }
    delete scene;
    return nullptr;
}

bool CCScene::init() {
    setContentSize(CCDirector::sharedDirector()->getWinSize());
    return true;
}

NS_CC_END
