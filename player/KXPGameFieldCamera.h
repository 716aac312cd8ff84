#pragma once

// The node that scrolls the game field: every game object hangs below it. So far only the node
// itself, which objects recognise on their way up; following the characters, the frame edges
// and the step the level streaming measures come with the game field.

#include "cocos2d.h"

class KXPGameFieldCamera : public cocos2d::CCNode {
public:
    // Initialised and autoreleased; null when the node cannot be initialised.
    static KXPGameFieldCamera* create();
};
