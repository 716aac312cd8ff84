#pragma once

// Where the screens controller gets the engine scene of a game scene: an engine scene whose child
// with tag 0 is the game-field layer (a KXPScreen that is a KXPGameField), built for the
// controller's current scene key and UI key; null when it cannot be built.

namespace cocos2d {
class CCScene;
}

cocos2d::CCScene* createGameScene();
