#include "player/app/KXPGameSceneFactory.h"

#include "player/field/KXPScreenScene.h"

cocos2d::CCScene* createGameScene() {
    return KXPScreenScene::createScene();
}
