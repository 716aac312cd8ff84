#include "model/classes/KXBaseModelObjectParticles.h"

#include "model/classes/KXAttributeBinding.h"
#include "model/classes/KXModelCasts.h"
#include "model/classes/KXModelObjectParticlesEmitter.h"
#include "model/classes/KXOwnPolygon.h"
#include "model/references/KXAttributeParticlesEmitters.h"

#include <algorithm>

namespace {
constexpr const char* kEmitters = "Emitters";
constexpr float kShapeSide = 10.0f;
constexpr float kContentSide = 60.0f;
} // namespace

KXBaseModelObjectParticles::KXBaseModelObjectParticles(const std::string& name)
    : KXModelObjectAsset(name),
      // The port that the emitter models link to; it holds no value.
      m_emittersPort(new KXAttributeParticlesEmitters(kEmitters, this, 0)),
      m_shape(makeOwnBoxPolygon(kShapeSide, kShapeSide)) {}

KXBaseModelObjectParticles::KXBaseModelObjectParticles(const KXBaseModelObjectParticles& source)
    : KXModelObjectAsset(source),
      m_emittersPort(boundAttribute<KXAttributeParticlesEmitters>(*this, kEmitters)),
      m_shape(makeOwnBoxPolygon(kShapeSide, kShapeSide)) {}

void KXBaseModelObjectParticles::childAdded(const std::shared_ptr<KXModel>& child) {
    KXModelObjectAsset::childAdded(child);
    if (std::shared_ptr<KXModelObjectParticlesEmitter> emitter =
            modelCast<KXModelObjectParticlesEmitter>(child)) {
        m_emitters.push_back(emitter);
    }
}

void KXBaseModelObjectParticles::childRemoved(const std::shared_ptr<KXModel>& child) {
    KXModelObjectAsset::childRemoved(child);
    std::shared_ptr<KXModelObjectParticlesEmitter> emitter = modelCast<KXModelObjectParticlesEmitter>(child);
    if (!emitter) {
        return;
    }
    auto found = std::find(m_emitters.begin(), m_emitters.end(), emitter);
    if (found != m_emitters.end()) {
        m_emitters.erase(found);
    }
}

void KXBaseModelObjectParticles::allChildrenRemoved() {
    KXModelObjectAsset::allChildrenRemoved();
    m_emitters.clear();
}

std::shared_ptr<KXModelPolygon> KXBaseModelObjectParticles::collisionShape() const {
    return m_shape;
}

cocos2d::CCSize KXBaseModelObjectParticles::contentSize(float /*time*/) const {
    return cocos2d::CCSize(kContentSide, kContentSide);
}
