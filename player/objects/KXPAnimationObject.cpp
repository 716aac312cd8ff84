#include "player/objects/KXPAnimationObject.h"

#include "model/classes/KXModelAnimation.h"
#include "player/objects/KXPObject.h"

KXPAnimationObject::KXPAnimationObject(const std::shared_ptr<KXModelAnimation>& model, KXPObject* /*owner*/,
                                       bool /*applySpawner*/)
    : m_model(model) {}

KXPAnimationObject::~KXPAnimationObject() = default;

int KXPAnimationObject::fieldZOrder() {
    return KXPObject::fieldZOrderOf(this);
}

void KXPAnimationObject::restart() {}
