#include "nodes/CCNodeRGBA.h"

NS_CC_BEGIN

CCNodeRGBA* CCNodeRGBA::create() {
    CCNodeRGBA* node = new CCNodeRGBA();
    if (node->init()) {
        node->autorelease();
        return node;
    }
    delete node;
    return nullptr;
}

NS_CC_END
