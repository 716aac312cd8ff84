#pragma once

#include "model/classes/KXModelObjectAsset.h"

#include <memory>
#include <string>
#include <vector>

class KXAttributeParticlesEmitters;
class KXModelObjectParticlesEmitter;

// A particle effect: its emitter children, gathered in child order, and a small shape.
class KXBaseModelObjectParticles : public KXModelObjectAsset {
public:
    explicit KXBaseModelObjectParticles(const std::string& name);
    // The emitter list starts empty and fills as the copy's children are added; the copy gets
    // a polygon of its own.
    KXBaseModelObjectParticles(const KXBaseModelObjectParticles& source);

    // Keep the emitter list in step with the children (exact emitter class only).
    void childAdded(const std::shared_ptr<KXModel>& child) override;
    void childRemoved(const std::shared_ptr<KXModel>& child) override;
    void allChildrenRemoved() override;

    std::shared_ptr<KXModelPolygon> collisionShape() const override;
    cocos2d::CCSize contentSize(float time) const override;

    const std::vector<std::shared_ptr<KXModelObjectParticlesEmitter>>& emitters() const { return m_emitters; }

private:
    std::vector<std::shared_ptr<KXModelObjectParticlesEmitter>> m_emitters;
    KXAttributeParticlesEmitters* m_emittersPort = nullptr;
    std::shared_ptr<KXModelPolygon> m_shape;
};
