#include "player/field/KXPSpawnPlacement.h"

#include "player/base/KXPWrapping.h"
#include "player/objects/assets/KXPObjectAsset.h"

#include <cmath>

using namespace cocos2d;

void KXPSpawnPlacement::place(CCNode* layer, b2World* world, KXPObjectAsset* object,
                              KXPObjectAsset* spawner) {
    if (layer == nullptr || object == nullptr) {
        return;
    }
    int zOrder = kUnspawnedZOrder;
    if (spawner != nullptr) {
        const CCAffineTransform inLayer = CCAffineTransformConcat(
            spawner->nodeToWorldTransform(), CCAffineTransformInvert(layer->nodeToWorldTransform()));
        // Rotation, then scale; a mirrored transform keeps its mirror in the y scale (a turn by
        // half a circle makes up the rest).
        const float scaleX = std::sqrt(inLayer.a * inLayer.a + inLayer.b * inLayer.b);
        const float determinant = inLayer.a * inLayer.d - inLayer.b * inLayer.c;
        object->setPosition(ccp(inLayer.tx, inLayer.ty));
        object->setRotation(-std::atan2(inLayer.b, inLayer.a) * KXPObjectAsset::kDegreesPerRadian);
        object->setScaleX(scaleX);
        object->setScaleY(scaleX > 0.0f ? determinant / scaleX : 0.0f);
        object->transformChanged();
        zOrder = object->getZOrder();
        CCNode* parent = spawner->getParent();
        if (parent != nullptr && parent != layer) {
            zOrder = wrappingAdd(zOrder, parent->getZOrder());
        }
    }
    layer->addChild(object, zOrder);
    object->setObjectLayer(layer);
    object->addToWorld(world, true);
}
