#include <GL/glew.h>

#include "player/objects/effects/KXPObjectAssetLight.h"

#include "kazmath/GL/matrix.h"
#include "model/classes/KXModelObjectLight.h"
#include "player/objects/KXPLayerSpace.h"
#include "player/objects/effects/KXPEffectTexture.h"
#include "player/store/KXPSettingsController.h"

#include <cmath>
#include <string>

using namespace cocos2d;

namespace {
constexpr const char* kLightMapFile = "/fx/lightMap.png";
} // namespace

KXPObjectAssetLight::KXPObjectAssetLight(const std::shared_ptr<KXModelObjectLight>& model)
    : KXPObjectAsset(model) {
    m_collisionType = kCollisionNone;
    m_linearMovement = true;
    setType(kTypeEffect);
    m_texture = retainEffectTexture(nullptr, kLightMapFile, "KXPObjectAssetLight", "light");
}

KXPObjectAssetLight::~KXPObjectAssetLight() {
    if (m_texture != nullptr) {
        m_texture->release();
    }
}

std::shared_ptr<KXModelObjectLight> KXPObjectAssetLight::lightModel() const {
    // A removed light keeps its model for anyone still asking for it, but is out for good.
    if (m_out) {
        return nullptr;
    }
    return std::static_pointer_cast<KXModelObjectLight>(m_model);
}

void KXPObjectAssetLight::addToWorld(b2World* world, bool skipStill) {
    (void)skipStill;
    m_world = world;
}

void KXPObjectAssetLight::setState(int32_t state) {
    const int32_t previous = m_state;
    m_state = state;
    if (previous != state) {
        // As KXPObject::setState tells it (a light has no body: no path catches it anyway).
        noteChangeToParentWatch();
    }
    if (state == kStateRemoved) {
        m_out = true;
        m_fan.clear();
    }
}

bool KXPObjectAssetLight::castsShadows() const {
    const std::shared_ptr<KXModelObjectLight> model = lightModel();
    return model && model->castShadow() && !KXPSettingsController::shared()->isSlowLoading();
}

b2Vec2 KXPObjectAssetLight::lightCentre() {
    const CCPoint position = positionInObjectLayer();
    return b2Vec2(position.x * kMetresPerPoint, position.y * kMetresPerPoint);
}

CCRect KXPObjectAssetLight::boundingRect() {
    const std::shared_ptr<KXModelObjectLight> model = lightModel();
    if (!model) {
        return CCRectZero;
    }
    const float half = model->radius() * KXPLightFan::kPointsPerMetre;
    const CCPoint position = positionInObjectLayer();
    return CCRect(position.x - half, position.y - half, half * 2.0f, half * 2.0f);
}

void KXPObjectAssetLight::update(float dt) {
    if (!lightModel()) {
        return;
    }
    KXPObject::update(dt);
    m_fan.clear();
    const std::shared_ptr<KXModelObjectLight> model = lightModel();
    if (!model || m_world == nullptr || !isVisible()) {
        return;
    }
    m_fan.build(m_world, lightCentre(), model->radius(), castsShadows());
}

void KXPObjectAssetLight::draw() {
    const std::shared_ptr<KXModelObjectLight> model = lightModel();
    if (!model || m_texture == nullptr || !m_shader.isReady()) {
        return;
    }
    const int count = m_fan.prepareForDrawing(model->radius());
    if (count == 0) {
        return;
    }
    kmGLPushMatrix();
    if (getParent() != nullptr) {
        // The fan is drawn unrotated and unscaled around the light centre, in the layer's space
        // (also when a turning carrier holds the light).
        CCPoint centre;
        if (!undoTransformToLayer(this, m_layer, &centre)) {
            kmGLPopMatrix();
            return;
        }
        kmGLTranslatef(centre.x, centre.y, 0.0f);
    }
    const ccColor4F colour = model->color();
    const float alpha = colour.a / 255.0f;
    const float factor = alpha * getOpacityFactor();
    const ccColor4F tint{colour.r / 255.0f * factor, colour.g / 255.0f * factor, colour.b / 255.0f * factor,
                         factor};
    m_shader.draw(GL_TRIANGLE_FAN, m_fan.vertices(), m_fan.texCoords(), count, m_texture, tint);
    kmGLPopMatrix();
}
