// The player's node kinds (cocos2d::ccNodeAs): one bit for each class that code run every frame
// asks a node about. A class declares its bit with CC_NODE_KIND and adds it in its constructor,
// so derived classes carry it too.
#pragma once

#include "cocos2d.h"

enum : unsigned int {
    kKXPNodeObject = cocos2d::kCCNodeKindFirstGameBit << 0,
    kKXPNodeObjectAsset = cocos2d::kCCNodeKindFirstGameBit << 1,
    kKXPNodeObjectImage = cocos2d::kCCNodeKindFirstGameBit << 2,
    kKXPNodeAnimationObject = cocos2d::kCCNodeKindFirstGameBit << 3,
    kKXPNodeGameFieldCamera = cocos2d::kCCNodeKindFirstGameBit << 4,
    kKXPNodeObjectParticles = cocos2d::kCCNodeKindFirstGameBit << 5,
};
