#include "player/objects/KXPLayerSpace.h"

#include "kazmath/GL/matrix.h"
#include "kazmath/TransformUtils.h"

using namespace cocos2d;

bool undoTransformToLayer(CCNode* node, CCNode* layer, CCPoint* position) {
    CCAffineTransform parents = CCAffineTransformMakeIdentity();
    CCNode* above = node->getParent();
    while (above != nullptr && above != layer) {
        parents = CCAffineTransformConcat(parents, above->nodeToParentTransform());
        above = above->getParent();
    }
    if (above == nullptr || layer == nullptr) {
        parents = CCAffineTransformMakeIdentity();
    }
    const CCAffineTransform toSpace = CCAffineTransformConcat(node->nodeToParentTransform(), parents);
    if (toSpace.a * toSpace.d - toSpace.b * toSpace.c == 0.0f) {
        return false;
    }
    const CCAffineTransform inverse = CCAffineTransformInvert(toSpace);
    kmMat4 undo;
    CGAffineToGL(&inverse, undo.mat);
    kmGLMultMatrix(&undo);
    *position = CCPointApplyAffineTransform(node->getPosition(), parents);
    return true;
}
