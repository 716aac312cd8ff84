#include <GL/glew.h>

#include "player/objects/effects/KXPObjectAssetTrail.h"

#include "kazmath/GL/matrix.h"
#include "model/KXNumeric.h"
#include "model/classes/KXModelObjectTrail.h"
#include "player/base/KXPNoise.h"
#include "player/objects/KXPLayerSpace.h"
#include "player/objects/effects/KXPEffectTexture.h"

#include <string>

using namespace cocos2d;

namespace {
constexpr const char* kTrailMapFile = "/fx/trailMap.png";
// Model wave values are given in fiftieths.
constexpr double kWaveUnits = 50.0;
constexpr float kExtent = 100.0f;
} // namespace

KXPObjectAssetTrail::KXPObjectAssetTrail(const std::shared_ptr<KXModelObjectTrail>& model)
    : KXPObjectAsset(model),
      m_phase(static_cast<float>(kx::random15()) / static_cast<float>(kx::kRandom15Max) * 100.0f) {
    m_collisionType = kCollisionNone;
    m_linearMovement = true;
    setType(kTypeEffect);
    m_texture = retainEffectTexture(model ? model->texture() : nullptr, kTrailMapFile, "KXPObjectAssetTrail",
                                    "trail");
}

KXPObjectAssetTrail::~KXPObjectAssetTrail() {
    if (m_texture != nullptr) {
        m_texture->release();
    }
}

std::shared_ptr<KXModelObjectTrail> KXPObjectAssetTrail::trailModel() const {
    return std::static_pointer_cast<KXModelObjectTrail>(m_model);
}

CCRect KXPObjectAssetTrail::boundingRect() {
    const CCPoint position = positionInObjectLayer();
    return CCRect(position.x - kExtent * 0.5f, position.y - kExtent * 0.5f, kExtent, kExtent);
}

void KXPObjectAssetTrail::addToWorld(b2World* world, bool skipStill) {
    (void)world;
    (void)skipStill;
    m_path.fill(positionInObjectLayer());
}

CCPoint KXPObjectAssetTrail::headPosition() {
    CCNode* parent = getParent();
    const CCPoint world = parent != nullptr ? parent->convertToWorldSpace(getPosition()) : getPosition();
    return world - m_layer->getPosition();
}

void KXPObjectAssetTrail::update(float dt) {
    KXPObject::update(dt);
    const std::shared_ptr<KXModelObjectTrail> model = trailModel();
    if (m_layer == nullptr || !model) {
        return;
    }
    m_time += dt * 0.5f;
    const double waveLength = model->waveLength();
    const double waveHeight = model->waveHeight();
    m_path.insert(model->length(), [&] {
        return static_cast<float>(noise1(waveLength / kWaveUnits * (m_phase + m_time)) * waveHeight /
                                  kWaveUnits);
    });
    m_path.drift(model->speed(), getRotation());
    m_path.setHead(headPosition());
    if (m_attached) {
        if (KXPObject* parent = ccNodeAs<KXPObject>(getParent())) {
            setState(parent->getState());
        }
    }
}

void KXPObjectAssetTrail::draw() {
    const std::shared_ptr<KXModelObjectTrail> model = trailModel();
    if (m_state == kStateDead || m_state == kStateRemoved || m_texture == nullptr || !model ||
        !m_shader.isReady()) {
        return;
    }
    ccVertex2F vertices[KXPTrailPath::kStripCapacity];
    ccTex2F texCoords[KXPTrailPath::kStripCapacity];
    const int count =
        m_path.buildStrip(model->length(), model->startWidth(), model->endWidth(), vertices, texCoords);
    if (count == 0) {
        return;
    }
    kmGLPushMatrix();
    // The history is kept in the layer's space.
    CCNode* parent = getParent();
    if (m_layer == nullptr || parent == nullptr || parent == m_layer) {
        // Straight in the layer: only the rotation is undone, so the ribbon takes the node's
        // scale about its head.
        kmGLRotatef(model->animatedRotation(0.0f, 0), 0.0f, 0.0f, 1.0f);
        const CCPoint position = positionInObjectLayer();
        kmGLTranslatef(-position.x, -position.y, 0.0f);
    } else {
        // Carried by another object: the carriers' transforms are undone too, so the ribbon
        // stays where its history lies whatever turns or scales the carrier.
        CCPoint position;
        if (!undoTransformToLayer(this, m_layer, &position)) {
            kmGLPopMatrix();
            return;
        }
    }
    const float alpha = model->animatedOpacity(0.0f, 0) * getOpacityFactor();
    m_shader.draw(GL_TRIANGLE_STRIP, vertices, texCoords, count, m_texture,
                  ccColor4F{alpha, alpha, alpha, alpha});
    kmGLPopMatrix();
}
