#pragma once

// Drawing in the object layer's space from inside a node's draw: effects keep their geometry in
// the layer's space (light fans, trail histories), while visiting has already applied the
// transforms of the node and its parents.

#include "cocos2d.h"

// Multiplies the current model-view matrix by the inverse of the transform from `layer` down to
// `node` (the node's own and those of its parents below the layer), so that what follows is drawn
// in the layer's space, and gives the node's position in that space. Without the layer above the
// node only the node's own transform is undone (its parent's space, its plain position). False,
// with the matrix unchanged, when the transform cannot be undone (a scale of 0).
bool undoTransformToLayer(cocos2d::CCNode* node, cocos2d::CCNode* layer, cocos2d::CCPoint* position);
