#include <GL/glew.h>

#include "player/objects/effects/KXPObjectAssetFlag.h"

#include "model/KXNumeric.h"
#include "model/classes/KXModelObjectFlag.h"
#include "player/objects/effects/KXPEffectTexture.h"
#include "player/objects/effects/KXPFlagStrip.h"

#include <string>

using namespace cocos2d;

namespace {
constexpr const char* kFlagMapFile = "/fx/flagMap.png";
constexpr float kExtent = 100.0f;
} // namespace

KXPObjectAssetFlag::KXPObjectAssetFlag(const std::shared_ptr<KXModelObjectFlag>& model)
    : KXPObjectAsset(model), m_phase(kx::randomSignedUnit()) {
    m_collisionType = kCollisionNone;
    m_linearMovement = true;
    setType(kTypeEffect);
    m_texture =
        retainEffectTexture(model ? model->texture() : nullptr, kFlagMapFile, "KXPObjectAssetFlag", "flag");
}

KXPObjectAssetFlag::~KXPObjectAssetFlag() {
    if (m_texture != nullptr) {
        m_texture->release();
    }
}

std::shared_ptr<KXModelObjectFlag> KXPObjectAssetFlag::flagModel() const {
    return std::static_pointer_cast<KXModelObjectFlag>(m_model);
}

CCRect KXPObjectAssetFlag::boundingRect() {
    const CCPoint position = positionInObjectLayer();
    return CCRect(position.x - kExtent * 0.5f, position.y - kExtent * 0.5f, kExtent, kExtent);
}

void KXPObjectAssetFlag::update(float dt) {
    KXPObjectAsset::update(dt);
    if (const std::shared_ptr<KXModelObjectFlag> model = flagModel()) {
        m_phase = static_cast<float>(KXPFlagStrip::advance(m_phase, model->speed(), dt));
    }
}

void KXPObjectAssetFlag::draw() {
    const std::shared_ptr<KXModelObjectFlag> model = flagModel();
    if (m_texture == nullptr || !model || !m_shader.isReady()) {
        return;
    }
    KXPFlagShape shape;
    shape.startWidth = model->startWidth();
    shape.endWidth = model->endWidth();
    shape.length = model->length();
    shape.waveHeight = model->waveHeight();
    shape.waveLength = model->waveLength();
    ccVertex2F vertices[KXPFlagStrip::kVertices];
    ccTex2F texCoords[KXPFlagStrip::kVertices];
    KXPFlagStrip::build(shape, m_phase, vertices, texCoords);
    const float alpha = model->animatedOpacity(0.0f, 0) * getOpacityFactor();
    m_shader.draw(GL_TRIANGLE_STRIP, vertices, texCoords, KXPFlagStrip::kVertices, m_texture,
                  ccColor4F{alpha, alpha, alpha, alpha});
}
