#include "player/KXPGameSceneFactory.h"

#include "player/KXPScreenScene.h"

cocos2d::CCScene* createGameScene() {
    return KXPScreenScene::createScene();
}
