// The root of a displayed tree: window-sized, positioned by its lower-left corner.
#pragma once

#include "nodes/CCNode.h"

NS_CC_BEGIN

class CCScene : public CCNode {
public:
    CCScene();
    static CCScene* create();
    bool init() override;
};

NS_CC_END
