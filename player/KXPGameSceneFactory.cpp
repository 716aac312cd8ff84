#include "player/KXPGameSceneFactory.h"

#include "player/KXPGameFieldStandIn.h"

// The game field proper takes over here once it exists.
cocos2d::CCScene* createGameScene() {
    return KXPGameFieldStandIn::createScene();
}
